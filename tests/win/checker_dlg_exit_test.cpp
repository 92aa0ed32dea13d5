// How the main window ends: the data file written at destruction (or kept when the list is
// empty), saving at the end of the session, a data file that cannot be written, and the window
// placement stored at Close and restored at the next start.
#include "tests/win/checker_dlg_test_fixture.h"

#include <filesystem>

#include "ui/window_placement.h"

namespace {

std::vector<std::string> NamesIn(const std::string& path) {
    CDomainArray list;
    std::vector<std::string> names;
    if (!LoadDomainFile(path, list))
        return names;
    for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.GetRecord(i)->m_strName);
    return names;
}

TEST_F(CheckerDlgTest, DestructionWritesEveryRecordToTheDataFile) {
    WriteDataFile({"kept.com"});
    Open();
    m_dlg->GetDomains().AddName("added.net");
    m_dlg->GetDomains().GetRecord(0)->m_nState = STATE_TAKEN;
    Command(IDOK);
    m_dlg.reset();
    CDomainArray saved;
    ASSERT_TRUE(LoadDomainFile(m_strDataFile, saved));
    ASSERT_EQ(saved.GetCount(), 2);
    EXPECT_EQ(saved.GetRecord(0)->m_nState, STATE_TAKEN);
    EXPECT_EQ(saved.GetRecord(1)->m_strName, "added.net");
    EXPECT_TRUE(m_prompt.asked.empty());
}

TEST_F(CheckerDlgTest, ListEmptiedWithNewLeavesTheOldFileUntouched) {
    WriteDataFile({"old-one.com", "old-two.com"});
    const std::string before = ReadFileBytes(m_strDataFile);
    m_prompt.answers = {IDYES};
    Open();
    Command(IDC_NEW);
    ASSERT_EQ(m_dlg->GetDomains().GetCount(), 0);
    m_dlg.reset();
    EXPECT_EQ(ReadFileBytes(m_strDataFile), before);
    EXPECT_EQ(m_prompt.asked.size(), 1u) << "only the New question, nothing about saving";
    // The next start shows the old list again.
    Open();
    EXPECT_EQ(ItemCount(), 2);
}

struct EndSessionCase {
    const char* what;
    WPARAM ending;
    bool saved;
};

TEST_F(CheckerDlgTest, EndOfSessionSavesListAndPlacementAtOnce) {
    const EndSessionCase cases[] = {{"session ends", TRUE, true}, {"end cancelled", FALSE, false}};
    for (const EndSessionCase& c : cases) {
        std::filesystem::remove(m_strDataFile);
        m_store = std::make_shared<CMemorySettingsStore>();
        Open();
        m_dlg->GetDomains().AddName("session.com");
        ::SendMessageA(Window(), WM_ENDSESSION, c.ending, 0);
        // Checked while the window is still open: the process may be killed right after.
        EXPECT_EQ(FileExists(m_strDataFile), c.saved) << c.what;
        CPlacementRecord placement;
        EXPECT_EQ(LoadWindowPlacement(*m_store, placement), c.saved) << c.what;
        if (c.saved) {
            EXPECT_EQ(NamesIn(m_strDataFile), std::vector<std::string>{"session.com"});
        }
        m_dlg.reset();
    }
}

TEST_F(CheckerDlgTest, UnwritableDataFileAsksRetryOrCancelNamingTheFile) {
    // A data file in a folder that does not exist cannot be created.
    const std::string folder = m_dir.File("missing-folder");
    m_strDataFile = folder + "\\quorvix.dcd";
    m_prompt.answers = {IDCANCEL};
    Open();
    m_dlg->GetDomains().AddName("unsaved.com");
    Command(IDOK);
    m_dlg.reset();  // must return although nothing could be written
    ASSERT_EQ(m_prompt.asked.size(), 1u);
    EXPECT_EQ(m_prompt.asked[0].type & 0xF, static_cast<UINT>(MB_RETRYCANCEL));
    EXPECT_NE(m_prompt.asked[0].text.find(m_strDataFile), std::string::npos)
        << m_prompt.asked[0].text;
    EXPECT_FALSE(FileExists(m_strDataFile));
}

TEST_F(CheckerDlgTest, RetryAfterTheCauseIsMendedSavesTheList) {
    const std::string folder = m_dir.File("later-folder");
    m_strDataFile = folder + "\\quorvix.dcd";
    // Two refusals, then the folder appears before the third Retry.
    m_prompt.answers = {IDRETRY, IDRETRY, IDRETRY};
    m_prompt.onAsk = [&](const AskedQuestion&) {
        if (m_prompt.asked.size() == 3)
            std::filesystem::create_directory(folder);
    };
    Open();
    m_dlg->GetDomains().AddName("saved-later.com");
    m_dlg.reset();
    EXPECT_EQ(m_prompt.asked.size(), 3u);
    EXPECT_EQ(NamesIn(m_strDataFile), std::vector<std::string>{"saved-later.com"});
}

