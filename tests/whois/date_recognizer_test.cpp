#include "whois/date_recognizer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "framework/text.h"

namespace {

// "yyyy-mm-dd" of the recognised date, or "rejected".
std::string Read(std::string_view answer, std::string_view text) {
    CDateTime dt;
    if (!RecognizeDate(answer, text, dt))
        return "rejected";
    int y = 0, m = 0, d = 0, hh = 0, mi = 0, ss = 0;
    if (!dt.GetDateTime(y, m, d, hh, mi, ss))
        return "unreadable value";
    if (hh != 0 || mi != 0 || ss != 0)
        return "not at midnight";
    return FormatText("%04d-%02d-%02d", y, m, d);
}

struct DateCase {
    const char* text;
    const char* expected;
};

void ExpectAll(std::string_view answer, std::initializer_list<DateCase> cases) {
    for (const DateCase& c : cases)
        EXPECT_EQ(Read(answer, c.text), c.expected) << "text: \"" << c.text << "\"";
}

const char kPlainAnswer[] = "Domain Name: EXAMPLE.COM\r\n";
const char kIdrAnswer[] = "Registrar: Internet Domain Registrars\n";
const char kTrAnswer[] = "Registrar: TotalRegistrations\n";
const char kDpAnswer[] = "Registrar: Domain people Inc\n";
const char kNeuLevelAnswer[] = "Registry: NeuLevel, Inc.\n";
const char kNeuStarAnswer[] = "Registry: NeuStar, Inc.\n";

}  // namespace

TEST(DateRecognizer, EachLayoutReadsItsOwnShape) {
    ExpectAll(kPlainAnswer, {
                                // day-monthword-year
                                {"07-Jan-2003", "2003-01-07"},
                                {"07-JAN-2003", "2003-01-07"},
                                {"07-jan-2003", "2003-01-07"},
                                {"07-Jul-2003 12:00:00", "2003-07-07"},
                                // year-month-day, two-digit or one-digit day
                                {"2003-01-07", "2003-01-07"},
                                {"2003-01-7", "2003-01-07"},
                                // month-day-year with dashes
                                {"01-07-2003", "2003-01-07"},
                                {"01-07-03", "2003-01-07"},
                                // weekday, month day, year: n above 12
                                {"Tue, Jan 07, 2003", "2003-01-07"},
                                {"Tue, Jan 07,3", "2003-01-07"},
                                // month day, year
                                {"Jan 07, 2003", "2003-01-07"},
                                {"Jan  7, 2003", "2003-01-07"},
                                // slashes with the year last or first
                                {"1/07/2003", "2003-01-07"},
                                {"01/7/2003", "2003-01-07"},
                                {"2003/01/07", "2003-01-07"},
                                {"2003/1/7", "2003-01-07"},
                                // two blanks and a late comma
                                {"Jan  17, 2003", "2003-01-17"},
                                // C library time stamps, with and without zone
                                {"Tue Jan 07 10:14:22 2003", "2003-01-07"},
                                {"Tue Jan 07 10:14:22 EST 2003", "2003-01-07"},
                                {"Tue Mar 26 23:59:00 GMT 2002", "2002-03-26"},
                                // month name of any length, cut to three letters
                                {"January 7 2003", "2003-01-07"},
                                {"Jan 7 2003", "2003-01-07"},
                                {"Sept 7 2003", "2003-09-07"},
                                {"January 7, 2003", "2003-01-07"},
                                {"September 30, 2003", "2003-09-30"},
                                // month word, two blanks, no comma
                                {"Jan  7 2003", "2003-01-07"},
                                // two-digit month and day with slashes: US order
                                {"01/07/2003", "2003-01-07"},
                                {"07/01/2003", "2003-07-01"},
                                // one-digit month and day
                                {"1/7/2003", "2003-01-07"},
                                {"1/7/03", "2003-01-07"},
                                // year-monthword-day
                                {"2003-Jan-07", "2003-01-07"},
                                // day monthword year in exactly eleven characters
                                {"07 Jan 2003", "2003-01-07"},
                                {"7  Jan 2003", "2003-01-07"},
                                // day and a long month word at fixed places
                                {"07 January 2003", "2003-01-07"},
                                {"07 Sept. 2003", "2003-09-07"},
                                // dashed long month word in capitals
                                {"07-JANUARY-2003", "2003-01-07"},
                                {"07-January-2003", "2003-01-07"},
                                {"07-Janu-2003", "2003-01-07"},
                                // year-one-digit-month-day in nine characters
                                {"2003-1-07", "2003-01-07"},
                                {"2003-1-7x", "2003-01-07"},
                            });
}

