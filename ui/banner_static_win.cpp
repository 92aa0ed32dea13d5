#include "ui/banner_static_win.h"

CBannerStatic::CBannerStatic() {
    CreateBannerFont();
}

void CBannerStatic::CreateBannerFont() {
    m_font.Reset(::CreateFontA(m_nHeight, 0, 0, 0, m_nWeight, FALSE, m_bUnderline ? TRUE : FALSE,
                               FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                               m_strFaceName.c_str()));
}

void CBannerStatic::SetText(const std::string& text) {
    m_strText = text;
    if (IsWindow())
        Invalidate(false);
}

void CBannerStatic::SetFontSize(int height) {
    m_nHeight = height;
    CreateBannerFont();
    if (IsWindow())
        Invalidate(false);
}

void CBannerStatic::Paint(HDC target) const {
    RECT rc = GetClientRect();
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (target == nullptr || width <= 0 || height <= 0)
        return;
    CMemoryDC memory(target);
    CBitmapHandle bitmap(::CreateCompatibleBitmap(target, width, height));
    if (!memory || !bitmap)
        return;
    CSelectObject selectBitmap(memory.Get(), bitmap.Get());
    ::FillRect(memory.Get(), &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(memory.Get(), TRANSPARENT);
    CSelectObject selectFont(memory.Get(), m_font.Get());
    ::SetTextColor(memory.Get(), m_crText);
    ::DrawTextA(memory.Get(), m_strText.c_str(), static_cast<int>(m_strText.size()), &rc,
                DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | m_nTextFlags);
    ::BitBlt(target, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT CBannerStatic::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            CPaintDC dc(m_hWnd);
            Paint(dc.Get());
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ERASEBKGND:
            return TRUE;  // the paint covers every pixel
        default:
            return DefaultProc(msg, wParam, lParam);
    }
}
