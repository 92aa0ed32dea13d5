// The main window's Add, Configure, About, copy, export, browse and sort commands, on the real
// window with its modal dialogs driven from inside their loops.
#include "tests/win/checker_dlg_test_fixture.h"

#include <cstring>

#include "framework/window_win.h"
#include "tests/win/modal_driver.h"
#include "ui/file_prompt_win.h"
#include "ui/open_url_win.h"

namespace {

std::string ClipboardText() {
    std::string text;
    if (!::OpenClipboard(nullptr))
        return "<not open>";
    if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(h))) {
            text = p;
            ::GlobalUnlock(h);
        }
    } else {
        text = "<no text>";
    }
    ::CloseClipboard();
    return text;
}

void PutOnClipboard(const std::string& text) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(::GlobalLock(h), text.c_str(), text.size() + 1);
    ::GlobalUnlock(h);
    ::SetClipboardData(CF_TEXT, h);
    ::CloseClipboard();
}

std::vector<std::string> Names(CCheckerDlg& dlg) {
    std::vector<std::string> names;
    for (int i = 0; i < dlg.GetDomains().GetCount(); ++i)
        names.push_back(dlg.GetDomains().GetRecord(i)->m_strName);
    return names;
}

// Answers file prompts with a fixed path and counts them.
class CPathHook {
public:
    CPathHook(bool answer, std::string path) {
        m_previous = SetFileDialogHook(
            [this, answer, path](bool, const std::string&, const std::string&, std::string& out) {
                ++calls;
                if (answer)
                    out = path;
                return answer;
            });
    }
    ~CPathHook() { SetFileDialogHook(std::move(m_previous)); }
    int calls = 0;

private:
    FileDialogHook m_previous;
};

// Records the addresses the window tries to open; never starts a browser.
class COpenedUrls {
public:
    COpenedUrls() {
        CUrlLauncher l;
        l.shellOpen = [this](const std::string& a, int show) {
            opened.push_back(a);
            shows.push_back(show);
            return INT_PTR{42};
        };
        l.runCommand = [](const std::string&, int) { return UINT{0}; };
        m_previous = SetUrlLauncher(std::move(l));
    }
    ~COpenedUrls() { SetUrlLauncher(std::move(m_previous)); }
    std::vector<std::string> opened;
    std::vector<int> shows;

private:
    CUrlLauncher m_previous;
};

using CheckerCommandsTest = CheckerDlgTest;

TEST_F(CheckerCommandsTest, AddImportsTheTypedNamesAndUpdatesTheRowCount) {
    WriteDataFile({"kept.com"});
    Open();
    bool mainDisabledDuringDialog = false;
    CModalDriver driver("Add Domain Names", [&](HWND h) {
        mainDisabledDuringDialog = !::IsWindowEnabled(Window());
        ::SetDlgItemTextA(h, IDC_NAMES_EDIT,
                          "Alpha.COM, beta.net\r\nbad.de http://www.gamma.org/x.html");
        CModalDriver::Click(h, IDOK);
    });
    Command(IDC_ADD);
    EXPECT_TRUE(driver.Ran());
    EXPECT_TRUE(mainDisabledDuringDialog);
    EXPECT_EQ(Names(*m_dlg),
              (std::vector<std::string>{"kept.com", "alpha.com", "beta.net", "gamma.org"}));
    EXPECT_EQ(ItemCount(), 4);
    EXPECT_TRUE(::IsWindowEnabled(Window()));  // the progress window gave it back
    EXPECT_EQ(CModalDriver::FindThreadWindow(""), nullptr);
}

TEST_F(CheckerCommandsTest, AddCancelledOrEmptyAddsNothing) {
    struct Case {
        const char* what;
        int button;
        const char* text;
    } cases[] = {{"Cancel", IDCANCEL, "a.com"}, {"OK on an empty box", IDOK, ""}};
    for (const Case& c : cases) {
        Open();
        CModalDriver driver("Add Domain Names", [&](HWND h) {
            ::SetDlgItemTextA(h, IDC_NAMES_EDIT, c.text);
            CModalDriver::Click(h, c.button);
        });
        Command(IDC_ADD);
        EXPECT_TRUE(driver.Ran()) << c.what;
        EXPECT_EQ(ItemCount(), 0) << c.what;
        EXPECT_TRUE(::IsWindowEnabled(Window())) << c.what;
        m_dlg.reset();
    }
}