TEST(DateRecognizer, LayoutChosenByPositionIsFinalEvenWhenItsPatternFails) {
    ExpectAll(kPlainAnswer, {
                                // dashes at 2 and 6 choose the monthword layout; "7x" stops it
                                {"7x-Jan-2003", "rejected"},
                                {"07-Foo-2003", "rejected"},
                                // dashes at 2 and 5 choose the numeric layout; a word stops it
                                {"07-Ja-12003", "rejected"},
                                // the time stamp layout stops at a broken time: no year
                                {"Tue Jan 07 10x422 2003", "rejected"},
                                // an upper-case word with two blanks must be a month
                                {"Foo 7 2003", "rejected"},
                                // commas at 3 and 11 choose the weekday layout only above
                                // twelve characters
                                {"Tue,Jan 7,3,", "rejected"},
                                {"Tue,Jan 7,3,0", "2003-01-07"},
                                {"Tue, Jan 07,", "rejected"},
                                // lower-case long month word is no layout; the fallback wants
                                // a three-letter month
                                {"07-january-2003", "rejected"},
                            });
}

TEST(DateRecognizer, MarkerTextsChangeDayMonthOrderAndLayout) {
    struct Case {
        const char* answer;
        const char* text;
        const char* expected;
    } cases[] = {
        // "Internet Domain Registrars": dd-mm-yyyy
        {kPlainAnswer, "01-07-2003", "2003-01-07"},
        {kIdrAnswer, "01-07-2003", "2003-07-01"},
        {kPlainAnswer, "07.01.2003", "2003-07-01"},
        {kIdrAnswer, "07.01.2003", "2003-01-07"},
        {kIdrAnswer, "01/07/2003", "2003-01-07"},  // only the dashed layout follows it
        // "TotalRegistrations": dd/mm/yyyy
        {kTrAnswer, "01/07/2003", "2003-07-01"},
        {kTrAnswer, "01-07-2003", "2003-01-07"},
        // Domain People and NeuLevel/NeuStar: fixed positions for all but day-monthword-year
        {kNeuLevelAnswer, "Tue Mar 26 23:59:00 GMT 2002", "2002-03-26"},
        {kNeuStarAnswer, "Tue Mar 26 23:59:00 GMT 2002", "2002-03-26"},
        {kDpAnswer, "Tue Mar 26 23:59:00 GMT 2002", "2002-03-26"},
        {kNeuLevelAnswer, "2003-01-07", "rejected"},
        {kDpAnswer, "2003-01-07", "rejected"},
        {kPlainAnswer, "2003-01-07", "2003-01-07"},
        {kNeuLevelAnswer, "07-Jan-2003", "2003-01-07"},
        {kDpAnswer, "07-Jan-2003", "2003-01-07"},
        // the fixed reading takes the year from the last four characters; the fallback would not
        {kNeuLevelAnswer, "Sat Jan 05 2002xx", "2002-01-05"},
        {kPlainAnswer, "Sat Jan 05 2002xx", "rejected"},
        // fixed positions past the end of a short text read nothing
        {kNeuLevelAnswer, "Tue Mar", "rejected"},
        {kNeuLevelAnswer, "Tue Ma", "rejected"},
        {kNeuLevelAnswer, "5", "rejected"},
        // markers are case-sensitive
        {"registry: neulevel, inc.\n", "2003-01-07", "2003-01-07"},
        {"internet domain registrars\n", "01-07-2003", "2003-01-07"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Read(c.answer, c.text), c.expected)
            << "answer: \"" << c.answer << "\" text: \"" << c.text << "\"";
        // Markers found once per answer read the same as markers found per call.
        CDateTime viaMarkers, viaAnswer;
        const bool a = RecognizeDate(CDateMarkers(c.answer), c.text, viaMarkers);
        const bool b = RecognizeDate(c.answer, c.text, viaAnswer);
        EXPECT_EQ(a, b) << c.text;
        if (a && b) {
            EXPECT_EQ(viaMarkers, viaAnswer) << c.text;
        }
    }
}

