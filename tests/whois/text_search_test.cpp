#include "whois/text_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// FindText and both scans behind it must give what the plain search gives.
void ExpectSameAsFind(const std::string& hay, const std::string& needle) {
    const size_t expected = hay.find(needle);
    EXPECT_EQ(FindText(hay, needle), expected) << hay.size() << " / " << needle;
    if (needle.size() >= 2 && hay.size() >= needle.size()) {
        EXPECT_EQ(text_search_detail::FindEightAtATime(hay, needle), expected) << needle;
        EXPECT_EQ(text_search_detail::FindSixteenAtATime(hay, needle), expected) << needle;
    }
}

}  // namespace

TEST(TextSearch, FindsTheFirstOccurrenceAtEveryPosition) {
    // Long enough for the eight-at-a-time scan, with the needle at each start and end position,
    // so a match in the tail, across a word boundary or at the very end is not missed.
    const std::string needle = "no match for";
    for (size_t length : {12u, 20u, 64u, 65u, 71u, 72u, 79u, 80u, 200u}) {
        for (size_t pos = 0; pos + needle.size() <= length; ++pos) {
            std::string hay(length, 'n');
            hay.replace(pos, needle.size(), needle);
            SCOPED_TRACE(pos);
            ExpectSameAsFind(hay, needle);
        }
    }
}

TEST(TextSearch, CandidatesThatOnlyShareFirstAndLastByteAreNotMatches) {
    struct Case {
        std::string hay;
        std::string needle;
    } cases[] = {
        {std::string(100, 'a'), "ab"},
        {std::string(100, 'a') + "ab", "ab"},
        {std::string(100, 'a'), "aa"},
        {std::string(50, 'x') + "nxxxxxxxxxxr" + std::string(50, 'x') + "no match for",
         "no match for"},
        {std::string(300, '\0') + std::string("\0\x01\0", 3), std::string("\0\x01\0", 3)},
        {std::string(300, '\xff') + "\xfe\xff", "\xfe\xff"},
        {std::string(100, 'q'), ""},
        {std::string(100, 'q'), std::string(101, 'q')},
        {"short", "or"},
    };
    for (const Case& c : cases) ExpectSameAsFind(c.hay, c.needle);
}

TEST(TextSearch, AgreesWithThePlainSearchOnRandomText) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> letter(0, 3);
    for (int round = 0; round < 2000; ++round) {
        std::string hay(64 + rng() % 300, ' ');
        for (char& c : hay) c = static_cast<char>('a' + letter(rng));
        std::string needle(2 + rng() % 6, ' ');
        for (char& c : needle) c = static_cast<char>('a' + letter(rng));
        ExpectSameAsFind(hay, needle);
    }
}
