// Colour markup of list cells: "<#FF0000>Free" is a red "Free". The list control draws the runs
// this produces; the tags themselves are never drawn.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Colours are COLORREF values, 0x00BBGGRR.
constexpr uint32_t MakeColour(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) |
           (static_cast<uint32_t>(b) << 16);
}

// Coloured text in a highlighted row (#00FFFF).
constexpr uint32_t kHighlightMarkColour = MakeColour(0x00, 0xFF, 0xFF);

struct MarkupColours {
    uint32_t m_crText = MakeColour(0x00, 0x00, 0x00);           // "#!0", and every cell's start
    uint32_t m_crMark1 = MakeColour(0xFF, 0x00, 0x00);          // "#!1"
    uint32_t m_crMark2 = MakeColour(0x80, 0x00, 0x00);          // "#!2"
    uint32_t m_crHighlightText = MakeColour(0xFF, 0xFF, 0xFF);  // system highlight-text colour
};

struct MarkupRun {
    std::string m_strText;
    uint32_t m_crColour = 0;

    bool operator==(const MarkupRun&) const = default;
};

// The colour after applying one tag (the text between "<" and ">"). Colour tags are "#RRGGBB"
// (hex digits of either case) and "#!" plus one character; a seven-character "#" tag with a
// non-hex digit, and every other tag, changes nothing.
uint32_t ApplyMarkupTag(std::string_view tag, bool highlighted, const MarkupColours& colours,
                        uint32_t current);

// The runs to draw, left to right, each non-empty. The cell starts in the row's text colour
// (m_crText, or m_crHighlightText when highlighted). A "<" without a ">" after it ends the cell.
std::vector<MarkupRun> ParseMarkupRuns(std::string_view text, bool highlighted,
                                       const MarkupColours& colours);

// The text that would be drawn, tags removed (what the runs spell together).
std::string MarkupVisibleText(std::string_view text);