TEST(DateRecognizer, MarkersAreFoundWhereverTheyStandInALongAnswer) {
    const std::string filler(300, 'x');
    const std::string incs = "Inc Inc, IncInc " + filler;
    struct Case {
        std::string answer;
        bool fixed;
        bool dashed;
        bool slashed;
    } cases[] = {
        {"NeuLevel, Inc." + filler, true, false, false},
        {filler + "NeuLevel, Inc.", true, false, false},
        {incs + "NeuStar, Inc." + incs, true, false, false},
        {filler + "Registrar: Domain people Inc", true, false, false},
        {incs + "Registrar: Domain people In" + incs, false, false, false},
        {filler + "NeuLevel, Inc", false, false, false},
        {filler + "NeuLevel,  Inc." + filler, false, false, false},
        {filler + "Internet Domain Registrars", false, true, false},
        {"TotalRegistrations" + filler, false, false, true},
        {"TotalRegistrations Internet Domain Registrars NeuStar, Inc." + filler, true, true, true},
        {incs + incs, false, false, false},
    };
    for (const Case& c : cases) {
        const CDateMarkers markers(c.answer);
        // Asked twice: the second answer comes from what the first search found.
        for (int round = 0; round < 2; ++round) {
            EXPECT_EQ(markers.FixedPositions(), c.fixed) << c.answer;
            EXPECT_EQ(markers.DayBeforeMonthDashed(), c.dashed) << c.answer;
            EXPECT_EQ(markers.DayBeforeMonthSlashed(), c.slashed) << c.answer;
        }
    }
}

TEST(DateRecognizer, SwapOfDayAndMonthOnlyInTheTwoDigitSlashLayout) {
    struct Case {
        const char* answer;
        const char* text;
        const char* expected;
    } cases[] = {
        {kPlainAnswer, "13/07/2003", "2003-07-13"},
        {kTrAnswer, "07/13/2003", "2003-07-13"},
        {kPlainAnswer, "13/13/2003", "rejected"},
        {kPlainAnswer, "13-07-2003", "rejected"},  // the dashed layout never swaps
        {kPlainAnswer, "2003-13-07", "rejected"},
        {kPlainAnswer, "1/13/2003", "2003-01-13"},
    };
    for (const Case& c : cases) EXPECT_EQ(Read(c.answer, c.text), c.expected) << c.text;
}

TEST(DateRecognizer, TwoDigitYearsWidenAroundSeventy) {
    ExpectAll(kPlainAnswer, {
                                {"07-Jan-00", "2000-01-07"},
                                {"07-Jan-0", "2000-01-07"},
                                {"07-Jan-03", "2003-01-07"},
                                {"07-Jan-69", "2069-01-07"},
                                {"07-Jan-70", "1970-01-07"},
                                {"07-Jan-71", "1971-01-07"},
                                {"07-Jan-98", "1998-01-07"},
                                {"07-Jan-99", "1999-01-07"},
                                {"07-Jan-100", "0100-01-07"},
                                {"07-Jan-9999", "9999-01-07"},
                                {"07-Jan-10000", "rejected"},
                                {"07-Jan--5", "rejected"},
                                {"1/7/70", "1970-01-07"},
                            });
}

