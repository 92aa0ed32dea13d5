// The Add Domain Names dialog, its banner, the text-file prompts and reading a text file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gdi_win.h"
#include "framework/settings_store.h"
#include "res/resource.h"
#include "tests/support/temp_dir.h"
#include "tests/win/modal_driver.h"
#include "ui/add_names_dlg_win.h"
#include "ui/file_prompt_win.h"

namespace {

// What the prompt hook saw, and what it answers.
struct CPromptScript {
    bool answer = true;
    std::string chosen;
    int calls = 0;
    bool open = false;
    std::string initial;
    std::string title;
};

class CHookedPrompt {
public:
    explicit CHookedPrompt(CPromptScript& script) {
        m_previous = SetFileDialogHook([&script](bool open, const std::string& initial,
                                                 const std::string& title, std::string& path) {
            ++script.calls;
            script.open = open;
            script.initial = initial;
            script.title = title;
            if (script.answer)
                path = script.chosen;
            return script.answer;
        });
    }
    ~CHookedPrompt() { SetFileDialogHook(std::move(m_previous)); }

private:
    FileDialogHook m_previous;
};

void SetEditText(HWND dialog, const std::string& text) {
    ::SetDlgItemTextA(dialog, IDC_NAMES_EDIT, text.c_str());
}

}  // namespace

