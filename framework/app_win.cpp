#include "framework/app_win.h"

#include <commctrl.h>

#include <vector>

#include "framework/module_path.h"

HINSTANCE GetResourceInstance() {
    return ::GetModuleHandleA(nullptr);
}

std::string GetModulePath() {
    // GetModuleFileNameA truncates silently when the buffer is short; grow until the path fits.
    std::vector<char> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD got = ::GetModuleFileNameA(nullptr, buffer.data(), size);
        if (got == 0)
            return std::string();
        if (got < size)
            return std::string(buffer.data(), got);
        buffer.resize(buffer.size() * 2);
    }
    return std::string();
}

std::string GetAppName() {
    return AppNameFromModulePath(GetModulePath());
}

bool InitCommonControlsOnce() {
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    return ::InitCommonControlsEx(&icc) != FALSE;
}

std::string LoadResourceString(UINT id) {
    // LoadStringA copies at most the buffer less one; grow until the string fits.
    std::vector<char> buffer(1024);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const int got = ::LoadStringA(GetResourceInstance(), id, buffer.data(),
                                      static_cast<int>(buffer.size()));
        if (got <= 0)
            return std::string();
        if (static_cast<size_t>(got) + 1 < buffer.size())
            return std::string(buffer.data(), static_cast<size_t>(got));
        buffer.resize(buffer.size() * 4);
    }
    return std::string();
}

int AppMessageBox(HWND owner, const std::string& text, UINT type) {
    if (owner == nullptr)
        owner = ::GetActiveWindow();
    const std::string caption = GetAppName();
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type | MB_ICONEXCLAMATION);
}
