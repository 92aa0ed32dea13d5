// Where the main window's resizable controls go for a client size, and the list's column widths.
#pragma once

#include <array>

struct CLayoutRect {
    int m_nX = 0;
    int m_nY = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;

    bool operator==(const CLayoutRect&) const = default;
};

struct CMainLayout {
    CLayoutRect m_status;      // status line 1012
    CLayoutRect m_group;       // group box 1023
    CLayoutRect m_list;        // list 1000
    CLayoutRect m_makerIcon;   // icon 1025, top right
    CLayoutRect m_cornerIcon;  // icon 1021, bottom right
};

// Rectangles for client width W and height H; widths and heights never go below 0 (a minimized
// window reports a tiny client area).
CMainLayout ComputeMainLayout(int clientWidth, int clientHeight);

constexpr int kFirstColumnWidth = 60;
constexpr int kOtherColumnWidth = 90;

// Width of the "Domain" column for the list's client width: w - 425 - 90k, k = 0 below 635,
// else min(3, (w - 545) / 90). Kept within 0..32767 so that it survives the 16-bit hand-over
// (a negative width would mean "autosize" to the list view).
int ComputeDomainColumnWidth(int listClientWidth);
// All nine widths.
std::array<int, 9> ComputeColumnWidths(int listClientWidth);