TEST(DateRecognizer, CalendarRejectsDaysThatDoNotExist) {
    ExpectAll(kPlainAnswer, {
                                {"29-Feb-2000", "2000-02-29"},
                                {"29-Feb-2004", "2004-02-29"},
                                {"29-Feb-1900", "rejected"},
                                {"29-Feb-2003", "rejected"},
                                {"28-Feb-2003", "2003-02-28"},
                                {"31-Apr-2003", "rejected"},
                                {"30-Apr-2003", "2003-04-30"},
                                {"31-Dec-2003", "2003-12-31"},
                                {"32-Jan-2003", "rejected"},
                                {"00-Jan-2003", "rejected"},
                                {"2003-00-07", "rejected"},
                                {"2003-04-31", "rejected"},
                                {"2004-02-29", "2004-02-29"},
                            });
}

TEST(DateRecognizer, CleanUpIgnoresPunctuationAndFillerAroundTheDate) {
    ExpectAll(kPlainAnswer, {
                                {"07-Jan-2003.", "2003-01-07"},
                                {"07-Jan-2003...", "2003-01-07"},
                                {"-07-Jan-2003", "2003-01-07"},
                                {":07-Jan-2003", "2003-01-07"},
                                {"=>:07-Jan-2003:=>", "2003-01-07"},
                                {" \t 07-Jan-2003 \r\n", "2003-01-07"},
                                {"Date: 2003-01-07", "2003-01-07"},
                                {"> 2003-01-07", "2003-01-07"},
                            });
    struct Clean {
        const char* text;
        const char* cleaned;
    } cleans[] = {
        {"07.01.2003", "07-01-2003"},
        {" Tue Jan 07 10:14:22 2003 ", "Tue Jan 07 101422 2003"},
        {"-2003-01-07.", "2003-01-07"},
        {"--2003", "-2003"},  // only one leading dash goes
        {"2003.01.07", "20030107"},
        {"Record expires on 2003-01-07", "expires2003-01-07"},
        {" . . ", ""},
    };
    for (const Clean& c : cleans) EXPECT_EQ(CleanDateText(c.text), c.cleaned) << c.text;
}

TEST(DateRecognizer, EmptyAndPunctuationOnlyTextsAreRejected) {
    ExpectAll(kPlainAnswer, {
                                {"", "rejected"},
                                {"   ", "rejected"},
                                {"...", "rejected"},
                                {" . . ", "rejected"},
                                {":=>", "rejected"},
                                {"-", "rejected"},
                                {"--", "rejected"},
                                {"\r\n\t\v\f", "rejected"},
                                {"Date:", "rejected"},
                            });
}

TEST(DateRecognizer, WordFallbackAcceptsOnlyYearsFrom1990To2020) {
    ExpectAll(kPlainAnswer, {
                                {"7 Jan 2003", "2003-01-07"},
                                {"7-Jan-2003", "2003-01-07"},
                                {"7 jan 2003", "2003-01-07"},
                                {"2003 7 Jan", "2003-01-07"},
                                // three blanks keep it from the month-name layout
                                {"Tue Jan 7 2003", "2003-01-07"},
                                {"7 Jan 1990", "1990-01-07"},
                                {"7 Jan 2020", "2020-01-07"},
                                {"7 Jan 1989", "rejected"},
                                {"7 Jan 2021", "rejected"},
                                {"7 January 2003", "rejected"},
                                {"7 Jan 03", "rejected"},     // no widening here
                                {"7 Jan 02003", "rejected"},  // a year word has four characters
                                {"007 Jan 2003", "2003-01-07"},
                                {"Jan 2003", "rejected"},  // no day
                                {"7 2003", "rejected"},    // no month
                                {"01072003", "2003-01-07"},
                                {"13072003", "rejected"},  // one word reads month first
                                {"2003.01.07", "rejected"},
                                {"7 Feb 29 2004", "2004-02-07"},  // the first day word wins
                                {"30 Feb 2004", "rejected"},
                            });
}

