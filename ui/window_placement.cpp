#include "ui/window_placement.h"

#include <climits>

#include "framework/settings_store.h"
#include "framework/text.h"

std::string FormatPlacement(const CPlacementRecord& p) {
    return FormatText("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.m_nFlags, p.m_nShowCmd, p.m_nMinX,
                      p.m_nMinY, p.m_nMaxX, p.m_nMaxY, p.m_nLeft, p.m_nTop, p.m_nRight,
                      p.m_nBottom);
}

namespace {

// One number as a scanf conversion reads it: leading white space, an optional sign, digits.
// Unlike scanf, a value out of range or a minus on an unsigned field is refused instead of
// wrapping into a nonsense coordinate.
bool ReadNumber(std::string_view text, size_t& pos, bool isUnsigned, long long& value) {
    while (pos < text.size() && IsWhite(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (negative && isUnsigned)
        return false;
    const size_t start = pos;
    long long v = 0;
    const long long limit = isUnsigned ? static_cast<long long>(UINT_MAX)
                                       : (negative ? -static_cast<long long>(INT_MIN) : INT_MAX);
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        v = v * 10 + (text[pos] - '0');
        if (v > limit)
            return false;
        ++pos;
    }
    if (pos == start)
        return false;
    value = negative ? -v : v;
    return true;
}

}  // namespace

bool ParsePlacement(std::string_view text, CPlacementRecord& out) {
    long long v[10];
    size_t pos = 0;
    for (int i = 0; i < 10; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != ',')
                return false;
            ++pos;
        }
        if (!ReadNumber(text, pos, i < 2, v[i]))
            return false;
    }
    out.m_nFlags = static_cast<unsigned>(v[0]);
    out.m_nShowCmd = static_cast<unsigned>(v[1]);
    out.m_nMinX = static_cast<int>(v[2]);
    out.m_nMinY = static_cast<int>(v[3]);
    out.m_nMaxX = static_cast<int>(v[4]);
    out.m_nMaxY = static_cast<int>(v[5]);
    out.m_nLeft = static_cast<int>(v[6]);
    out.m_nTop = static_cast<int>(v[7]);
    out.m_nRight = static_cast<int>(v[8]);
    out.m_nBottom = static_cast<int>(v[9]);
    return true;
}

CPlacementRecord PlacementForSave(CPlacementRecord current, bool maximized, bool minimized) {
    current.m_nFlags = maximized ? kPlacementRestoreToMaximized : 0;
    if (minimized)
        current.m_nShowCmd &= ~2u;
    return current;
}

bool LoadWindowPlacement(const ISettingsStore& store, CPlacementRecord& out) {
    const std::string text = store.GetString(kSectionSettings, kValueWindowPos);
    if (text.empty())
        return false;
    return ParsePlacement(text, out);
}

bool SaveWindowPlacement(ISettingsStore& store, const CPlacementRecord& current, bool maximized,
                         bool minimized) {
    return store.WriteString(kSectionSettings, kValueWindowPos,
                             FormatPlacement(PlacementForSave(current, maximized, minimized)));
}
