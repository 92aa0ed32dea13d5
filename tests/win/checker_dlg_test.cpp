// The main window from its template: what initialisation shows, the cell texts the list asks for,
// the layout after a resize, and the New, Delete, Close and quit commands.
#include "tests/win/checker_dlg_test_fixture.h"

#include <cstring>

#include "framework/app_win.h"
#include "framework/text.h"
#include "ui/list_layout.h"
#include "ui/window_placement.h"

namespace {

TEST_F(CheckerDlgTest, InitialisationShowsEveryRecordOfTheDataFile) {
    WriteDataFile({"alpha.com", "beta.net", "gamma.org"});
    Open();
    EXPECT_EQ(ItemCount(), 3);
    EXPECT_EQ(m_dlg->GetDomains().GetCount(), 3);
    EXPECT_EQ(CellText(0, 1), "alpha.com");
    EXPECT_EQ(CellText(2, 1), "gamma.org");
    EXPECT_TRUE(::IsWindowVisible(Window()));
}

TEST_F(CheckerDlgTest, MissingDataFileOpensAnEmptyListWithoutAQuestion) {
    Open();
    EXPECT_EQ(ItemCount(), 0);
    EXPECT_TRUE(m_prompt.asked.empty());
}

TEST_F(CheckerDlgTest, TruncatedDataFileKeepsTheRecordsBeforeTheCut) {
    WriteDataFile({"first.com", "second.com", "third.com"});
    std::string bytes = ReadFileBytes(m_strDataFile);
    // Cut inside the third record's body.
    const size_t third = bytes.rfind("third.com");
    ASSERT_NE(third, std::string::npos);
    ASSERT_TRUE(WriteFileBytes(m_strDataFile, bytes.substr(0, third + 3)));
    Open();
    EXPECT_GE(ItemCount(), 2);
    EXPECT_EQ(CellText(0, 1), "first.com");
    EXPECT_EQ(CellText(1, 1), "second.com");
    EXPECT_TRUE(m_prompt.asked.empty());
}

TEST_F(CheckerDlgTest, GarbageDataFileOpensAnEmptyList) {
    ASSERT_TRUE(WriteFileBytes(m_strDataFile, std::string("\x05\x00\x00\x00garbage\xff\xff", 13)));
    Open();
    EXPECT_EQ(ItemCount(), 0);
    EXPECT_TRUE(::IsWindow(Window()));
}

TEST_F(CheckerDlgTest, ListHasTheNineColumnsInOrder) {
    Open();
    const char* const headings[] = {"#",       "Domain",     "Status",       "Created",  "Expires",
                                    "Updated", "Checked On", "Whois Server", "Registrar"};
    for (int column = 0; column < 9; ++column) {
        char text[64] = {};
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_FMT;
        col.pszText = text;
        col.cchTextMax = sizeof(text);
        ASSERT_TRUE(::SendMessageA(List(), LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&col)))
            << column;
        EXPECT_STREQ(text, headings[column]);
        EXPECT_EQ(col.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
    LVCOLUMNA extra = {};
    extra.mask = LVCF_FMT;
    EXPECT_FALSE(::SendMessageA(List(), LVM_GETCOLUMNA, 9, reinterpret_cast<LPARAM>(&extra)));
}

TEST_F(CheckerDlgTest, SystemMenuEndsWithTheAboutItem) {
    Open();
    HMENU menu = ::GetSystemMenu(Window(), FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(::GetMenuItemID(menu, count - 1), static_cast<UINT>(ID_ABOUTBOX));
    char text[64] = {};
    ::GetMenuStringA(menu, count - 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "&About Quorvix...");
    EXPECT_NE(::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
}

TEST_F(CheckerDlgTest, WindowAndDragIconAreTheProgramIcon) {
    Open();
    HICON icon = ::LoadIconA(GetResourceInstance(), MAKEINTRESOURCEA(IDI_MAINFRAME));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(Window(), WM_GETICON, ICON_BIG, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(Window(), WM_QUERYDRAGICON, 0, 0)), icon);
}

// ---- cell texts ----

struct StateCase {
    int state;
    const char* status;  // m_strStatus
    const char* cell;
};

TEST_F(CheckerDlgTest, StatusCellShowsStateOrUpperCasedStatusText) {
    const StateCase cases[] = {
        {STATE_FREE, "", "<#FF0000>Free"},
        {STATE_TAKEN, "", "<#0000FF>NA"},
        {STATE_RESERVED, "", "NA"},
        {STATE_RESOLVES, "", "NA"},
        {STATE_QUEUED, "", "<#0000FF>?"},
        {STATE_UNCHECKED, "", "?"},
        {STATE_ERROR, "", "<#FF0000>Error"},
        {42, "", "?"},
        {-1, "", "?"},
        {STATE_FREE, "clientHold", "CLIENTHOLD"},
    };
    Open();
    CDomainArray& domains = m_dlg->GetDomains();
    for (const StateCase& c : cases) {
        domains.RemoveAllRecords();
        ASSERT_TRUE(domains.AddName("case.com"));
        domains.GetRecord(0)->m_nState = c.state;
        domains.GetRecord(0)->m_strStatus = c.status;
        m_dlg->GetList().SetItemCount(1);
        EXPECT_EQ(CellText(0, 2), c.cell) << "state " << c.state;
        EXPECT_EQ(domains.GetRecord(0)->m_strStatus, c.status) << "the record keeps its text";
    }
}

TEST_F(CheckerDlgTest, DateCellsShowOnlyValidDates) {
    WriteDataFile({"dated.com"});
    Open();
    CDomainData& r = *m_dlg->GetDomains().GetRecord(0);
    r.m_dtCreated = CDateTime::FromDate(2001, 3, 14);
    r.m_dtExpires = CDateTime(40000.0, CDateTime::invalid);
    r.m_dtUpdated = CDateTime::Null();
    r.m_dtChecked = CDateTime::FromDateTime(2024, 6, 1, 13, 45, 10);
    const std::string created = CellText(0, 3);
    EXPECT_NE(created.find("2001"), std::string::npos) << created;
    EXPECT_EQ(created.find(':'), std::string::npos) << "no time of day: " << created;
    EXPECT_EQ(CellText(0, 4), "");
    EXPECT_EQ(CellText(0, 5), "");
    const std::string checked = CellText(0, 6);
    EXPECT_NE(checked.find("2024"), std::string::npos) << checked;
    EXPECT_EQ(checked.find("13"), std::string::npos) << "no time of day: " << checked;
}

TEST_F(CheckerDlgTest, RowNumberAndNameColumnsWithoutARecord) {
    Open();
    char buffer[16];
    std::memcpy(buffer, "keep", 5);
    m_dlg->GetCellText(7, 0, buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "8");
    std::memcpy(buffer, "keep", 5);
    m_dlg->GetCellText(7, 1, buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "");
    for (int column = 2; column < 9; ++column) {
        std::memcpy(buffer, "keep", 5);
        m_dlg->GetCellText(7, column, buffer, sizeof(buffer));
        EXPECT_STREQ(buffer, "keep") << "column " << column << " must leave the buffer alone";
    }
}

struct CapacityCase {
    int capacity;
    const char* expected;
};

TEST_F(CheckerDlgTest, CellTextNeverWritesPastTheOfferedBuffer) {
    const std::string longName = std::string(300, 'x') + ".com";
    WriteDataFile({longName});
    Open();
    const CapacityCase cases[] = {{1, ""}, {2, "x"}, {5, "xxxx"}, {64, nullptr}};
    for (const CapacityCase& c : cases) {
        std::vector<char> buffer(static_cast<size_t>(c.capacity) + 16, '#');
        m_dlg->GetCellText(0, 1, buffer.data(), c.capacity);
        const std::string expected =
            c.expected ? c.expected : longName.substr(0, static_cast<size_t>(c.capacity) - 1);
        EXPECT_EQ(std::string(buffer.data()), expected) << "capacity " << c.capacity;
        for (size_t i = static_cast<size_t>(c.capacity); i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], '#') << "byte " << i << " past a capacity of " << c.capacity;
    }
    // A zero or negative capacity and a null buffer write nothing.
    char guard[4] = {'#', '#', '#', '#'};
    m_dlg->GetCellText(0, 1, guard, 0);
    m_dlg->GetCellText(0, 1, guard, -5);
    m_dlg->GetCellText(0, 1, nullptr, 10);
    EXPECT_EQ(std::string(guard, 4), "####");
    // Through the list itself, with a small buffer.
    char small[8];
    std::memset(small, '#', sizeof(small));
    LVITEMA item = {};
    item.iSubItem = 1;
    item.pszText = small;
    item.cchTextMax = 4;
    ::SendMessageA(List(), LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::string(small, 3), "xxx");
    EXPECT_EQ(small[3], '\0');
    EXPECT_EQ(small[4], '#');
}

TEST_F(CheckerDlgTest, RowNumbersCountFromOneInDisplayOrder) {
    WriteDataFile({"b.com", "a.com", "c.com"});
    Open();
    for (int row = 0; row < 3; ++row) EXPECT_EQ(CellText(row, 0), std::to_string(row + 1));
}

// ---- layout ----

TEST_F(CheckerDlgTest, LayoutPlacesStatusLineListAndIconsForTheClientSize) {
    Open();
    const int sizes[][2] = {{600, 400}, {800, 500}, {1000, 700}};
    for (const auto& size : sizes) {
        SetClientSize(size[0], size[1]);
        RECT client;
        ::GetClientRect(Window(), &client);
        const int w = client.right, h = client.bottom;
        auto rectOf = [&](int id) {
            RECT rc;
            ::GetWindowRect(::GetDlgItem(Window(), id), &rc);
            ::MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&rc), 2);
            return rc;
        };
        const RECT status = rectOf(IDC_QUEUE_STATUS);
        EXPECT_EQ(status.left, 4);
        EXPECT_EQ(status.top, h - 20);
        EXPECT_EQ(status.right - status.left, w - 36);
        EXPECT_EQ(status.bottom - status.top, 16);
        const RECT list = rectOf(IDC_DOMAIN_LIST);
        EXPECT_EQ(list.left, 4);
        EXPECT_EQ(list.top, 88);
        EXPECT_EQ(list.right - list.left, w - 8);
        EXPECT_EQ(list.bottom - list.top, h - 120);
        const RECT frame = rectOf(IDC_BUTTON_FRAME);
        EXPECT_EQ(frame.right - frame.left, w - 8);
        EXPECT_EQ(frame.bottom - frame.top, 76);
        const RECT corner = rectOf(IDC_BADGE_ICON);
        EXPECT_EQ(corner.left, w - 32);
        EXPECT_EQ(corner.top, h - 32);
        const RECT maker = rectOf(IDC_APP_ICON);
        EXPECT_EQ(maker.left, w - 40);
        EXPECT_EQ(maker.top, 16);
    }
}

