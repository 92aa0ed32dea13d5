// A host window for the colour list: the main window's template with the list bound, three or
// more columns, and rows of cell texts answered through LVN_GETDISPINFOA like the real window.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/data_exchange_win.h"
#include "framework/dialog_win.h"
#include "framework/gdi_win.h"
#include "res/resource.h"
#include "ui/color_list_ctrl_win.h"

// How the host answers a cell request.
enum class AnswerMode {
    CopyBounded,  // copies at most cchTextMax - 1 bytes and a zero, as the list view asks
    OwnPointer,   // points pszText at its own text
    FillNoZero,   // writes cchTextMax bytes and no zero (a careless parent)
    Ignore,       // does not answer at all
};

// Records what the context menu would have shown instead of tracking it (which would block).
class CTestColorList : public CColorListCtrl {
public:
    std::vector<std::vector<UINT>> shownMenus;
    int doubleClicks = 0;

protected:
    void TrackContextMenu(HMENU popup, POINT) override {
        std::vector<UINT> ids;
        const int n = ::GetMenuItemCount(popup);
        for (int i = 0; i < n; ++i) ids.push_back(::GetMenuItemID(popup, i));
        shownMenus.push_back(ids);
    }
    void OnItemDoubleClick() override { ++doubleClicks; }
};

class CListHostDlg : public CModelessDialog {
public:
    CListHostDlg() : CModelessDialog(IDD_CHECKER_DIALOG) {}

    CTestColorList m_list;
    std::vector<std::vector<std::string>> rows;
    AnswerMode mode = AnswerMode::CopyBounded;
    std::vector<UINT> commands;  // WM_COMMAND ids received
    std::vector<std::string> headings = {"#", "Domain", "Status", "Registrar"};
    std::vector<int> widths = {40, 120, 120, 120};

    void SetRows(std::vector<std::vector<std::string>> r) {
        rows = std::move(r);
        m_list.SetItemCount(static_cast<int>(rows.size()));
    }
    void Select(int row, bool on = true) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = on ? LVIS_SELECTED : 0;
        m_list.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    RECT ItemRect(int row, int code) const {
        RECT rc = {code, 0, 0, 0};
        m_list.Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc));
        return rc;
    }
    // Column `c` of `row` as DrawItem lays it out (without the padding).
    RECT CellRect(int row, int c) const {
        RECT bounds = ItemRect(row, LVIR_BOUNDS);
        int x = bounds.left;
        for (int i = 0; i < c; ++i) x += static_cast<int>(m_list.Send(LVM_GETCOLUMNWIDTH, i));
        const int w = static_cast<int>(m_list.Send(LVM_GETCOLUMNWIDTH, c));
        return {x, bounds.top, x + w, bounds.bottom};
    }

    void OnCommandMessage(CMessage& m) {
        commands.push_back(LOWORD(m.wParam));
        m.handled = false;
    }

    LRESULT OnGetDispInfo(NMHDR* hdr) {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(hdr);
        if (mode == AnswerMode::Ignore || (info->item.mask & LVIF_TEXT) == 0)
            return 0;
        const int r = info->item.iItem;
        const int c = info->item.iSubItem;
        if (r < 0 || r >= static_cast<int>(rows.size()))
            return 0;
        if (c < 0 || c >= static_cast<int>(rows[static_cast<size_t>(r)].size()))
            return 0;
        const std::string& text = rows[static_cast<size_t>(r)][static_cast<size_t>(c)];
        switch (mode) {
            case AnswerMode::CopyBounded: {
                const size_t n =
                    std::min(text.size(), static_cast<size_t>(info->item.cchTextMax - 1));
                std::memcpy(info->item.pszText, text.data(), n);
                info->item.pszText[n] = '\0';
                break;
            }
            case AnswerMode::OwnPointer:
                info->item.pszText = const_cast<char*>(text.c_str());
                break;
            case AnswerMode::FillNoZero:
                std::memset(info->item.pszText, 'z', static_cast<size_t>(info->item.cchTextMax));
                break;
            case AnswerMode::Ignore:
                break;
        }
        return 0;
    }

protected:
    bool OnInitDialog() override {
        CModelessDialog::OnInitDialog();
        for (size_t i = 0; i < headings.size(); ++i) {
            LVCOLUMNA col = {};
            col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            col.fmt = LVCFMT_LEFT;
            col.cx = widths[i];
            col.pszText = const_cast<char*>(headings[i].c_str());
            m_list.Send(LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
        }
        // The list fills most of the window, as the main window lays it out.
        m_list.Move(4, 88, 560, 300);
        return true;
    }
    void DoDataExchange(CDataExchange& dx) override { dx.Control(IDC_DOMAIN_LIST, m_list); }
    const CMessageTable& GetMessageTable() const override {
        static const CMessageTable table{
            NotifyEntry(IDC_DOMAIN_LIST, LVN_GETDISPINFOA, &CListHostDlg::OnGetDispInfo),
            MessageEntry(WM_COMMAND, &CListHostDlg::OnCommandMessage),
        };
        return table;
    }
};

// A font without anti-aliasing, so text pixels carry exactly the text colour.
inline CFontHandle MakeTestFont(const char* face, int height) {
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lf.lfPitchAndFamily = 16;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return CreateFontFrom(lf);
}

// The list's client area as painted by WM_PRINTCLIENT into an off-screen bitmap.
inline std::unique_ptr<COffscreenBitmap> RenderList(HWND list) {
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(list, &rc);
    CClientDC screen(list);
    auto bitmap = std::make_unique<COffscreenBitmap>(screen.Get(), rc.right, rc.bottom);
    if (!*bitmap)
        return bitmap;
    // A colour no test uses, so unpainted pixels stand out.
    CBrushHandle sentinel(::CreateSolidBrush(RGB(0x12, 0x34, 0x56)));
    ::FillRect(bitmap->GetDC(), &rc, sentinel.Get());
    ::SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bitmap->GetDC()),
                   PRF_CLIENT | PRF_ERASEBKGND);
    return bitmap;
}

inline int CountPixels(const COffscreenBitmap& bmp, const RECT& rc, COLORREF colour) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (bmp.GetPixel(x, y) == colour)
                ++n;
    return n;
}

// Leftmost and rightmost column holding `colour` within rc; {-1, -1} when none.
inline std::pair<int, int> ColourSpan(const COffscreenBitmap& bmp, const RECT& rc,
                                      COLORREF colour) {
    int lo = -1, hi = -1;
    for (int x = rc.left; x < rc.right; ++x)
        for (int y = rc.top; y < rc.bottom; ++y)
            if (bmp.GetPixel(x, y) == colour) {
                if (lo < 0)
                    lo = x;
                hi = x;
                break;
            }
    return {lo, hi};
}
