#include "ui/integer_field.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(IntegerField, AcceptsOnlyASignedDecimalBetweenBlanks) {
    struct Case {
        std::string text;
        bool accepted;
        int value;
    } cases[] = {
        {"0", true, 0},
        {"00", true, 0},
        {" \t0\t ", true, 0},
        {"-0", false, 0},
        {"+0", false, 0},
        {"-00", false, 0},
        {"4", true, 4},
        {"  12  ", true, 12},
        {"+7", true, 7},
        {"-5", true, -5},
        {"007", true, 7},
        {"", false, 0},
        {"   ", false, 0},
        {"-", false, 0},
        {"+", false, 0},
        {"- 5", false, 0},
        {"5 5", false, 0},
        {"5x", false, 0},
        {"x5", false, 0},
        {"0x10", false, 0},
        {"1.5", false, 0},
        {"1e3", false, 0},
        {"\n5", false, 0},  // only blanks and tabs are skipped
        {"5\r", false, 0},
        {"++5", false, 0},
        {"\xef\xbc\x95", false, 0},  // a full-width digit is not a digit
        {std::string("5\0", 2), false, 0},
        {"2147483647", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"2147483648", true, INT_MAX},
        {"-2147483649", true, INT_MIN},
        {"99999999999999999999999999", true, INT_MAX},
        {"-99999999999999999999999999", true, INT_MIN},
        // Only the first 31 characters count: what follows them is never seen.
        {"1" + std::string(30, ' ') + "x", true, 1},
        {"1" + std::string(29, ' ') + "x", false, 0},
        {std::string(31, ' ') + "5", false, 0},
        {std::string(40, '9'), true, INT_MAX},
        {std::string(31, '0') + "5", true, 0},
    };
    for (const Case& c : cases) {
        int value = 12345;
        EXPECT_EQ(ParseIntegerField(c.text, value), c.accepted) << "'" << c.text << "'";
        EXPECT_EQ(value, c.accepted ? c.value : 12345) << "'" << c.text << "'";
    }
}

TEST(IntegerField, RefusalMessage) {
    EXPECT_STREQ(INTEGER_FIELD_REFUSED, "Please enter an integer.");
}
