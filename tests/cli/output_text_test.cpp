#include "cli/output_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace {

using namespace std::string_literals;

struct EscapeCase {
    const char* what;
    std::string input;
    std::string expected;
};

// Readable test names: the case's description.
void PrintTo(const EscapeCase& c, std::ostream* os) {
    *os << c.what;
}

class EscapeTsvCellTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeTsvCellTest, HostileBytesCannotBreakTheLineOrTheColumns) {
    const EscapeCase& c = GetParam();
    const std::string escaped = EscapeTsvCell(c.input);
    EXPECT_EQ(escaped, c.expected) << c.what;
    for (const char ch : escaped) {
        const unsigned char u = static_cast<unsigned char>(ch);
        EXPECT_FALSE(u < 0x20 || u == 0x7F) << c.what << ": control byte " << int(u) << " left";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cells, EscapeTsvCellTest,
    ::testing::Values(EscapeCase{"plain text unchanged", "whois.example.net", "whois.example.net"},
                      EscapeCase{"empty", "", ""},
                      EscapeCase{"tab inside a registrar", "Foo\tBar", "Foo\\tBar"},
                      EscapeCase{"CR LF of a WHOIS text", "a\r\nb", "a\\r\\nb"},
                      EscapeCase{"backslash doubled so escapes stay reversible", "a\\tb",
                                 "a\\\\tb"},
                      EscapeCase{"zero byte", "a\0b"s, "a\\x00b"},
                      EscapeCase{"escape and delete", "\x1b[2J\x7f", "\\x1B[2J\\x7F"},
                      EscapeCase{"ANSI letters kept as bytes", "Caf\xe9", "Caf\xe9"}));

struct Utf8Case {
    const char* what;
    std::string input;
    bool valid;
};

// Readable test names: the case's description.
void PrintTo(const Utf8Case& c, std::ostream* os) {
    *os << c.what;
}

class Utf8ValidityTest : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ValidityTest, MalformedSequencesAreNotTakenForUtf8) {
    EXPECT_EQ(IsValidUtf8(GetParam().input), GetParam().valid) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Sequences, Utf8ValidityTest,
                         ::testing::Values(Utf8Case{"ASCII", "abc", true},
                                           Utf8Case{"two bytes", "Caf\xc3\xa9", true},
                                           Utf8Case{"three bytes", "\xe2\x82\xac", true},
                                           Utf8Case{"four bytes", "\xf0\x9f\x98\x80", true},
                                           Utf8Case{"lone Latin-1 byte", "Caf\xe9", false},
                                           Utf8Case{"cut at the end", "\xe2\x82", false},
                                           Utf8Case{"overlong slash", "\xc0\xaf", false},
                                           Utf8Case{"overlong three-byte", "\xe0\x80\xaf", false},
                                           Utf8Case{"surrogate", "\xed\xa0\x80", false},
                                           Utf8Case{"past U+10FFFF", "\xf4\x90\x80\x80", false},
                                           Utf8Case{"continuation alone", "\x80", false}));

struct AnsiCase {
    const char* what;
    std::string input;
    std::string expected;
};

// Readable test names: the case's description.
void PrintTo(const AnsiCase& c, std::ostream* os) {
    *os << c.what;
}

class AnsiToUtf8Test : public ::testing::TestWithParam<AnsiCase> {};

TEST_P(AnsiToUtf8Test, AnsiBytesBecomeTheirCharactersAndUtf8StaysAsItIs) {
    const std::string out = AnsiToUtf8(GetParam().input);
    EXPECT_EQ(out, GetParam().expected) << GetParam().what;
    EXPECT_TRUE(IsValidUtf8(out)) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AnsiToUtf8Test,
    ::testing::Values(
        AnsiCase{"ASCII", "No match for", "No match for"},
        AnsiCase{"Latin-1 e acute", "Caf\xe9", "Caf\xc3\xa9"},
        AnsiCase{"euro sign of Windows-1252", "\x80", "\xe2\x82\xac"},
        AnsiCase{"unassigned 0x81 kept as U+0081", "\x81", "\xc2\x81"},
        AnsiCase{"already UTF-8 is not converted twice", "Caf\xc3\xa9", "Caf\xc3\xa9"},
        AnsiCase{"zero byte kept", "a\0b"s, "a\0b"s},
        AnsiCase{"mixed: one bad byte converts all", "\xc3\xa9\xe9", "\xc3\x83\xc2\xa9\xc3\xa9"}));

struct DateCase {
    const char* what;
    CDateTime value;
    std::string date;
    std::string dateTime;
};

// Readable test names: the case's description.
void PrintTo(const DateCase& c, std::ostream* os) {
    *os << c.what;
}

class IsoDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(IsoDateTest, OnlyValidDatesInRangeAreWritten) {
    const DateCase& c = GetParam();
    EXPECT_EQ(FormatIsoDate(c.value), c.date) << c.what;
    EXPECT_EQ(FormatIsoDateTime(c.value), c.dateTime) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Values, IsoDateTest,
    ::testing::Values(
        DateCase{"a creation date", CDateTime::FromDate(2027, 8, 14), "2027-08-14",
                 "2027-08-14T00:00:00"},
        DateCase{"a checked-on time", CDateTime::FromDateTime(2026, 12, 6, 21, 5, 9), "2026-12-06",
                 "2026-12-06T21:05:09"},
        DateCase{"before the day-count epoch", CDateTime::FromDateTime(1899, 12, 29, 6, 0, 0),
                 "1899-12-29", "1899-12-29T06:00:00"},
        DateCase{"null", CDateTime::Null(), "", ""},
        DateCase{"invalid", CDateTime(40000.0, CDateTime::invalid), "", ""},
        DateCase{"valid status with NaN days from a damaged file",
                 CDateTime(std::numeric_limits<double>::quiet_NaN(), CDateTime::valid), "", ""},
        DateCase{"valid status with a huge day count", CDateTime(1e300, CDateTime::valid), "", ""},
        DateCase{"valid status with an unknown status value",
                 CDateTime(40000.0, static_cast<CDateTime::Status>(7)), "", ""}));

}  // namespace