TEST_F(CheckerCommandsTest, AddImportsAChosenTextFile) {
    const std::string file = m_dir.File("names.txt");
    ASSERT_TRUE(WriteFileBytes(file, "one.com\r\ntwo.net\r\n"));
    CPathHook hook(true, file);
    Open();
    CModalDriver driver("Add Domain Names", [&](HWND h) {
        ::SetDlgItemTextA(h, IDC_NAMES_EDIT, "typed.com");
        CModalDriver::Click(h, IDC_IMPORT_FILE);
    });
    Command(IDC_ADD);
    EXPECT_EQ(Names(*m_dlg), (std::vector<std::string>{"one.com", "two.net"}));
    EXPECT_EQ(m_store->GetString("File Path", "txt"), RememberedFolderPattern(file, "txt"));
}

TEST_F(CheckerCommandsTest, CopyCommandsPutTheRowsWithoutTheBlueTag) {
    WriteDataFile({"free.com", "taken.net", "held.org"});
    Open();
    CDomainArray& d = m_dlg->GetDomains();
    d.SetState("free.com", STATE_FREE, CDateTime());
    d.SetState("taken.net", STATE_TAKEN, CDateTime());
    d.SetStatusText("held.org", "clientHold");
    d.SetRegistrar("taken.net", "Registrar <#0000FF>Inc");
    const std::string free = "free.com\t<#FF0000>Free\t\t\t\t\t\t\t\r\n";
    const std::string taken = "taken.net\tNA\t\t\t\t\t\tRegistrar Inc\t\r\n";
    const std::string held = "held.org\tCLIENTHOLD\t\t\t\t\t\t\t\r\n";
    struct Case {
        const char* what;
        int command;
        std::vector<int> selected;
        std::string clipboard;
    } cases[] = {
        {"all entries", ID_COPY_ALL, {}, free + taken + held},
        {"selected entries", ID_COPY_SELECTED, {2, 0}, free + held},
        {"all names", ID_COPY_NAMES, {1}, "free.com\t\r\ntaken.net\t\r\nheld.org\t\r\n"},
        {"nothing selected keeps the clipboard", ID_COPY_SELECTED, {}, "sentinel"},
    };
    for (const Case& c : cases) {
        PutOnClipboard("sentinel");
        SelectRows(c.selected);
        Command(c.command);
        EXPECT_EQ(ClipboardText(), c.clipboard) << c.what;
    }
}

TEST_F(CheckerCommandsTest, CopyOfAnEmptyListKeepsTheClipboard) {
    Open();
    for (int command : {ID_COPY_ALL, ID_COPY_SELECTED, ID_COPY_NAMES}) {
        PutOnClipboard("sentinel");
        Command(command);
        EXPECT_EQ(ClipboardText(), "sentinel") << command;
    }
}

TEST_F(CheckerCommandsTest, ExportWritesTheClipboardBytes) {
    WriteDataFile({"a.com", "b.net"});
    Open();
    m_dlg->GetDomains().SetState("b.net", STATE_TAKEN, CDateTime());
    const std::string file = m_dir.File("export.txt");
    CPathHook hook(true, file);
    struct Case {
        int exportCommand;
        int copyCommand;
        std::vector<int> selected;
    } cases[] = {{ID_EXPORT_ALL, ID_COPY_ALL, {}}, {ID_EXPORT_SELECTED, ID_COPY_SELECTED, {1}}};
    for (const Case& c : cases) {
        SelectRows(c.selected);
        Command(c.exportCommand);
        Command(c.copyCommand);
        EXPECT_EQ(ReadFileBytes(file), ClipboardText()) << c.exportCommand;
    }
    EXPECT_EQ(ReadFileBytes(file), "b.net\tNA\t\t\t\t\t\t\t\r\n");
    SelectRows({});
    Command(ID_EXPORT_ALL);
    EXPECT_EQ(ReadFileBytes(file), "a.com\t?\t\t\t\t\t\t\t\r\nb.net\tNA\t\t\t\t\t\t\t\r\n");
    EXPECT_TRUE(m_prompt.asked.empty());
}

TEST_F(CheckerCommandsTest, ExportWithNothingToWriteShowsNoPrompt) {
    WriteDataFile({"a.com"});
    Open();
    CPathHook hook(true, m_dir.File("never.txt"));
    SelectRows({});
    Command(ID_EXPORT_SELECTED);
    EXPECT_EQ(hook.calls, 0);
    EXPECT_FALSE(FileExists(m_dir.File("never.txt")));
}

