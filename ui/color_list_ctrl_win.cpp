#include "ui/color_list_ctrl_win.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "framework/gdi_win.h"
#include "framework/menu_win.h"
#include "ui/markup.h"

namespace {

// Cell texts longer than this are cut; the parent writes at most this many bytes.
constexpr int kCellTextCapacity = 4096;
constexpr int kHeadingCapacity = 121;  // 120 characters and the zero

// Window-position notice that makes the list view measure its rows again (no move, no z-order,
// no activation, no owner z-order; the size is "changed").
constexpr UINT kRemeasureFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
static_assert(kRemeasureFlags == 0x216);

int TextWidth(HDC dc, std::string_view text) {
    SIZE size = {0, 0};
    if (!text.empty())
        ::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

UINT JustifyOfColumnFormat(int fmt) {
    switch (fmt & LVCFMT_JUSTIFYMASK) {
        case LVCFMT_RIGHT:
            return DT_RIGHT;
        case LVCFMT_CENTER:
            return DT_CENTER;
        default:
            return DT_LEFT;
    }
}

}  // namespace

int CColorListCtrl::GetItemCount() const {
    return m_hWnd != nullptr ? static_cast<int>(Send(LVM_GETITEMCOUNT)) : 0;
}

void CColorListCtrl::SetItemCount(int count) const {
    Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(count < 0 ? 0 : count), 0);
}

std::vector<int> CColorListCtrl::GetSelectedRows() const {
    std::vector<int> rows;
    if (m_hWnd == nullptr)
        return rows;
    const int count = static_cast<int>(Send(LVM_GETSELECTEDCOUNT));
    int row = -1;
    for (int i = 0; i < count; ++i) {
        const int next = static_cast<int>(
            Send(LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0)));
        // The list view returns -1 when it runs out; never loop back to the top.
        if (next < 0 || next <= row)
            break;
        rows.push_back(next);
        row = next;
    }
    return rows;
}

std::string CColorListCtrl::GetCellText(int row, int column) const {
    HWND parent = m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr;
    if (parent == nullptr)
        return std::string();
    std::vector<char> buffer(kCellTextCapacity, '\0');
    NMLVDISPINFOA info = {};
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd));
    info.hdr.code = LVN_GETDISPINFOA;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = row;
    info.item.iSubItem = column;
    info.item.pszText = buffer.data();
    info.item.cchTextMax = kCellTextCapacity;
    ::SendMessageA(parent, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    const char* text = info.item.pszText;
    if (text == nullptr || text == LPSTR_TEXTCALLBACKA)
        return std::string();
    if (text == buffer.data()) {
        // A parent that filled the whole buffer without a zero still yields a bounded text.
        return std::string(text, strnlen(text, buffer.size()));
    }
    // The parent may answer with a pointer to its own text, as the list view allows.
    return std::string(text);
}

int CColorListCtrl::GetColumnCount() const {
    if (m_hWnd == nullptr)
        return 0;
    HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
    if (header == nullptr)
        return 0;
    const LRESULT n = ::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0);
    return n > 0 ? static_cast<int>(n) : 0;
}

bool CColorListCtrl::GetColumnHeading(int column, std::string& heading) const {
    if (m_hWnd == nullptr || column < 0)
        return false;
    char buffer[kHeadingCapacity] = {};
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = buffer;
    col.cchTextMax = kHeadingCapacity;
    if (Send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col)) == 0)
        return false;
    const char* text = col.pszText != nullptr ? col.pszText : buffer;
    heading.assign(text, strnlen(text, kHeadingCapacity - 1));
    return true;
}

int CColorListCtrl::GetSelectedColumnTexts(int column, std::vector<std::string>& texts) const {
    return CollectColumnTexts(*this, GetSelectedRows(), column, texts);
}

bool CColorListCtrl::GetAllRowsText(std::string& text, int column) const {
    return BuildAllRowsText(*this, text, column);
}