TEST(AddNamesDlg, OkHandsOnWhatWasTyped) {
    const std::string cases[] = {"Alpha.com, beta.net\r\ngamma.org", "", std::string(100000, 'x')};
    for (const std::string& typed : cases) {
        CMemorySettingsStore store;
        CAddNamesDlg dlg(store);
        CModalDriver driver("Add Domain Names", [&](HWND h) {
            SetEditText(h, typed);
            CModalDriver::Click(h, IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_TRUE(driver.Ran());
        // Longer than an edit box takes by default: nothing of a big paste may be cut off.
        EXPECT_EQ(dlg.m_strResult.size(), typed.size());
        EXPECT_EQ(dlg.m_strResult, typed);
    }
}

TEST(AddNamesDlg, CancelHandsOnNothing) {
    CMemorySettingsStore store;
    CAddNamesDlg dlg(store);
    CModalDriver driver("Add Domain Names", [&](HWND h) {
        SetEditText(h, "typed.com");
        CModalDriver::Click(h, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_strResult, "");
}

TEST(AddNamesDlg, BannerPaintsTheNoteCentredInItsFont) {
    CMemorySettingsStore store;
    CAddNamesDlg dlg(store);
    CModalDriver driver("Add Domain Names", [&](HWND h) {
        CBannerStatic& banner = dlg.GetBanner();
        EXPECT_EQ(banner.GetHandle(), ::GetDlgItem(h, IDC_BANNER));
        EXPECT_EQ(banner.GetBannerText(),
                  "Note: Supports only Com, Net, Org, Edu, Info, Biz Domains.");
        LOGFONTA lf = {};
        ASSERT_TRUE(GetFontDescription(banner.GetBannerFont(), lf));
        EXPECT_EQ(lf.lfHeight, 14);
        EXPECT_EQ(lf.lfWeight, 600);
        EXPECT_FALSE(lf.lfUnderline);
        EXPECT_STREQ(lf.lfFaceName, "Arial");
        EXPECT_EQ(banner.m_crText, RGB(128, 0, 0));

        const RECT rc = banner.GetClientRect();
        CClientDC screen(h);
        COffscreenBitmap bitmap(screen.Get(), rc.right, rc.bottom);
        ASSERT_TRUE(bitmap);
        ::FillRect(bitmap.GetDC(), &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        banner.Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bitmap.GetDC()), PRF_CLIENT);
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        int left = rc.right, right = -1, reddish = 0;
        for (int y = 0; y < rc.bottom; ++y) {
            for (int x = 0; x < rc.right; ++x) {
                const COLORREF c = bitmap.GetPixel(x, y);
                if (c == face)
                    continue;
                left = std::min(left, x);
                right = std::max(right, x);
                if (GetRValue(c) > GetGValue(c) + 40 && GetRValue(c) > GetBValue(c) + 40)
                    ++reddish;
            }
        }
        // The whole client area is covered (no black left) and the text is dark red, centred.
        EXPECT_EQ(bitmap.GetPixel(0, 0), face);
        EXPECT_EQ(bitmap.GetPixel(rc.right - 1, rc.bottom - 1), face);
        EXPECT_GT(reddish, 20);
        ASSERT_LE(left, right);
        EXPECT_NEAR(left, rc.right - 1 - right, 4) << left << ".." << right << " of " << rc.right;
        CModalDriver::Click(h, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_TRUE(driver.Ran());
}

TEST(AddNamesDlg, ChosenFileIsImportedAtOnceAndTheEditBoxIgnored) {
    CTempDir dir;
    const std::string path = dir.File("names.txt");
    ASSERT_TRUE(WriteFileBytes(path, "file.com\r\nother.net"));
    CPromptScript script;
    script.chosen = path;
    CHookedPrompt hook(script);
    CMemorySettingsStore store;
    CAddNamesDlg dlg(store);
    CModalDriver driver("Add Domain Names", [&](HWND h) {
        SetEditText(h, "typed.com");
        CModalDriver::Click(h, IDC_IMPORT_FILE);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strResult, "file.com\r\nother.net");
    EXPECT_EQ(script.calls, 1);
    EXPECT_TRUE(script.open);
    EXPECT_EQ(script.title, "Import Domain Names From");
}

TEST(AddNamesDlg, NothingToImportKeepsTheDialogOpen) {
    CTempDir dir;
    const std::string empty = dir.File("empty.txt");
    ASSERT_TRUE(WriteFileBytes(empty, ""));
    struct Case {
        const char* what;
        bool answer;
        std::string path;
    } cases[] = {
        {"prompt cancelled", false, ""},
        {"empty file", true, empty},
        {"file that cannot be opened", true, dir.File("missing.txt")},
    };
    for (const Case& c : cases) {
        CPromptScript script;
        script.answer = c.answer;
        script.chosen = c.path;
        CHookedPrompt hook(script);
        CMemorySettingsStore store;
        CAddNamesDlg dlg(store);
        bool stayedOpen = false;
        CModalDriver driver("Add Domain Names", [&](HWND h) {
            SetEditText(h, "typed.com");
            CModalDriver::Click(h, IDC_IMPORT_FILE);
            stayedOpen = ::IsWindowVisible(h) != FALSE;
            CModalDriver::Click(h, IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK) << c.what;
        EXPECT_TRUE(stayedOpen) << c.what;
        EXPECT_EQ(dlg.m_strResult, "typed.com") << c.what;  // the edit box still counts
    }
}

TEST(FilePrompt, RemembersTheFolderOfTheChosenFile) {
    CMemorySettingsStore store;
    CPromptScript script;
    CHookedPrompt hook(script);
    std::string path = "unchanged";

    script.chosen = "C:\\data\\lists\\names.txt";
    ASSERT_TRUE(PromptOpenFile(store, path, "Import Domain Names From"));
    EXPECT_EQ(path, "C:\\data\\lists\\names.txt");
    EXPECT_EQ(script.initial, "");
    EXPECT_EQ(store.GetString("File Path", "txt"), "C:\\data\\lists\\*.txt");

    // The save prompt shares the entry: it starts where the open prompt left off.
    script.chosen = "D:\\out\\export.txt";
    ASSERT_TRUE(PromptSaveFile(store, path, "Save File Name"));
    EXPECT_FALSE(script.open);
    EXPECT_EQ(script.initial, "C:\\data\\lists\\*.txt");
    EXPECT_EQ(store.GetString("File Path", "txt"), "D:\\out\\*.txt");

    // Cancel: the caller's text and the remembered folder stay.
    script.answer = false;
    path = "kept";
    EXPECT_FALSE(PromptOpenFile(store, path, "t"));
    EXPECT_EQ(path, "kept");
    EXPECT_EQ(store.GetString("File Path", "txt"), "D:\\out\\*.txt");

    // A name without any folder changes nothing that is remembered.
    script.answer = true;
    script.chosen = "bare.txt";
    EXPECT_TRUE(PromptOpenFile(store, path, "t"));
    EXPECT_EQ(store.GetString("File Path", "txt"), "D:\\out\\*.txt");
}

TEST(FilePrompt, RememberedPatternIsFolderStarDotExtension) {
    struct Case {
        const char* path;
        const char* pattern;
    } cases[] = {
        {"C:\\a\\b.txt", "C:\\a\\*.txt"},
        {"C:\\names", "C:\\*.txt"},
        {"\\\\server\\share\\x.csv", "\\\\server\\share\\*.txt"},
        {"relative.txt", ""},
        {"", ""},
        {"C:/forward/slash.txt", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RememberedFolderPattern(c.path, "txt"), c.pattern) << c.path;
}

TEST(FilePrompt, SystemOpenDialogShowsTheTitleAndCancels) {
    CMemorySettingsStore store;
    CTempDir dir;
    store.WriteString("File Path", "txt", dir.Path() + "\\*.txt");
    CModalDriver driver(
        "Import Domain Names From", [](HWND h) { ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0); },
        15000);
    std::string path = "kept";
    EXPECT_FALSE(PromptOpenFile(store, path, "Import Domain Names From"));
    EXPECT_TRUE(driver.Ran());
    EXPECT_EQ(path, "kept");
}

TEST(FilePrompt, MissingRememberedFolderStillShowsThePrompt) {
    CMemorySettingsStore store;
    store.WriteString("File Path", "txt", "Q:\\no\\such\\folder\\*.txt");
    CModalDriver driver(
        "Save File Name", [](HWND h) { ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0); }, 15000);
    std::string path;
    EXPECT_FALSE(PromptSaveFile(store, path, "Save File Name"));
    EXPECT_TRUE(driver.Ran());
}

TEST(ReadTextFile, ReadsWholeFilesAndStopsAtTheFirstZeroByte) {
    CTempDir dir;
    std::string binary;
    for (int b = 1; b < 256; ++b) binary.push_back(static_cast<char>(b));
    struct Case {
        const char* what;
        std::string bytes;
        int length;
        std::string text;
    } cases[] = {
        {"plain", "a.com b.net", 11, "a.com b.net"},
        {"zero byte inside", std::string("a.com\0b.net", 11), 11, "a.com"},
        {"zero byte first", std::string("\0a.com", 6), 6, ""},
        {"empty", "", 0, ""},
        {"every other byte", binary, 255, binary},
        {"large", std::string(3 << 20, 'n'), 3 << 20, std::string(3 << 20, 'n')},
    };
    for (const Case& c : cases) {
        const std::string path = dir.File("file.txt");
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        std::string text = "old";
        EXPECT_EQ(ReadTextFile(path, text), c.length) << c.what;
        EXPECT_EQ(text, c.text) << c.what;
    }
    std::string text = "old";
    EXPECT_EQ(ReadTextFile(dir.File("missing.txt"), text), 0);
    EXPECT_EQ(text, "");
    EXPECT_EQ(ReadTextFile(dir.Path(), text), 0);  // a folder is no file
}

TEST(ReadTextFile, ImportTextFileReadsTheChosenFile) {
    CTempDir dir;
    const std::string path = dir.File("n.txt");
    ASSERT_TRUE(WriteFileBytes(path, "x.org"));
    CPromptScript script;
    script.chosen = path;
    CHookedPrompt hook(script);
    CMemorySettingsStore store;
    std::string text;
    EXPECT_EQ(ImportTextFile(store, text, "T"), 5);
    EXPECT_EQ(text, "x.org");
    EXPECT_EQ(script.title, "T");
    script.answer = false;
    EXPECT_EQ(ImportTextFile(store, text, "T"), 0);
}
