// Move-only owners of GDI objects and device contexts, and the scoped selections and saved states
// that must be undone before an object or context goes away. Borrowed handles stay plain HFONT,
// HDC, ...; only what a class creates is held in one of these.
#pragma once

#include <windows.h>

#include <utility>

// An owned GDI object (HFONT, HBITMAP, HBRUSH, HPEN), deleted with the owner.
template <class THandle>
class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(THandle h) : m_h(h) {}
    ~CGdiObject() { Reset(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_h(other.Release()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    THandle Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
    THandle Release() { return std::exchange(m_h, nullptr); }
    void Reset(THandle h = nullptr) {
        if (m_h != nullptr && m_h != h)
            ::DeleteObject(m_h);
        m_h = h;
    }

private:
    THandle m_h = nullptr;
};

using CFontHandle = CGdiObject<HFONT>;
using CBitmapHandle = CGdiObject<HBITMAP>;
using CBrushHandle = CGdiObject<HBRUSH>;
using CPenHandle = CGdiObject<HPEN>;

// A font from a full description; null when the system refuses it.
CFontHandle CreateFontFrom(const LOGFONTA& lf);
// LOGFONT of a font handle; false when the handle is not a font.
bool GetFontDescription(HFONT font, LOGFONTA& lf);

// Selects an object into a context and puts the previous one back at destruction, so an owned
// object is never deleted while still selected.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object)
        : m_hDC(dc),
          m_hOld(dc != nullptr && object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
    ~CSelectObject() {
        if (m_hOld != nullptr && m_hOld != HGDI_ERROR)
            ::SelectObject(m_hDC, m_hOld);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// SaveDC at construction, RestoreDC at destruction: text colour, mode, clip region, selections.
class CSaveDC {
public:
    explicit CSaveDC(HDC dc) : m_hDC(dc), m_nSaved(dc != nullptr ? ::SaveDC(dc) : 0) {}
    ~CSaveDC() {
        if (m_nSaved != 0)
            ::RestoreDC(m_hDC, m_nSaved);
    }
    CSaveDC(const CSaveDC&) = delete;
    CSaveDC& operator=(const CSaveDC&) = delete;

private:
    HDC m_hDC;
    int m_nSaved;
};

// An owned memory device context (CreateCompatibleDC), deleted with the owner.
class CMemoryDC {
public:
    CMemoryDC() = default;
    explicit CMemoryDC(HDC compatibleWith) : m_hDC(::CreateCompatibleDC(compatibleWith)) {}
    ~CMemoryDC() { Reset(); }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    CMemoryDC(CMemoryDC&& other) noexcept : m_hDC(std::exchange(other.m_hDC, nullptr)) {}
    CMemoryDC& operator=(CMemoryDC&& other) noexcept {
        if (this != &other) {
            Reset();
            m_hDC = std::exchange(other.m_hDC, nullptr);
        }
        return *this;
    }

    HDC Get() const { return m_hDC; }
    explicit operator bool() const { return m_hDC != nullptr; }
    void Reset() {
        if (m_hDC != nullptr)
            ::DeleteDC(m_hDC);
        m_hDC = nullptr;
    }

private:
    HDC m_hDC = nullptr;
};

// A window's client-area context borrowed with GetDC and given back with ReleaseDC.
class CClientDC {
public:
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CClientDC() {
        if (m_hDC != nullptr)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

    HDC Get() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// BeginPaint / EndPaint around one WM_PAINT.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC Get() const { return m_hDC; }
    const PAINTSTRUCT& GetPaintStruct() const { return m_ps; }

private:
    HWND m_hWnd;
    HDC m_hDC = nullptr;
    PAINTSTRUCT m_ps = {};
};

// A 32-bit top-down bitmap selected into its own memory context, for painting off screen (and
// for tests that read back pixels). Empty when creation failed.
class COffscreenBitmap {
public:
    COffscreenBitmap(HDC compatibleWith, int width, int height);
    ~COffscreenBitmap();
    COffscreenBitmap(const COffscreenBitmap&) = delete;
    COffscreenBitmap& operator=(const COffscreenBitmap&) = delete;

    explicit operator bool() const { return m_bits != nullptr; }
    HDC GetDC() const { return m_dc.Get(); }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    // The pixel as a COLORREF; CLR_INVALID outside the bitmap.
    COLORREF GetPixel(int x, int y) const;

private:
    CMemoryDC m_dc;
    CBitmapHandle m_bitmap;
    HGDIOBJ m_hOld = nullptr;
    const DWORD* m_bits = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
};
