#include "ui/markup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Distinct colours so that every source of a run's colour can be told apart.
MarkupColours TestColours() {
    MarkupColours c;
    c.m_crText = MakeColour(0x01, 0x02, 0x03);
    c.m_crMark1 = MakeColour(0x11, 0x12, 0x13);
    c.m_crMark2 = MakeColour(0x21, 0x22, 0x23);
    c.m_crHighlightText = MakeColour(0x31, 0x32, 0x33);
    return c;
}

constexpr uint32_t kText = MakeColour(0x01, 0x02, 0x03);
constexpr uint32_t kMark1 = MakeColour(0x11, 0x12, 0x13);
constexpr uint32_t kMark2 = MakeColour(0x21, 0x22, 0x23);
constexpr uint32_t kHiText = MakeColour(0x31, 0x32, 0x33);
constexpr uint32_t kCyan = kHighlightMarkColour;
constexpr uint32_t kRed = MakeColour(0xFF, 0x00, 0x00);

TEST(Markup, ColourIsStoredAsBlueGreenRed) {
    EXPECT_EQ(MakeColour(0xFF, 0x00, 0x00), 0x000000FFu);
    EXPECT_EQ(MakeColour(0x00, 0x00, 0xFF), 0x00FF0000u);
    EXPECT_EQ(kHighlightMarkColour, 0x00FFFF00u);
}

// Every row of the tag table, unhighlighted and highlighted, starting from a known colour.
TEST(Markup, EachTagKindGivesTheTableColour) {
    const uint32_t start = MakeColour(0x55, 0x66, 0x77);
    struct Case {
        const char* tag;
        uint32_t plain;
        uint32_t highlighted;
    } cases[] = {
        {"#FF0000", kRed, kCyan},
        {"#0000ff", MakeColour(0, 0, 0xFF), kCyan},
        {"#a1B2c3", MakeColour(0xA1, 0xB2, 0xC3), kCyan},
        {"#!0", kText, kHiText},
        {"#!1", kMark1, kCyan},
        {"#!2", kMark2, kCyan},
        {"#!7", start, kCyan},
        {"#!x", start, kCyan},
        {"#!!", start, kCyan},
        {"", start, start},
        {"b", start, start},
        {"/b", start, start},
        {"#", start, start},
        {"#F00", start, start},      // short colour: nothing
        {"#FF00000", start, start},  // eight characters
        {"#FF000", start, start},    // six characters
        {"#GG0000", start, start},   // seven characters, not hex: ignored
        {"#FF 000", start, start},
        {"#!1xxxx", start, start},  // seven characters beginning "#!" are not hex either
        {"#x1", start, start},      // three characters without "!" second
        {"!#1", start, start},
        {"<#FF0000", start, start},  // a tag that begins with "<"
        {"FF0000", start, start},
        {" #FF0000", start, start},
    };
    const MarkupColours colours = TestColours();
    for (const Case& c : cases) {
        EXPECT_EQ(ApplyMarkupTag(c.tag, false, colours, start), c.plain) << '"' << c.tag << '"';
        EXPECT_EQ(ApplyMarkupTag(c.tag, true, colours, start), c.highlighted)
            << '"' << c.tag << "\" highlighted";
    }
}

struct RunCase {
    const char* name;
    const char* text;
    bool highlighted;
    std::vector<MarkupRun> runs;
};

std::string Describe(const std::vector<MarkupRun>& runs) {
    std::string s;
    for (const MarkupRun& r : runs) {
        char colour[16];
        snprintf(colour, sizeof colour, "%06X", r.m_crColour);
        s += "[" + r.m_strText + "|" + colour + "]";
    }
    return s;
}

TEST(Markup, CellTextsBecomeTheRunsThatAreDrawn) {
    const RunCase cases[] = {
        {"EmptyTextDrawsNothing", "", false, {}},
        {"PlainTextInRowColour", "example.com", false, {{"example.com", kText}}},
        {"PlainTextInHighlightTextWhenSelected", "example.com", true, {{"example.com", kHiText}}},
        {"FreeIsRedAndTagNotDrawn", "<#FF0000>Free", false, {{"Free", kRed}}},
        {"FreeIsCyanWhenHighlighted", "<#FF0000>Free", true, {{"Free", kCyan}}},
        {"PlainBeforeTagKeepsRowColour", "ab<#FF0000>cd", false, {{"ab", kText}, {"cd", kRed}}},
        {"LessThanWithoutGreaterEndsCell", "ab<cd", false, {{"ab", kText}}},
        {"LessThanAfterTagEndsCell", "<#FF0000>ab<cd", false, {{"ab", kRed}}},
        {"EmptyTagRemovedNoChange", "a<>b", false, {{"a", kText}, {"b", kText}}},
        {"NonHashTagRemoved", "a<b>c", false, {{"a", kText}, {"c", kText}}},
        {"SecondLessThanInsideTagStartsNoNewTag",
         "a<<#FF0000>>b",
         false,
         {{"a", kText}, {">b", kText}}},
        {"ShortColourChangesNothing", "<#F00>x", false, {{"x", kText}}},
        {"Mark1ThenText", "<#!1>a<#!0>b", false, {{"a", kMark1}, {"b", kText}}},
        {"Mark1ThenTextHighlighted", "<#!1>a<#!0>b", true, {{"a", kCyan}, {"b", kHiText}}},
        {"Mark2", "<#!2>z", false, {{"z", kMark2}}},
        {"UnknownBangDigitKeepsColour", "<#!1>a<#!7>b", false, {{"a", kMark1}, {"b", kMark1}}},
        {"UnknownBangDigitHighlightedIsCyan", "<#!7>b", true, {{"b", kCyan}}},
        {"ColourStaysUntilNextTag",
         "<#00FF00>a<x>b<#0000FF>c",
         false,
         {{"a", MakeColour(0, 0xFF, 0)},
          {"b", MakeColour(0, 0xFF, 0)},
          {"c", MakeColour(0, 0, 0xFF)}}},
        {"OnlyTagsDrawNothing", "<#FF0000><#00FF00>", false, {}},
        {"GreaterWithoutLessIsText", "a>b", false, {{"a>b", kText}}},
        {"LoneLessThanDrawsNothing", "<", false, {}},
        {"BadSevenCharacterTagIgnored", "<#ZZZZZZ>x", false, {{"x", kText}}},
        {"BinaryBytesPassThrough",
         "\x01\xff<#FF0000>\x7f",
         false,
         {{"\x01\xff", kText}, {"\x7f", kRed}}},
    };
    const MarkupColours colours = TestColours();
    for (const RunCase& c : cases) {
        const std::vector<MarkupRun> runs = ParseMarkupRuns(c.text, c.highlighted, colours);
        EXPECT_TRUE(runs == c.runs)
            << c.name << ": got " << Describe(runs) << " want " << Describe(c.runs);
    }
}

TEST(Markup, HugeCellWithManyTagsIsParsedWithoutLoss) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "<#00FF00>x<";
    text += "#FF0000>end";
    const std::vector<MarkupRun> runs = ParseMarkupRuns(text, false, TestColours());
    ASSERT_EQ(runs.size(), 20001u);
    EXPECT_EQ(runs.back().m_strText, "end");
    EXPECT_EQ(runs.back().m_crColour, kRed);
    EXPECT_EQ(MarkupVisibleText("a<#FF0000>b<c"), "ab");
}

}  // namespace
