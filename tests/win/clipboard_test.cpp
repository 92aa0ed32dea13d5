// Clipboard text and opening addresses (the shell and the registered browser, both faked).
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ui/clipboard_win.h"
#include "ui/open_url_win.h"

namespace {

// The CF_TEXT bytes up to the first zero, and the size of the block; false without text.
bool ReadClipboardText(std::string& text, size_t* blockSize = nullptr) {
    if (!::OpenClipboard(nullptr))
        return false;
    bool ok = false;
    if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(h))) {
            text = p;
            if (blockSize)
                *blockSize = ::GlobalSize(h);
            ::GlobalUnlock(h);
            ok = true;
        }
    }
    ::CloseClipboard();
    return ok;
}

}  // namespace

TEST(Clipboard, TextComesBackByteForByte) {
    std::string high;
    for (int b = 1; b < 256; ++b) high.push_back(static_cast<char>(b));
    const std::string cases[] = {
        "a.com\t<#FF0000>Free\t\t\t\t\t\t\t\r\nb.com\tNA\t\t\t\t\t\t\t\r\n",
        "one\r\n",
        high,
        std::string(1 << 20, 'x'),
    };
    for (const std::string& text : cases) {
        ASSERT_TRUE(CopyToClipboard(text));
        std::string back;
        size_t size = 0;
        ASSERT_TRUE(ReadClipboardText(back, &size));
        EXPECT_EQ(back, text);
        EXPECT_GE(size, text.size() + 1);
    }
}

TEST(Clipboard, BusyClipboardIsLeftAsItWas) {
    ASSERT_TRUE(CopyToClipboard("before"));
    std::atomic<int> stage{0};
    std::thread holder([&] {
        // Another thread's window holds the clipboard open until told to let go.
        HWND window = ::CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        ::GetModuleHandleA(nullptr), nullptr);
        if (window != nullptr && ::OpenClipboard(window))
            stage = 1;
        else
            stage = -1;
        while (stage == 1) ::Sleep(5);
        ::CloseClipboard();
        if (window != nullptr)
            ::DestroyWindow(window);
    });
    while (stage == 0) ::Sleep(5);
    ASSERT_EQ(stage.load(), 1);
    EXPECT_FALSE(CopyToClipboard("after"));
    stage = 2;
    holder.join();
    std::string back;
    ASSERT_TRUE(ReadClipboardText(back));
    EXPECT_EQ(back, "before");
}

namespace {

// A throw-away classes root under HKEY_CURRENT_USER, removed at the end.
class CTestClassesRoot {
public:
    CTestClassesRoot() {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kPath);
        ::RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_h,
                          nullptr);
    }
    ~CTestClassesRoot() {
        if (m_h)
            ::RegCloseKey(m_h);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kPath);
    }
    HKEY Get() const { return m_h; }
    void SetDefault(const std::string& key, const std::string& value, DWORD type = REG_SZ) {
        HKEY k = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(m_h, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                                    nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(k, nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
        ::RegCloseKey(k);
    }

private:
    static constexpr const char* kPath = "Software\\QuorvixTests\\OpenUrlClasses";
    HKEY m_h = nullptr;
};

struct CLaunchLog {
    INT_PTR shellResult = 2;  // "file not found" unless a case says otherwise
    UINT runResult = 33;
    std::vector<std::string> shellOpened;
    std::vector<std::string> commandLines;
    std::vector<int> shows;

    CUrlLauncher Launcher(HKEY root) {
        CUrlLauncher l;
        l.shellOpen = [this](const std::string& a, int show) {
            shellOpened.push_back(a);
            shows.push_back(show);
            return shellResult;
        };
        l.runCommand = [this](const std::string& c, int show) {
            commandLines.push_back(c);
            shows.push_back(show);
            return runResult;
        };
        l.classesRoot = root;
        return l;
    }
};

}  // namespace

