#include "framework/gdi_win.h"

CFontHandle CreateFontFrom(const LOGFONTA& lf) {
    return CFontHandle(::CreateFontIndirectA(&lf));
}

bool GetFontDescription(HFONT font, LOGFONTA& lf) {
    if (font == nullptr)
        return false;
    LOGFONTA got = {};
    if (::GetObjectA(font, sizeof got, &got) != static_cast<int>(sizeof got))
        return false;
    lf = got;
    return true;
}

COffscreenBitmap::COffscreenBitmap(HDC compatibleWith, int width, int height)
    : m_dc(compatibleWith) {
    if (!m_dc || width <= 0 || height <= 0)
        return;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down: row 0 first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap.Reset(::CreateDIBSection(m_dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_bitmap || bits == nullptr) {
        m_bitmap.Reset();
        return;
    }
    m_hOld = ::SelectObject(m_dc.Get(), m_bitmap.Get());
    m_bits = static_cast<const DWORD*>(bits);
    m_nWidth = width;
    m_nHeight = height;
}

COffscreenBitmap::~COffscreenBitmap() {
    if (m_hOld != nullptr)
        ::SelectObject(m_dc.Get(), m_hOld);
}

COLORREF COffscreenBitmap::GetPixel(int x, int y) const {
    if (m_bits == nullptr || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return CLR_INVALID;
    ::GdiFlush();
    const DWORD px = m_bits[static_cast<size_t>(y) * static_cast<size_t>(m_nWidth) + x];
    // DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
    return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}
