#include "ui/list_layout.h"

#include <cstddef>

namespace {

int NotNegative(int v) {
    return v < 0 ? 0 : v;
}

CLayoutRect Rect(int x, int y, int width, int height) {
    return CLayoutRect{x, y, NotNegative(width), NotNegative(height)};
}

}  // namespace

CMainLayout ComputeMainLayout(int w, int h) {
    CMainLayout layout;
    layout.m_status = Rect(4, h - 20, w - 36, 16);
    layout.m_group = Rect(4, 2, w - 8, 76);
    layout.m_list = Rect(4, 88, w - 8, h - 120);
    layout.m_makerIcon = Rect(w - 40, 16, 32, 32);
    layout.m_cornerIcon = Rect(w - 32, h - 32, 32, 32);
    return layout;
}

int ComputeDomainColumnWidth(int w) {
    // From w = 815 on the nine columns fill the list but for 5 pixels; below that the column
    // follows a saw-tooth and the list scrolls sideways.
    long long k = 0;
    if (w >= 635) {
        k = (static_cast<long long>(w) - 545) / 90;
        if (k > 3)
            k = 3;
    }
    long long width = static_cast<long long>(w) - 425 - 90 * k;
    if (width < 0)
        width = 0;
    if (width > 32767)
        width = 32767;
    return static_cast<int>(width);
}

std::array<int, 9> ComputeColumnWidths(int w) {
    std::array<int, 9> widths{};
    widths[0] = kFirstColumnWidth;
    widths[1] = ComputeDomainColumnWidth(w);
    for (int c = 2; c < 9; ++c) widths[static_cast<std::size_t>(c)] = kOtherColumnWidth;
    return widths;
}