TEST_F(CheckerDlgTest, DataFileHeldOpenByAnotherProgramAsksAndKeepsTheOldFile) {
    WriteDataFile({"old.com"});
    const std::string before = ReadFileBytes(m_strDataFile);
    HANDLE locked = ::CreateFileA(m_strDataFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    m_prompt.answers = {IDRETRY, IDCANCEL};
    Open();
    m_dlg->GetDomains().AddName("new.com");
    m_dlg.reset();
    ::CloseHandle(locked);
    if (m_prompt.asked.empty()) {
        // The system let the file be replaced in spite of the open handle; then it was saved.
        EXPECT_EQ(NamesIn(m_strDataFile), (std::vector<std::string>{"old.com", "new.com"}));
    } else {
        EXPECT_EQ(m_prompt.asked.size(), 2u);
        EXPECT_EQ(ReadFileBytes(m_strDataFile), before) << "a failed save keeps the old file";
    }
}

// ---- placement ----

struct PlacementCase {
    const char* what;
    const char* stored;
    bool applied;    // the stored normal rectangle is used
    bool maximized;  // opens maximized
};

TEST_F(CheckerDlgTest, StoredPlacementIsRestoredOnlyWhenItHasTenNumbers) {
    const PlacementCase cases[] = {
        {"normal", "0,1,-1,-1,-1,-1,60,70,760,570", true, false},
        {"extra text ignored", "0,1,-1,-1,-1,-1,60,70,760,570,junk", true, false},
        {"maximized", "2,3,-1,-1,-1,-1,60,70,760,570", true, true},
        {"minimized when closed", "0,0,-1,-1,-1,-1,60,70,760,570", true, false},
        {"nine numbers", "0,1,-1,-1,-1,-1,60,70,760", false, false},
        {"a letter", "0,1,-1,x,-1,-1,60,70,760,570", false, false},
        {"empty", "", false, false},
        {"garbage", "\xff\xfe,,,,,,,,,", false, false},
    };
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenH = ::GetSystemMetrics(SM_CYSCREEN);
    for (const PlacementCase& c : cases) {
        m_store = std::make_shared<CMemorySettingsStore>();
        m_store->WriteString(kSectionSettings, kValueWindowPos, c.stored);
        Open();
        EXPECT_TRUE(::IsWindowVisible(Window())) << c.what;
        EXPECT_EQ(::IsZoomed(Window()) != FALSE, c.maximized) << c.what;
        WINDOWPLACEMENT wp = {};
        wp.length = sizeof(wp);
        ::GetWindowPlacement(Window(), &wp);
        const RECT& r = wp.rcNormalPosition;
        if (c.applied) {
            EXPECT_EQ(r.right - r.left, 700) << c.what;
            EXPECT_EQ(r.bottom - r.top, 500) << c.what;
        }
        if (!c.maximized && (!c.applied || std::string(c.what) == "minimized when closed")) {
            // Not shown by the placement: centred on the screen.
            RECT w;
            ::GetWindowRect(Window(), &w);
            EXPECT_LE(std::abs((w.left + w.right) / 2 - screenW / 2), 1) << c.what;
            EXPECT_LE(std::abs((w.top + w.bottom) / 2 - screenH / 2), 1) << c.what;
        } else if (!c.maximized) {
            RECT w;
            ::GetWindowRect(Window(), &w);
            EXPECT_EQ(w.left, 60) << c.what;
            EXPECT_EQ(w.top, 70) << c.what;
        }
        m_dlg.reset();
    }
}

TEST_F(CheckerDlgTest, CloseWhileMaximizedStoresRestoreToMaximized) {
    Open();
    ::ShowWindow(Window(), SW_MAXIMIZE);
    PumpMessages();
    if (!::IsZoomed(Window()))
        GTEST_SKIP() << "the display cannot maximize windows";
    Command(IDOK);
    CPlacementRecord stored;
    ASSERT_TRUE(LoadWindowPlacement(*m_store, stored));
    EXPECT_EQ(stored.m_nFlags, kPlacementRestoreToMaximized);
    EXPECT_EQ(stored.m_nShowCmd, static_cast<unsigned>(SW_SHOWMAXIMIZED));
}

TEST_F(CheckerDlgTest, CloseWhileMinimizedStoresAHiddenShowState) {
    Open();
    ::ShowWindow(Window(), SW_MINIMIZE);
    PumpMessages();
    if (!::IsIconic(Window()))
        GTEST_SKIP() << "the display cannot minimize windows";
    // Painting the minimized window draws the icon and nothing else; it must not fail.
    ::RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Command(IDOK);
    CPlacementRecord stored;
    ASSERT_TRUE(LoadWindowPlacement(*m_store, stored));
    EXPECT_EQ(stored.m_nShowCmd & 2u, 0u);
    EXPECT_EQ(stored.m_nFlags, 0u);
}

}  // namespace
