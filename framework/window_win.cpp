#include "framework/window_win.h"

#include <vector>

std::string GetWindowTextString(HWND hWnd) {
    if (hWnd == nullptr)
        return std::string();
    // The length can grow between the two calls (another thread typing); read until it fits.
    int length = ::GetWindowTextLengthA(hWnd);
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (length <= 0)
            return std::string();
        std::vector<char> buffer(static_cast<size_t>(length) + 2);
        const int got = ::GetWindowTextA(hWnd, buffer.data(), static_cast<int>(buffer.size()));
        if (got <= 0)
            return std::string();
        if (got <= length)
            return std::string(buffer.data(), static_cast<size_t>(got));
        length = ::GetWindowTextLengthA(hWnd) + 64;
    }
    return std::string();
}

bool SetWindowTextString(HWND hWnd, const std::string& text) {
    return hWnd != nullptr && ::SetWindowTextA(hWnd, text.c_str()) != FALSE;
}

std::string GetClassNameString(HWND hWnd) {
    if (hWnd == nullptr)
        return std::string();
    char buffer[256] = {};
    const int got = ::GetClassNameA(hWnd, buffer, static_cast<int>(sizeof buffer));
    return got > 0 ? std::string(buffer, static_cast<size_t>(got)) : std::string();
}

RECT CWindow::GetClientRect() const {
    RECT rc = {0, 0, 0, 0};
    if (m_hWnd != nullptr)
        ::GetClientRect(m_hWnd, &rc);
    return rc;
}

RECT CWindow::GetWindowRect() const {
    RECT rc = {0, 0, 0, 0};
    if (m_hWnd != nullptr)
        ::GetWindowRect(m_hWnd, &rc);
    return rc;
}