struct ColumnCase {
    int listClientWidth;
    int domainWidth;
};

TEST_F(CheckerDlgTest, DomainColumnFollowsTheSawToothOfTheListWidth) {
    WriteDataFile({"one.com"});
    Open();
    // The list's frame: the window is wider than its client area by a fixed amount.
    SetClientSize(900, 500);
    RECT win, client;
    ::GetWindowRect(List(), &win);
    ::GetClientRect(List(), &client);
    const int frame = (win.right - win.left) - client.right;
    const ColumnCase cases[] = {{634, 209}, {635, 120}, {724, 209},  {725, 120},
                                {814, 209}, {815, 120}, {1000, 305}, {700, 185}};
    for (const ColumnCase& c : cases) {
        SetClientSize(c.listClientWidth + frame + 8, 500);
        ::GetClientRect(List(), &client);
        ASSERT_EQ(client.right, c.listClientWidth) << "list client width";
        EXPECT_EQ(::SendMessageA(List(), LVM_GETCOLUMNWIDTH, 1, 0), c.domainWidth)
            << "list width " << c.listClientWidth;
        EXPECT_EQ(::SendMessageA(List(), LVM_GETCOLUMNWIDTH, 0, 0), 60);
        for (int column = 2; column < 9; ++column)
            EXPECT_EQ(::SendMessageA(List(), LVM_GETCOLUMNWIDTH, column, 0), 90);
        EXPECT_EQ(ItemCount(), 1) << "the row count comes back after the layout";
    }
}

