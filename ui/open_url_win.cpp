#include "ui/open_url_win.h"

#include <shellapi.h>

#include "ui/browse.h"

namespace {

CUrlLauncher& Installed() {
    static CUrlLauncher launcher = SystemUrlLauncher();
    return launcher;
}

// An open registry key, closed with the owner.
class CRegKey {
public:
    CRegKey(HKEY root, const std::string& key) {
        if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &m_h) != ERROR_SUCCESS)
            m_h = nullptr;
    }
    ~CRegKey() {
        if (m_h != nullptr)
            ::RegCloseKey(m_h);
    }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    HKEY Get() const { return m_h; }

private:
    HKEY m_h = nullptr;
};

constexpr DWORD kMaxValueBytes = 260;

bool IsSafeAddress(const std::string& address) {
    if (address.empty())
        return false;
    for (char ch : address) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == '"')
            return false;
    }
    return true;
}

}  // namespace

CUrlLauncher SystemUrlLauncher() {
    CUrlLauncher launcher;
    launcher.shellOpen = [](const std::string& address, int showCmd) {
        return reinterpret_cast<INT_PTR>(
            ::ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, showCmd));
    };
    launcher.runCommand = [](const std::string& commandLine, int showCmd) {
        return ::WinExec(commandLine.c_str(), static_cast<UINT>(showCmd));
    };
    launcher.classesRoot = HKEY_CLASSES_ROOT;
    return launcher;
}

CUrlLauncher SetUrlLauncher(CUrlLauncher launcher) {
    CUrlLauncher previous = std::move(Installed());
    Installed() = std::move(launcher);
    return previous;
}

bool ReadUnnamedValue(HKEY root, const std::string& key, std::string& value) {
    value.clear();
    CRegKey opened(root, key);
    if (opened.Get() == nullptr)
        return false;
    char data[kMaxValueBytes + 1] = {};
    DWORD type = 0;
    DWORD size = kMaxValueBytes;
    if (::RegQueryValueExA(opened.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data),
                           &size) != ERROR_SUCCESS)
        return true;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return true;
    // The stored bytes need not end in a zero; the extra byte of `data` always does.
    data[size <= kMaxValueBytes ? size : kMaxValueBytes] = '\0';
    value = data;
    return true;
}

INT_PTR OpenUrl(const std::string& address, int showCmd) {
    return OpenUrlWith(Installed(), address, showCmd);
}

INT_PTR OpenUrlWith(const CUrlLauncher& launcher, const std::string& address, int showCmd) {
    if (!IsSafeAddress(address))
        return 0;
    const INT_PTR shell = launcher.shellOpen ? launcher.shellOpen(address, showCmd) : 0;
    if (shell > 32)
        return shell;
    std::string fileType;
    if (!ReadUnnamedValue(launcher.classesRoot, ".htm", fileType))
        return shell;
    std::string command;
    if (!ReadUnnamedValue(launcher.classesRoot, OpenCommandKey(fileType), command))
        return shell;
    if (!launcher.runCommand)
        return shell;
    return static_cast<INT_PTR>(
        launcher.runCommand(BuildBrowserCommandLine(command, address), showCmd));
}
