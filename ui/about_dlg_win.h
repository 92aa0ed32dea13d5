// The About box. Its template holds placeholder texts in angle brackets; initialisation replaces
// them with the program's own texts, walking every child window.
#pragma once

#include <windows.h>

#include <string>

#include "framework/dialog_win.h"
#include "framework/gdi_win.h"

inline constexpr const char* kProductName = "Quorvix";
inline constexpr const char* kCopyrightLine = "Copyright (C) 2026 Corvane Technologies";
inline constexpr const char* kCoBrandName = "Corvane Technologies";
// The maker's home page, opened by the main window's maker button.
inline constexpr const char* kMakerHomePage = "http://www.corvane.com";

class CAboutDlg : public CModalDialog {
public:
    CAboutDlg();

    HFONT GetTitleFont() const { return m_fontTitle.Get(); }

    // Replaces the placeholder text of one static control; false when `window` is no static
    // control or its text is no placeholder (exact case).
    bool ReplacePlaceholder(HWND window) const;

protected:
    bool OnInitDialog() override;

private:
    CFontHandle m_fontTitle;
};