TEST_F(CheckerDlgTest, NarrowListNeverGetsANegativeDomainColumn) {
    Open();
    SetClientSize(200, 200);  // below the minimum tracking size, as a program may still set it
    const LRESULT width = ::SendMessageA(List(), LVM_GETCOLUMNWIDTH, 1, 0);
    EXPECT_GE(width, 0);
}

TEST_F(CheckerDlgTest, MinimumTrackingSizeIs556By350) {
    Open();
    MINMAXINFO info = {};
    ::SendMessageA(Window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 556);
    EXPECT_EQ(info.ptMinTrackSize.y, 350);
}

// ---- New and Delete ----

struct NewCase {
    const char* what;
    int records;
    int answer;
    bool asked;
    int recordsAfter;
};

TEST_F(CheckerDlgTest, NewClearsTheListOnlyAfterYes) {
    const NewCase cases[] = {
        {"yes", 2, IDYES, true, 0},
        {"no", 2, IDNO, true, 2},
        {"cancel", 2, IDCANCEL, true, 2},
        {"empty list", 0, IDYES, false, 0},
    };
    for (const NewCase& c : cases) {
        ::DeleteFileA(m_strDataFile.c_str());  // each case starts without a saved list
        m_prompt.asked.clear();
        m_prompt.answers = {c.answer};
        Open();
        for (int i = 0; i < c.records; ++i)
            m_dlg->GetDomains().AddName("name" + std::to_string(i) + ".com");
        m_dlg->GetList().SetItemCount(c.records);
        Command(IDC_NEW);
        EXPECT_EQ(m_prompt.asked.size(), c.asked ? 1u : 0u) << c.what;
        if (c.asked) {
            EXPECT_EQ(m_prompt.asked[0].text,
                      "This will clear all domain names from the list.\n\nAre you sure?");
            EXPECT_EQ(m_prompt.asked[0].type & 0xF, static_cast<UINT>(MB_YESNOCANCEL));
        }
        EXPECT_EQ(m_dlg->GetDomains().GetCount(), c.recordsAfter) << c.what;
        EXPECT_EQ(ItemCount(), c.recordsAfter) << c.what;
        m_dlg.reset();
    }
}

