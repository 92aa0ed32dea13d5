// A one-line static text painted in its own font and colour, off screen and then copied in one
// step so it never flickers. The Add Domain Names dialog puts it over its top control.
#pragma once

#include <windows.h>

#include <string>

#include "framework/gdi_win.h"
#include "framework/subclass_win.h"

class CBannerStatic : public CSubclassWindow {
public:
    CBannerStatic();

    // Painted at the next repaint.
    void SetText(const std::string& text);
    const std::string& GetBannerText() const { return m_strText; }
    // Stores the height and builds the font again.
    void SetFontSize(int height);
    HFONT GetBannerFont() const { return m_font.Get(); }

    // Paints the whole client area into `target` at its origin.
    void Paint(HDC target) const;

    COLORREF m_crText = RGB(128, 0, 0);
    std::string m_strFaceName = "Arial";
    int m_nHeight = 18;
    int m_nWeight = 600;
    bool m_bUnderline = false;
    UINT m_nTextFlags = 0;  // added to DT_SINGLELINE | DT_VCENTER | DT_NOCLIP

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateBannerFont();

    std::string m_strText;
    CFontHandle m_font;
};