TEST(DateRecognizer, RegistryTimeStampsReadAsTheirDate) {
    ExpectAll(kPlainAnswer, {
                                {"2027-08-14T04:00:00Z", "2027-08-14"},
                                {"2019-09-09T15:39:04+0000", "2019-09-09"},
                                {"1997-09-15T04:00:00.000Z", "1997-09-15"},
                                {"2003-01-07 10:14:22 UTC", "2003-01-07"},
                                {"15-sep-1997", "1997-09-15"},
                                {"Fri Jan 07 10:14:22 GMT 2005", "2005-01-07"},
                                {"07.01.03", "2003-07-01"},
                            });
}

TEST(DateRecognizer, HostileTextsAreRejectedWithoutOverrun) {
    // A month word of any length is cut, never copied into a fixed buffer.
    EXPECT_EQ(Read(kPlainAnswer, "Jan" + std::string(100000, 'u') + " 7 2003"), "2003-01-07");
    EXPECT_EQ(Read(kPlainAnswer, "07-" + std::string(100000, 'J') + "-2003"), "rejected");
    EXPECT_EQ(Read(kPlainAnswer, "07 J" + std::string(100000, 'a') + " 2003"), "rejected");
    // Numbers too large for an int saturate instead of wrapping to a plausible year
    // (4294969299 is 2^32 + 2003).
    EXPECT_EQ(Read(kPlainAnswer, "07-Jan-4294969299"), "rejected");
    EXPECT_EQ(Read(kPlainAnswer, "2003-01-4294967303"), "rejected");
    EXPECT_EQ(Read(kPlainAnswer, "07-Jan-" + std::string(5000, '9')), "rejected");
    // Bytes outside ASCII and control bytes are just characters.
    EXPECT_EQ(Read(kPlainAnswer,
                   "\xff"
                   "07-Jan-2003"),
              "rejected");
    EXPECT_EQ(Read(kPlainAnswer, std::string("07-Jan-2003\0garbage", 19)), "2003-01-07");
    EXPECT_EQ(Read(kPlainAnswer, std::string(300000, ' ') + "-"), "rejected");
    // The text alone decides; an answer that is huge and binary only gets searched.
    std::string binary(1 << 20, '\0');
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 131);
    EXPECT_EQ(Read(binary, "07-Jan-2003"), "2003-01-07");
}

TEST(DateRecognizer, RejectedTextLeavesTheOutputAlone) {
    const CDateTime before = CDateTime::FromDate(1999, 5, 5);
    for (const char* text : {"", "31-Apr-2003", "7 Jan 1989", "07-Foo-2003", "13/13/2003"}) {
        CDateTime out = before;
        EXPECT_FALSE(RecognizeDate(kPlainAnswer, text, out)) << text;
        EXPECT_EQ(out, before) << text;
    }
}

TEST(DateRecognizer, CountCharCountsEveryOccurrence) {
    EXPECT_EQ(CountChar("", ' '), 0);
    EXPECT_EQ(CountChar("a b  c", ' '), 3);
    EXPECT_EQ(CountChar(std::string_view("\0x\0", 3), '\0'), 2);
}