TEST_F(CheckerDlgTest, DeleteRemovesExactlyTheSelectedRows) {
    WriteDataFile({"a.com", "b.com", "c.com", "d.com", "e.com"});
    Open();
    SelectRows({1, 3});
    Command(IDC_DELETE);
    ASSERT_EQ(m_dlg->GetDomains().GetCount(), 3);
    EXPECT_EQ(ItemCount(), 3);
    EXPECT_EQ(CellText(0, 1), "a.com");
    EXPECT_EQ(CellText(1, 1), "c.com");
    EXPECT_EQ(CellText(2, 1), "e.com");
    EXPECT_TRUE(m_prompt.asked.empty());
    // Nothing selected: nothing removed.
    SelectRows({});
    Command(IDC_DELETE);
    EXPECT_EQ(m_dlg->GetDomains().GetCount(), 3);
}

TEST_F(CheckerDlgTest, DeleteOfADuplicatedNameRemovesOneRecordPerSelectedRow) {
    WriteDataFile({"twice.com", "other.com", "TWICE.com"});
    Open();
    SelectRows({2});
    Command(IDC_DELETE);
    // The first record with the name goes, as the list's removal by name defines.
    ASSERT_EQ(m_dlg->GetDomains().GetCount(), 2);
    EXPECT_EQ(ItemCount(), 2);
}

