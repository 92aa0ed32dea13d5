// Thin, non-owning wrapper of a window handle with the text and child helpers the dialogs use.
// Texts are ANSI std::string of whatever length the window holds.
#pragma once

#include <windows.h>

#include <string>

// Whole window text; empty for a null or destroyed window.
std::string GetWindowTextString(HWND hWnd);
bool SetWindowTextString(HWND hWnd, const std::string& text);
// Window class name (up to 255 characters); empty for a null window.
std::string GetClassNameString(HWND hWnd);

class CWindow {
public:
    CWindow() = default;
    explicit CWindow(HWND hWnd) : m_hWnd(hWnd) {}

    HWND GetHandle() const { return m_hWnd; }
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach() {
        HWND h = m_hWnd;
        m_hWnd = nullptr;
        return h;
    }
    bool IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd) != FALSE; }

    std::string GetText() const { return GetWindowTextString(m_hWnd); }
    bool SetText(const std::string& text) const { return SetWindowTextString(m_hWnd, text); }

    CWindow GetItem(int id) const { return CWindow(::GetDlgItem(m_hWnd, id)); }
    std::string GetItemText(int id) const { return GetWindowTextString(::GetDlgItem(m_hWnd, id)); }
    bool SetItemText(int id, const std::string& text) const {
        return SetWindowTextString(::GetDlgItem(m_hWnd, id), text);
    }
    int GetId() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, msg, wParam, lParam);
    }
    bool Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, msg, wParam, lParam) != FALSE;
    }

    bool Move(int x, int y, int width, int height, bool repaint = true) const {
        return ::MoveWindow(m_hWnd, x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
    }
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    bool Show(int showCmd) const { return ::ShowWindow(m_hWnd, showCmd) != FALSE; }
    bool IsVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    void Enable(bool enable) const { ::EnableWindow(m_hWnd, enable ? TRUE : FALSE); }
    bool IsEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    void Invalidate(bool erase = true) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }

    HFONT GetFont() const { return reinterpret_cast<HFONT>(Send(WM_GETFONT)); }
    void SetFont(HFONT font, bool redraw = true) const {
        Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
    }

protected:
    HWND m_hWnd = nullptr;
};