namespace {

struct ScanCase {
    const char* text;
    const char* pattern;
    const char* kinds;  // one letter per target: d integer, s word
    int filled;
    const char* values;  // filled targets, "|"-separated
};

// Three targets at most, typed by `kinds`; the filled ones are joined with "|".
std::string RunScan(const ScanCase& c, int& filled) {
    int n[3] = {-99, -99, -99};
    std::string s[3];
    auto target = [&](int i) -> ScanTarget {
        return c.kinds[i] == 'd' ? ScanTarget(n[i]) : ScanTarget(s[i]);
    };
    const size_t count = std::string_view(c.kinds).size();
    if (count == 1)
        filled = ScanPattern(c.text, c.pattern, {target(0)});
    else if (count == 2)
        filled = ScanPattern(c.text, c.pattern, {target(0), target(1)});
    else
        filled = ScanPattern(c.text, c.pattern, {target(0), target(1), target(2)});
    std::string joined;
    for (int i = 0; i < filled; ++i) {
        if (i)
            joined += "|";
        joined += c.kinds[i] == 'd' ? std::to_string(n[i]) : s[i];
    }
    return joined;
}

const ScanCase kScanCases[] = {
    {"  -12x", "%d %s %d", "dsd", 2, "-12|x"},
    {"+7", "%d", "d", 1, "7"},
    {"- 7", "%d", "d", 0, ""},
    {"12345", "%02d%02d%d", "ddd", 3, "12|34|5"},
    {"1 2", "%01d/%d", "dd", 1, "1"},
    {"Jan07", "%03s%d", "sd", 2, "Jan|7"},
    {"January", "%03s%s", "ss", 2, "Jan|uary"},
    {"07 - Jan", "%d-%03s", "ds", 1, "7"},       // a literal does not skip white space
    {"07  -Jan", "%d -%03s", "ds", 2, "7|Jan"},  // a blank matches a run of it
    {"07-Jan", "%d -%03s", "ds", 2, "7|Jan"},    // ... or none
    {"\t\n7", "%d", "d", 1, "7"},
    {"", "%d", "d", 0, ""},
    {"abc", "abc%d", "d", 0, ""},
    {"-", "%1d", "d", 0, ""},
    {"-5", "%2d", "d", 1, "-5"},
    {"-56", "%2d%d", "dd", 2, "-5|6"},
    {"007", "%d", "d", 1, "7"},
    {"12 34", "%1d%d", "dd", 2, "1|2"},
    {"ab cd", "%03s %03s", "ss", 2, "ab|cd"},
    {"ab", "%03s %03s", "ss", 1, "ab"},
    {"7, 2003", "%d, %d", "dd", 2, "7|2003"},
    {"7 , 2003", "%d, %d", "dd", 1, "7"},
    {"x7", "%d", "d", 0, ""},
    {"50%", "%d%%", "d", 1, "50"},
    {"Tue Jan  7", "%03s %03s %d", "ssd", 3, "Tue|Jan|7"},
};

}  // namespace

TEST(ScanPattern, ReadsLikeTheCLibrary) {
    for (const ScanCase& c : kScanCases) {
        int filled = -1;
        const std::string values = RunScan(c, filled);
        EXPECT_EQ(filled, c.filled) << c.text << " / " << c.pattern;
        EXPECT_EQ(values, c.values) << c.text << " / " << c.pattern;
    }
}

#ifndef _WIN32
// The table above, checked against the C library itself with buffers as large as the text.
TEST(ScanPattern, AgreesWithSscanfOnTheTable) {
    for (const ScanCase& c : kScanCases) {
        int n[3] = {-99, -99, -99};
        char s[3][64] = {};
        void* args[3];
        const size_t count = std::string_view(c.kinds).size();
        for (size_t i = 0; i < 3; ++i)
            args[i] = (i < count && c.kinds[i] == 's') ? static_cast<void*>(s[i])
                                                       : static_cast<void*>(&n[i]);
        int expected = std::sscanf(c.text, c.pattern, args[0], args[1], args[2]);
        if (expected < 0)
            expected = 0;
        std::string joined;
        for (int i = 0; i < expected; ++i) {
            if (i)
                joined += "|";
            joined += c.kinds[i] == 'd' ? std::to_string(n[i]) : std::string(s[i]);
        }
        int filled = -1;
        EXPECT_EQ(RunScan(c, filled), joined) << c.text << " / " << c.pattern;
        EXPECT_EQ(filled, expected) << c.text << " / " << c.pattern;
    }
}
#endif

TEST(ScanPattern, WrongTargetKindOrTooFewTargetsStopsTheRead) {
    int a = -1, b = -1;
    std::string w;
    EXPECT_EQ(ScanPattern("7 8", "%d %d", {a}), 1);
    EXPECT_EQ(a, 7);
    EXPECT_EQ(ScanPattern("x 8", "%s %d", {b, w}), 0);  // a word into an integer
    EXPECT_EQ(b, -1);
    EXPECT_EQ(ScanPattern("7", "%q", {a}), 0);  // unknown conversion
    EXPECT_EQ(ScanPattern("7", "%", {a}), 0);   // pattern ends inside a conversion
}
