#include "ui/about_dlg_win.h"

#include "framework/text.h"
#include "framework/window_win.h"
#include "res/resource.h"
#include "ui/build_date.h"

CAboutDlg::CAboutDlg() : CModalDialog(IDD_ABOUTBOX) {
    m_fontTitle.Reset(::CreateFontA(20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_ROMAN, "Arial"));
}

bool CAboutDlg::ReplacePlaceholder(HWND window) const {
    char className[65] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (!EqualsNoCase(className, "STATIC"))
        return false;
    char text[129] = {};
    ::GetWindowTextA(window, text, sizeof text);
    const std::string placeholder = text;
    std::string replacement;
    bool titleFont = false;
    if (placeholder == "<Product Name>") {
        replacement = kProductName;
        titleFont = true;
    } else if (placeholder == "<Copyright>") {
        replacement = kCopyrightLine;
    } else if (placeholder == "<Co-brand Name>") {
        replacement = kCoBrandName;
        titleFont = true;
    } else if (placeholder == "<Version Date>") {
        replacement = BuildDateLine();
    } else {
        return false;
    }
    SetWindowTextString(window, replacement);
    if (titleFont)
        ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(m_fontTitle.Get()), TRUE);
    return true;
}

namespace {

BOOL CALLBACK ReplaceInChild(HWND child, LPARAM self) {
    reinterpret_cast<const CAboutDlg*>(self)->ReplacePlaceholder(child);
    return TRUE;  // every window, never an early stop
}

}  // namespace

bool CAboutDlg::OnInitDialog() {
    CModalDialog::OnInitDialog();
    ::EnumChildWindows(m_hWnd, &ReplaceInChild, reinterpret_cast<LPARAM>(this));
    return true;
}