TEST(OpenUrl, ShellFirstThenTheRegisteredBrowserWithTheAddressQuoted) {
    const std::string a = "http://www.example.com";
    struct Case {
        const char* what;
        INT_PTR shell;
        const char* fileType;  // null: no ".htm" key
        const char* command;   // null: no command key
        INT_PTR result;
        std::vector<std::string> lines;
    } cases[] = {
        {"the shell opens it", 42, "htmlfile", "\"C:\\b.exe\" \"%1\"", 42, {}},
        {"quoted placeholder",
         2,
         "htmlfile",
         "\"C:\\b.exe\" \"%1\" -x",
         33,
         {"\"C:\\b.exe\"  \"" + a + "\""}},
        {"bare placeholder", 2, "htmlfile", "C:\\b.exe %1", 33, {"C:\\b.exe  \"" + a + "\""}},
        {"no placeholder", 31, "htmlfile", "C:\\b.exe", 33, {"C:\\b.exe \"" + a + "\""}},
        {"no .htm key", 2, nullptr, nullptr, 2, {}},
        {"no open command", 5, "htmlfile", nullptr, 5, {}},
    };
    for (const Case& c : cases) {
        CTestClassesRoot root;
        if (c.fileType)
            root.SetDefault(".htm", c.fileType);
        if (c.command)
            root.SetDefault(std::string(c.fileType) + "\\shell\\open\\command", c.command);
        CLaunchLog log;
        log.shellResult = c.shell;
        EXPECT_EQ(OpenUrlWith(log.Launcher(root.Get()), a, SW_SHOWNORMAL), c.result) << c.what;
        EXPECT_EQ(log.shellOpened, std::vector<std::string>{a}) << c.what;
        EXPECT_EQ(log.commandLines, c.lines) << c.what;
        for (int show : log.shows) EXPECT_EQ(show, SW_SHOWNORMAL) << c.what;
    }
}

TEST(OpenUrl, UnreadableRegistryValuesCountAsEmpty) {
    const std::string a = "http://www.example.com";
    struct Case {
        const char* what;
        std::string value;
        DWORD type;
    } cases[] = {
        {"value longer than 260 bytes", std::string(300, 'h'), REG_SZ},
        {"value that is no text", "abcd", REG_BINARY},
        {"empty value", "", REG_SZ},
    };
    for (const Case& c : cases) {
        CTestClassesRoot root;
        root.SetDefault(".htm", c.value, c.type);
        std::string value = "old";
        EXPECT_TRUE(ReadUnnamedValue(root.Get(), ".htm", value)) << c.what;
        EXPECT_EQ(value, "") << c.what;
        // An empty file type names no key that can hold a command: the shell's result stays.
        CLaunchLog log;
        log.shellResult = 27;
        EXPECT_EQ(OpenUrlWith(log.Launcher(root.Get()), a, SW_SHOWNORMAL), 27) << c.what;
        EXPECT_TRUE(log.commandLines.empty()) << c.what;
    }
    std::string value = "old";
    CTestClassesRoot root;
    EXPECT_FALSE(ReadUnnamedValue(root.Get(), "no such key", value));
    EXPECT_EQ(value, "");
}

TEST(OpenUrl, AddressThatCouldBreakTheCommandLineIsNotOpened) {
    const std::string cases[] = {"", "http://www.x.com\" -evil \"", "http://www.x.com\r\n",
                                 std::string("http://www.x\0.com", 17)};
    for (const std::string& address : cases) {
        CTestClassesRoot root;
        root.SetDefault(".htm", "htmlfile");
        root.SetDefault("htmlfile\\shell\\open\\command", "C:\\b.exe %1");
        CLaunchLog log;
        EXPECT_EQ(OpenUrlWith(log.Launcher(root.Get()), address, SW_SHOWNORMAL), 0);
        EXPECT_TRUE(log.shellOpened.empty());
        EXPECT_TRUE(log.commandLines.empty());
    }
}

TEST(OpenUrl, InstalledLauncherIsUsed) {
    CLaunchLog log;
    log.shellResult = 42;
    CUrlLauncher previous = SetUrlLauncher(log.Launcher(HKEY_CLASSES_ROOT));
    EXPECT_EQ(OpenUrl("http://www.corvane.com", SW_SHOWNORMAL), 42);
    SetUrlLauncher(std::move(previous));
    EXPECT_EQ(log.shellOpened, std::vector<std::string>{"http://www.corvane.com"});
}