TEST_F(CheckerCommandsTest, ExportThatCannotBeWrittenSaysSoNamingTheFile) {
    WriteDataFile({"a.com"});
    Open();
    const std::string file = m_dir.File("missing-folder\\export.txt");
    CPathHook hook(true, file);
    Command(ID_EXPORT_ALL);
    ASSERT_EQ(m_prompt.asked.size(), 1u);
    EXPECT_NE(m_prompt.asked[0].text.find(file), std::string::npos) << m_prompt.asked[0].text;
    EXPECT_EQ(m_prompt.asked[0].type & 0x0F, static_cast<UINT>(MB_OK));
}

TEST_F(CheckerCommandsTest, BrowseOpensTheTopMostSelectedSiteOnly) {
    WriteDataFile({"first.com", "second.net", "third.org"});
    Open();
    m_dlg->GetDomains().AddName("two words.com");  // AddName takes it; no browser may get it
    m_dlg->GetList().SetItemCount(m_dlg->GetDomains().GetCount());
    struct Case {
        std::vector<int> selected;
        std::vector<std::string> opened;
    } cases[] = {
        {{2, 1}, {"http://www.second.net"}},
        {{}, {}},
        {{3}, {}},
        {{0, 3}, {"http://www.first.com"}},
    };
    for (const Case& c : cases) {
        COpenedUrls urls;
        SelectRows(c.selected);
        Command(ID_BROWSE_WEBSITE);
        EXPECT_EQ(urls.opened, c.opened);
        for (int show : urls.shows) EXPECT_EQ(show, SW_SHOWNORMAL);
    }
}

TEST_F(CheckerCommandsTest, MakerButtonOpensTheHomePage) {
    Open();
    COpenedUrls urls;
    Command(IDC_MAKER);
    EXPECT_EQ(urls.opened, std::vector<std::string>{"http://www.corvane.com"});
}

TEST_F(CheckerCommandsTest, ColumnClickSortsAndAsksForARepaint) {
    WriteDataFile({"b.com", "C.com", "a.com"});
    Open();
    struct Case {
        int column;
        std::vector<std::string> order;
        bool repaint;
    } cases[] = {
        {0, {"b.com", "C.com", "a.com"}, false},
        {1, {"a.com", "b.com", "C.com"}, true},
        {2, {"a.com", "b.com", "C.com"}, true},  // no status texts: unchanged
    };
    for (const Case& c : cases) {
        MSG msg;
        while (::PeekMessageA(&msg, Window(), WM_USER, WM_USER, PM_REMOVE)) {
        }
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = List();
        click.hdr.idFrom = IDC_DOMAIN_LIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = c.column;
        EXPECT_EQ(
            ::SendMessageA(Window(), WM_NOTIFY, IDC_DOMAIN_LIST, reinterpret_cast<LPARAM>(&click)),
            0);
        EXPECT_EQ(Names(*m_dlg), c.order) << c.column;
        const bool posted = ::PeekMessageA(&msg, Window(), WM_USER, WM_USER, PM_REMOVE) != FALSE;
        EXPECT_EQ(posted, c.repaint) << c.column;
        if (posted) {
            EXPECT_EQ(msg.wParam, static_cast<WPARAM>(LOOKUP_REPAINT));
            EXPECT_EQ(msg.lParam, 0);
        }
    }
    EXPECT_EQ(CellText(0, 0), "1");
    EXPECT_EQ(CellText(0, 1), "a.com");
}

TEST_F(CheckerCommandsTest, AboutOpensFromTheButtonAndTheSystemMenu) {
    Open();
    for (int via = 0; via < 2; ++via) {
        std::string product;
        CModalDriver driver("About", [&](HWND h) {
            for (HWND c = ::GetWindow(h, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
                if (GetWindowTextString(c) == "Quorvix")
                    product = "Quorvix";
            }
            CModalDriver::Click(h, IDOK);
        });
        if (via == 0)
            Command(IDC_ABOUT);
        else
            ::SendMessageA(Window(), WM_SYSCOMMAND, ID_ABOUTBOX, 0);
        EXPECT_TRUE(driver.Ran()) << via;
        EXPECT_EQ(product, "Quorvix") << via;
    }
}

TEST_F(CheckerCommandsTest, ConfigureOpensOnTheWindowsStore) {
    Open();
    int rows = 0;
    CModalDriver driver("Configure", [&](HWND h) {
        rows = static_cast<int>(::SendDlgItemMessageA(h, IDC_EXTENSION_LIST, LB_GETCOUNT, 0, 0));
        CModalDriver::Click(h, IDOK);
    });
    Command(IDC_CONFIGURE);
    EXPECT_TRUE(driver.Ran());
    EXPECT_EQ(rows, 21);
    EXPECT_EQ(m_store->GetString("Domains", "1"), "com");
}

}  // namespace
