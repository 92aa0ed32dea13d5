#include "ui/markup.h"

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ParseHexColour(std::string_view digits, uint32_t& colour) {
    int v[6];
    for (int i = 0; i < 6; ++i) {
        v[i] = HexValue(digits[static_cast<size_t>(i)]);
        if (v[i] < 0)
            return false;
    }
    colour =
        MakeColour(static_cast<uint8_t>(v[0] * 16 + v[1]), static_cast<uint8_t>(v[2] * 16 + v[3]),
                   static_cast<uint8_t>(v[4] * 16 + v[5]));
    return true;
}

}  // namespace

uint32_t ApplyMarkupTag(std::string_view tag, bool highlighted, const MarkupColours& colours,
                        uint32_t current) {
    if (tag.empty() || tag[0] != '#')
        return current;
    if (tag.size() == 7) {
        uint32_t colour = 0;
        // "#" and six characters that are not all hex digits: not a colour, ignored.
        if (!ParseHexColour(tag.substr(1), colour))
            return current;
        return highlighted ? kHighlightMarkColour : colour;
    }
    if (tag.size() == 3 && tag[1] == '!') {
        switch (tag[2]) {
            case '0':
                return highlighted ? colours.m_crHighlightText : colours.m_crText;
            case '1':
                return highlighted ? kHighlightMarkColour : colours.m_crMark1;
            case '2':
                return highlighted ? kHighlightMarkColour : colours.m_crMark2;
            default:
                return highlighted ? kHighlightMarkColour : current;
        }
    }
    return current;
}

std::vector<MarkupRun> ParseMarkupRuns(std::string_view text, bool highlighted,
                                       const MarkupColours& colours) {
    std::vector<MarkupRun> runs;
    uint32_t colour = highlighted ? colours.m_crHighlightText : colours.m_crText;
    for (;;) {
        const size_t open = text.find('<');
        const std::string_view plain = text.substr(0, open);
        if (!plain.empty())
            runs.push_back(MarkupRun{std::string(plain), colour});
        if (open == std::string_view::npos)
            break;
        const std::string_view rest = text.substr(open + 1);
        const size_t close = rest.find('>');
        // A "<" that no ">" follows ends the cell.
        if (close == std::string_view::npos)
            break;
        colour = ApplyMarkupTag(rest.substr(0, close), highlighted, colours, colour);
        text = rest.substr(close + 1);
    }
    return runs;
}

std::string MarkupVisibleText(std::string_view text) {
    std::string visible;
    for (const MarkupRun& run : ParseMarkupRuns(text, false, MarkupColours())) {
        visible += run.m_strText;
    }
    return visible;
}