bool CColorListCtrl::GetSelectedRowsText(std::string& text, int column) const {
    return BuildRowsText(*this, GetSelectedRows(), text, column);
}

void CColorListCtrl::DrawMarkupText(HDC dc, std::string_view text, RECT rc, UINT justify,
                                    bool highlighted) const {
    if (text.empty())
        return;
    MarkupColours colours;
    colours.m_crText = m_crText;
    colours.m_crMark1 = m_crMark1;
    colours.m_crMark2 = m_crMark2;
    colours.m_crHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | justify;
    // The runs are drawn one after another, each cut on its own at the cell's right edge; the
    // next one starts after the full width of the previous one.
    for (const MarkupRun& run : ParseMarkupRuns(text, highlighted, colours)) {
        if (rc.left >= rc.right)
            break;  // nothing more fits, not even an ellipsis
        ::SetTextColor(dc, run.m_crColour);
        RECT part = rc;
        ::DrawTextA(dc, run.m_strText.data(), static_cast<int>(run.m_strText.size()), &part,
                    format);
        rc.left += TextWidth(dc, run.m_strText);
    }
}

void CColorListCtrl::DrawItem(const DRAWITEMSTRUCT& dis) {
    HDC dc = dis.hDC;
    const int row = static_cast<int>(dis.itemID);
    if (dc == nullptr || row < 0)
        return;
    CSaveDC saved(dc);

    const UINT state = static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                              LVIS_DROPHILITED | LVIS_SELECTED | LVIS_FOCUSED));
    const bool hasFocus = ::GetFocus() == m_hWnd;
    const bool showSelAlways = (::GetWindowLongA(m_hWnd, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0;
    const bool highlighted = (state & LVIS_DROPHILITED) != 0 ||
                             ((state & LVIS_SELECTED) != 0 && (hasFocus || showSelAlways));

    RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
    RECT label = {LVIR_LABEL, 0, 0, 0};
    Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
    Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));

    const std::string first = GetCellText(row, 0);
    const int s = TextWidth(dc, " ");

    RECT highlight = bounds;
    highlight.left = label.left;
    const COLORREF rowColour = (row % 2 == 0) ? m_crEvenRow : m_crOddRow;
    ::SetBkMode(dc, TRANSPARENT);

    const COLORREF textColour = highlighted ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : m_crText;
    {
        CBrushHandle brush(
            ::CreateSolidBrush(highlighted ? ::GetSysColor(COLOR_HIGHLIGHT) : rowColour));
        ::FillRect(dc, &highlight, brush.Get());
    }
    ::SetTextColor(dc, textColour);

    const int width0 = static_cast<int>(Send(LVM_GETCOLUMNWIDTH, 0));
    {
        CSaveDC clip(dc);
        ::IntersectClipRect(dc, bounds.left, bounds.top, bounds.left + width0, bounds.bottom);
        RECT cell = label;
        cell.left += s;
        cell.right -= 2 * s;
        DrawMarkupText(dc, first, cell, DT_LEFT, highlighted);
    }
    ::SetTextColor(dc, textColour);

    {
        CSaveDC clip(dc);
        RECT area = bounds;
        if (highlight.right > area.right)
            area.right = highlight.right;
        ::IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        int x = bounds.left + width0;
        for (int column = 1;; ++column) {
            LVCOLUMNA col = {};
            col.mask = LVCF_FMT | LVCF_WIDTH;
            if (Send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col)) ==
                0)
                break;
            RECT cell = {x, bounds.top, x + col.cx, bounds.bottom};
            x = cell.right;
            const std::string text = GetCellText(row, column);
            if (text.empty())
                continue;
            cell.left += 2 * s;
            cell.right -= 2 * s;
            DrawMarkupText(dc, text, cell, JustifyOfColumnFormat(col.fmt), highlighted);
            ::SetTextColor(dc, textColour);
        }
    }

    if ((state & LVIS_FOCUSED) != 0 && hasFocus)
        ::DrawFocusRect(dc, &highlight);
}

