#include "framework/text.h"

#include <gtest/gtest.h>

TEST(Text, CompareNoCaseOrdersByLowerCaseThenLength) {
    struct Case {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"abc", "ABC", 0}, {"", "", 0},    {"", "a", -1},     {"a", "", 1},
        {"Z", "a", 1},     {"_", "a", -1}, {"ab", "abc", -1}, {"\xe9", "z", 1},
    };
    for (const Case& c : cases) {
        const int r = CompareNoCase(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
    }
}

TEST(Text, TrimRemovesOnlyTheWhiteSpaceSet) {
    EXPECT_EQ(TrimWhite(" \t\r\n\v\fx y\f\v\n\r\t "), "x y");
    EXPECT_EQ(TrimWhite("\xa0x"), "\xa0x");  // a no-break space is not white space here
    EXPECT_EQ(TrimWhite("   "), "");
    EXPECT_EQ(TrimChars("::=>x>=:", ":=>"), "x");
}

TEST(Text, ReplaceAllIsLeftToRightAndNonOverlapping) {
    std::string s = "aaaa";
    EXPECT_EQ(ReplaceAll(s, "aa", "b"), 2u);
    EXPECT_EQ(s, "bb");
    s = "http://http://www.x.com";
    ReplaceAll(s, "http://www.", "");
    EXPECT_EQ(s, "http://x.com");
    s = "abc";
    EXPECT_EQ(ReplaceAll(s, "", "x"), 0u);
    EXPECT_EQ(s, "abc");
}

TEST(Text, FormatTextHandlesLongResults) {
    const std::string big(5000, 'x');
    EXPECT_EQ(FormatText("%s-%d", big.c_str(), 7), big + "-7");
}
