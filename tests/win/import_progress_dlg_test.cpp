// The import progress window: owner disabling, Cancel requests between polls, status line.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "domains/domain_array.h"
#include "domains/intake.h"
#include "res/resource.h"
#include "tests/win/modal_driver.h"
#include "ui/import_progress_dlg_win.h"

namespace {

// A plain top-level window standing in for the main window.
class COwnerWindow {
public:
    COwnerWindow()
        : m_h(::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                100, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr)) {}
    ~COwnerWindow() {
        if (::IsWindow(m_h))
            ::DestroyWindow(m_h);
    }
    HWND Get() const { return m_h; }

private:
    HWND m_h;
};

void PressCancel(const CImportProgressDlg& dlg) {
    CModalDriver::Click(dlg.GetHandle(), IDCANCEL);
}

}  // namespace

TEST(ImportProgressDlg, DisablesItsOwnerOnlyWhileOpen) {
    COwnerWindow owner;
    {
        CImportProgressDlg dlg;
        ASSERT_TRUE(dlg.Start(owner.Get()));
        EXPECT_FALSE(::IsWindowEnabled(owner.Get()));
        EXPECT_TRUE(::IsWindowVisible(dlg.GetHandle()));
        EXPECT_EQ(::GetWindow(dlg.GetHandle(), GW_OWNER), owner.Get());
        dlg.Close();
        EXPECT_TRUE(::IsWindowEnabled(owner.Get()));
        EXPECT_EQ(dlg.GetHandle(), nullptr);
    }
    {
        CImportProgressDlg dlg;
        ASSERT_TRUE(dlg.Start(owner.Get()));
    }  // destroying the object closes the window
    EXPECT_TRUE(::IsWindowEnabled(owner.Get()));
}

TEST(ImportProgressDlg, OwnerDisabledBeforehandStaysDisabled) {
    COwnerWindow owner;
    ::EnableWindow(owner.Get(), FALSE);
    CImportProgressDlg dlg;
    ASSERT_TRUE(dlg.Start(owner.Get()));
    dlg.Close();
    EXPECT_FALSE(::IsWindowEnabled(owner.Get()));
}

TEST(ImportProgressDlg, TwoCancelPressesBetweenPollsAreOneRequest) {
    COwnerWindow owner;
    CImportProgressDlg dlg;
    ASSERT_TRUE(dlg.Start(owner.Get()));
    EXPECT_FALSE(dlg.PollCancel());
    PressCancel(dlg);
    PressCancel(dlg);
    EXPECT_TRUE(::IsWindow(dlg.GetHandle()));  // Cancel asks; the window stays
    EXPECT_TRUE(dlg.PollCancel());
    EXPECT_FALSE(dlg.PollCancel());  // the flag is clear after a poll
}

TEST(ImportProgressDlg, CancelWaitingInTheQueueIsServedByThePoll) {
    struct Case {
        const char* what;
        UINT msg;
        WPARAM wParam;
    } cases[] = {
        {"click posted", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)},
        {"Escape key", WM_KEYDOWN, VK_ESCAPE},
        {"close box", WM_CLOSE, 0},
    };
    for (const Case& c : cases) {
        COwnerWindow owner;
        CImportProgressDlg dlg;
        ASSERT_TRUE(dlg.Start(owner.Get()));
        HWND target =
            c.msg == WM_KEYDOWN ? ::GetDlgItem(dlg.GetHandle(), IDCANCEL) : dlg.GetHandle();
        ::PostMessageA(target, c.msg, c.wParam, 0);
        EXPECT_TRUE(dlg.PollCancel()) << c.what;
        EXPECT_FALSE(dlg.PollCancel()) << c.what;
        EXPECT_TRUE(::IsWindow(dlg.GetHandle())) << c.what;
    }
}

TEST(ImportProgressDlg, QuitRequestIsKeptForTheMainLoop) {
    COwnerWindow owner;
    CImportProgressDlg dlg;
    ASSERT_TRUE(dlg.Start(owner.Get()));
    ::PostQuitMessage(7);
    EXPECT_TRUE(dlg.PollCancel());
    dlg.Close();
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(ImportProgressDlg, StatusLineAndHiddenProgressBar) {
    COwnerWindow owner;
    CImportProgressDlg dlg;
    ASSERT_TRUE(dlg.Start(owner.Get()));
    HWND bar = ::GetDlgItem(dlg.GetHandle(), IDC_PROGRESS_BAR);
    PBRANGE range = {};
    ::SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
    EXPECT_TRUE(::IsWindowVisible(bar));
    dlg.ShowStatus("Importing Domain Names");
    dlg.HideProgressBar();
    EXPECT_EQ(dlg.GetItemText(IDC_PROGRESS_STATUS), "Importing Domain Names");
    EXPECT_FALSE(::IsWindowVisible(bar));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dlg.GetHandle(), IDC_PROGRESS_PERCENT)));
}

TEST(ImportProgressDlg, WithoutAWindowStatusAndPollDoNothing) {
    CImportProgressDlg dlg;
    dlg.ShowStatus("x");
    dlg.HideProgressBar();
    ::PostMessageA(nullptr, WM_NULL, 0, 0);
    EXPECT_FALSE(dlg.PollCancel());
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_NULL, WM_NULL, PM_REMOVE));  // left alone
    dlg.Close();
}

TEST(ImportProgressDlg, ImportShowsCountsAndCancelKeepsWhatWasAdded) {
    struct Case {
        const char* what;
        bool cancelFirst;
        int added;
        const char* status;
    } cases[] = {
        {"runs to the end", false, 3, "3 names imported"},
        {"cancel waiting before the first poll", true, 1, "Importing Domain Names"},
    };
    for (const Case& c : cases) {
        COwnerWindow owner;
        CImportProgressDlg dlg;
        ASSERT_TRUE(dlg.Start(owner.Get()));
        dlg.HideProgressBar();
        if (c.cancelFirst)
            ::PostMessageA(dlg.GetHandle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        CDomainArray domains;
        EXPECT_EQ(ImportNames(domains, "a.com b.net c.org", &dlg), c.added) << c.what;
        EXPECT_EQ(domains.GetCount(), c.added) << c.what;
        EXPECT_EQ(dlg.GetItemText(IDC_PROGRESS_STATUS), c.status) << c.what;
        dlg.Close();
        EXPECT_TRUE(::IsWindowEnabled(owner.Get()));
    }
}