// ---- Export drop-down ----

TEST_F(CheckerDlgTest, ExportItemsAreGreyedOnlyWhileTheListIsEmpty) {
    Open();
    for (bool empty : {true, false}) {
        if (!empty)
            m_dlg->GetDomains().AddName("x.com");
        CMenuHandle menu = m_dlg->LoadExportMenu();
        HMENU popup = menu.GetSubMenu(0);
        ASSERT_NE(popup, nullptr);
        for (UINT id : {static_cast<UINT>(ID_EXPORT_ALL), static_cast<UINT>(ID_EXPORT_SELECTED)}) {
            const UINT state = ::GetMenuState(popup, id, MF_BYCOMMAND);
            ASSERT_NE(state, static_cast<UINT>(-1));
            EXPECT_EQ((state & MF_GRAYED) != 0, empty) << id;
        }
    }
}

VOID CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ::EndMenu();
}

TEST_F(CheckerDlgTest, ExportDropDownOpensAndClosesWithoutACommand) {
    WriteDataFile({"x.com"});
    Open();
    ::SetTimer(nullptr, 0, 300, EndMenuSoon);
    Command(IDC_EXPORT);  // returns once the menu is gone
    PumpMessages();
    EXPECT_EQ(m_dlg->GetDomains().GetCount(), 1);
    EXPECT_TRUE(::IsWindow(Window()));
}

// ---- Close and the quit question ----

TEST_F(CheckerDlgTest, CloseSavesThePlacementAndEndsWithoutAQuestion) {
    Open();
    Command(IDOK);
    PumpMessages();
    EXPECT_EQ(m_dlg->GetHandle(), nullptr);
    EXPECT_TRUE(m_prompt.asked.empty());
    CPlacementRecord stored;
    ASSERT_TRUE(LoadWindowPlacement(*m_store, stored));
    EXPECT_GT(stored.m_nRight - stored.m_nLeft, 0);
    EXPECT_GT(stored.m_nBottom - stored.m_nTop, 0);
}

struct QuitCase {
    int answer;
    bool closes;
};

TEST_F(CheckerDlgTest, QuitQuestionClosesOnlyOnYes) {
    const QuitCase cases[] = {{IDYES, true}, {IDNO, false}, {IDCANCEL, false}};
    for (const QuitCase& c : cases) {
        m_store = std::make_shared<CMemorySettingsStore>();
        m_prompt.asked.clear();
        m_prompt.answers = {c.answer};
        Open();
        Command(IDCANCEL);
        PumpMessages();
        ASSERT_EQ(m_prompt.asked.size(), 1u);
        EXPECT_EQ(m_prompt.asked[0].text, "Are you sure you want to quit?");
        EXPECT_EQ(m_prompt.asked[0].type & 0xF, static_cast<UINT>(MB_YESNOCANCEL));
        EXPECT_EQ(m_dlg->GetHandle() == nullptr, c.closes) << c.answer;
        CPlacementRecord stored;
        EXPECT_EQ(LoadWindowPlacement(*m_store, stored), c.closes) << c.answer;
        m_dlg.reset();
    }
}

TEST_F(CheckerDlgTest, CloseBoxAsksTheQuitQuestion) {
    m_prompt.answers = {IDNO};
    Open();
    ::SendMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_EQ(m_prompt.asked.size(), 1u);
    EXPECT_TRUE(::IsWindow(Window()));
}

}  // namespace