int CColorListCtrl::RowHeightFor(HFONT font) const {
    if (font == nullptr)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA lf = {};
    int h = 0;
    if (GetFontDescription(font, lf))
        h = std::abs(static_cast<int>(lf.lfHeight));
    if (h == 0) {
        // Height 0 means "the font's default size"; measure it rather than making rows vanish.
        CClientDC dc(m_hWnd);
        if (dc.Get() != nullptr) {
            CSelectObject select(dc.Get(), font);
            TEXTMETRICA tm = {};
            if (::GetTextMetricsA(dc.Get(), &tm))
                h = tm.tmHeight;
        }
    }
    const long long height = static_cast<long long>(h) * m_nRowHeightPercent / 100;
    if (height < 1)
        return 1;
    return height > 0x7FFF ? 0x7FFF : static_cast<int>(height);
}

void CColorListCtrl::MeasureItem(MEASUREITEMSTRUCT& mis) {
    mis.itemHeight = static_cast<UINT>(RowHeightFor(GetFont()));
}

void CColorListCtrl::RemeasureRows() const {
    const RECT rc = GetWindowRect();
    WINDOWPOS wp = {};
    wp.hwnd = m_hWnd;
    wp.cx = rc.right - rc.left;
    wp.cy = rc.bottom - rc.top;
    wp.flags = kRemeasureFlags;
    Send(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
}

void CColorListCtrl::PaintEmptyText(HDC dc) const {
    if (dc == nullptr || m_strEmptyText.empty() || GetItemCount() != 0)
        return;
    RECT rc = GetWindowRect();
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
    if (header != nullptr) {
        RECT item = {0, 0, 0, 0};
        if (::SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)))
            rc.top += item.bottom;
    }
    rc.top += 10;
    CSaveDC saved(dc);
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_WINDOW));
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SelectObject(dc, ::GetStockObject(ANSI_VAR_FONT));
    ::DrawTextA(dc, m_strEmptyText.data(), static_cast<int>(m_strEmptyText.size()), &rc,
                DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
}

void CColorListCtrl::ShowContextMenu(POINT screen) {
    if (GetItemCount() <= 0 || m_nContextMenuId == 0)
        return;
    CMenuHandle menu = CMenuHandle::Load(m_nContextMenuId);
    HMENU popup = menu.GetSubMenu(0);
    if (popup == nullptr)
        return;
    TrackContextMenu(popup, screen);
}

void CColorListCtrl::TrackContextMenu(HMENU popup, POINT screen) {
    TrackPopup(popup, screen.x, screen.y, ::GetParent(m_hWnd));
}

LRESULT CColorListCtrl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kReflectedDrawItem:
            if (lParam == 0)
                return FALSE;
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case kReflectedMeasureItem:
            if (lParam == 0)
                return FALSE;
            MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_SETFONT: {
            const LRESULT r = DefaultProc(msg, wParam, lParam);
            RemeasureRows();
            return r;
        }
        case WM_PAINT: {
            const LRESULT r = DefaultProc(msg, wParam, lParam);
            if (GetItemCount() == 0) {
                CClientDC dc(m_hWnd);
                PaintEmptyText(dc.Get());
            }
            return r;
        }
        case WM_PRINTCLIENT: {
            const LRESULT r = DefaultProc(msg, wParam, lParam);
            PaintEmptyText(reinterpret_cast<HDC>(wParam));
            return r;
        }
        case WM_RBUTTONDOWN: {
            const LRESULT r = DefaultProc(msg, wParam, lParam);
            if (m_hWnd != nullptr) {
                POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                ::ClientToScreen(m_hWnd, &pt);
                ShowContextMenu(pt);
            }
            return r;
        }
        case WM_LBUTTONDBLCLK: {
            const LRESULT r = DefaultProc(msg, wParam, lParam);
            OnItemDoubleClick();
            return r;
        }
        default:
            return DefaultProc(msg, wParam, lParam);
    }
}
