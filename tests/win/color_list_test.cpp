// The colour list's non-painting behaviour against a host that answers LVN_GETDISPINFOA: row
// measuring and re-measuring on a font change, row count, row texts for the clipboard and
// export, careless parents, the context menu and double clicks.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win/color_list_test_host.h"

namespace {

TEST(ColorListMeasure, RowHeightIsFontHeightTimesPercent) {
    struct Case {
        int fontHeight;
        int percent;
        UINT expected;
    };
    const Case cases[] = {
        {15, 150, 22},               // the main window: Verdana 15 at 150 %
        {-15, 150, 22},              // a negative (character) height counts by its size
        {15, 130, 19},               // the default percentage, rounded toward zero
        {20, 100, 20},  {1, 50, 1},  // never a row of zero pixels
    };
    CListHostDlg host;
    ASSERT_TRUE(host.Create());
    for (const Case& c : cases) {
        CFontHandle font = MakeTestFont("Verdana", c.fontHeight);
        host.m_list.m_nRowHeightPercent = c.percent;
        host.m_list.SetFont(font.Get(), false);
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_LISTVIEW;
        mis.CtlID = IDC_DOMAIN_LIST;
        host.m_list.MeasureItem(mis);
        EXPECT_EQ(mis.itemHeight, c.expected) << c.fontHeight << " at " << c.percent;
        host.m_list.SetFont(nullptr, false);
    }
}

TEST(ColorListMeasure, DefaultSizedFontStillGivesVisibleRows) {
    CListHostDlg host;
    ASSERT_TRUE(host.Create());
    CFontHandle font = MakeTestFont("Verdana", 0);  // "the font's default size"
    host.m_list.SetFont(font.Get(), false);
    MEASUREITEMSTRUCT mis = {};
    host.m_list.MeasureItem(mis);
    EXPECT_GT(mis.itemHeight, 5u);
}

TEST(ColorListMeasure, FontChangeMakesTheListMeasureItsRowsAgain) {
    CListHostDlg host;
    ASSERT_TRUE(host.Create());
    host.SetRows({{"1", "a.com", "?"}, {"2", "b.com", "?"}});
    host.m_list.m_nRowHeightPercent = 150;
    CFontHandle verdana15 = MakeTestFont("Verdana", 15);
    host.m_list.SetFont(verdana15.Get(), false);
    RECT r0 = host.ItemRect(0, LVIR_BOUNDS);
    EXPECT_EQ(r0.bottom - r0.top, 22);
    CFontHandle bigger = MakeTestFont("Verdana", 20);
    host.m_list.SetFont(bigger.Get(), true);
    r0 = host.ItemRect(0, LVIR_BOUNDS);
    const RECT r1 = host.ItemRect(1, LVIR_BOUNDS);
    EXPECT_EQ(r0.bottom - r0.top, 30);
    EXPECT_EQ(r1.top, r0.bottom);
}

TEST(ColorListRows, ItemCountFollowsTheOwner) {
    CListHostDlg host;
    ASSERT_TRUE(host.Create());
    EXPECT_EQ(host.m_list.GetItemCount(), 0);
    host.m_list.SetItemCount(2500);
    EXPECT_EQ(host.m_list.GetItemCount(), 2500);
    host.m_list.SetItemCount(-3);  // a negative count is no count
    EXPECT_EQ(host.m_list.GetItemCount(), 0);
}

std::vector<std::vector<std::string>> ThreeRows() {
    return {{"1", "a.com", "<#FF0000>Free", "Reg A"},
            {"2", "b.net", "<#0000FF>NA", ""},
            {"3", "c.org", "?", "Reg\tC"}};
}

TEST(ColorListRows, AllRowsTextSkipsTheNumberColumnAndKeepsTags) {
    struct Case {
        int selector;
        std::string before;
        std::string expected;
    };
    const Case cases[] = {
        {-1, "",
         "a.com\t<#FF0000>Free\tReg A\t\r\nb.net\t<#0000FF>NA\t\t\r\nc.org\t?\tReg\tC\t\r\n"},
        {1, "", "a.com\t\r\nb.net\t\r\nc.org\t\r\n"},
        {2, "head:", "head:<#FF0000>Free\t\r\n<#0000FF>NA\t\r\n?\t\r\n"},
    };
    CListHostDlg host;
    ASSERT_TRUE(host.Create());
    host.SetRows(ThreeRows());
    for (const Case& c : cases) {
        std::string text = c.before;
        EXPECT_TRUE(host.m_list.GetAllRowsText(text, c.selector));
        EXPECT_EQ(text, c.expected) << c.selector;
    }
}

TEST(ColorListRows, SelectedRowsTextAndColumnTextsFollowRowOrder) {
    CListHostDlg host;
    ASSERT_TRUE(host.Create());
    host.SetRows(ThreeRows());
    std::string text;
    EXPECT_FALSE(host.m_list.GetSelectedRowsText(text, -1)) << "nothing selected";
    EXPECT_EQ(text, "");
    host.Select(2);
    host.Select(0);
    EXPECT_EQ(host.m_list.GetSelectedRows(), (std::vector<int>{0, 2}));
    EXPECT_TRUE(host.m_list.GetSelectedRowsText(text, 1));
    EXPECT_EQ(text, "a.com\t\r\nc.org\t\r\n");
    std::vector<std::string> names = {"stale"};
    EXPECT_EQ(host.m_list.GetSelectedColumnTexts(1, names), 2);
    EXPECT_EQ(names, (std::vector<std::string>{"a.com", "c.org"}));
    // A column the header does not have gives nothing and empties the array.
    EXPECT_EQ(host.m_list.GetSelectedColumnTexts(9, names), 0);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(host.m_list.GetSelectedColumnTexts(-1, names), 0);
}

TEST(ColorListRows, EmptyListGivesNoText) {
    CListHostDlg host;
    ASSERT_TRUE(host.Create());
    std::string text;
    EXPECT_FALSE(host.m_list.GetAllRowsText(text, -1));
    EXPECT_EQ(text, "");
}

TEST(ColorListRows, HeadingsAreReadFromTheHeader) {
    CListHostDlg host;
    ASSERT_TRUE(host.Create());
    EXPECT_EQ(host.m_list.GetColumnCount(), 4);
    std::string heading;
    ASSERT_TRUE(host.m_list.GetColumnHeading(1, heading));
    EXPECT_EQ(heading, "Domain");
    EXPECT_FALSE(host.m_list.GetColumnHeading(4, heading));
    EXPECT_FALSE(host.m_list.GetColumnHeading(-1, heading));
}

TEST(ColorListRows, LongHeadingIsCutAt120Characters) {
    CListHostDlg host;
    host.headings[3] = std::string(300, 'h');
    ASSERT_TRUE(host.Create());
    std::string heading;
    ASSERT_TRUE(host.m_list.GetColumnHeading(3, heading));
    EXPECT_EQ(heading, std::string(120, 'h'));
}

TEST(ColorListRows, CellTextsFromCarelessOrSilentParentsStayBounded) {
    struct Case {
        AnswerMode mode;
        std::string expected;
    };
    const Case cases[] = {
        {AnswerMode::CopyBounded, "a.com"},
        {AnswerMode::OwnPointer, "a.com"},
        {AnswerMode::FillNoZero, std::string(4096, 'z')},
        {AnswerMode::Ignore, ""},
    };
    CListHostDlg host;
    ASSERT_TRUE(host.Create());
    host.SetRows(ThreeRows());
    for (const Case& c : cases) {
        host.mode = c.mode;
        EXPECT_EQ(host.m_list.GetCellText(0, 1), c.expected) << static_cast<int>(c.mode);
    }
}

TEST(ColorListRows, HugeCellTextIsCutAtTheBuffer) {
    CListHostDlg host;
    ASSERT_TRUE(host.Create());
    host.SetRows({{"1", std::string(100000, 'n'), "?"}});
    EXPECT_EQ(host.m_list.GetCellText(0, 1).size(), 4095u);
    host.mode = AnswerMode::OwnPointer;
    EXPECT_EQ(host.m_list.GetCellText(0, 1).size(), 100000u);
}

// Right-button press on the list at a row: the list view's own handling, then the menu.
void RightClickRow(CListHostDlg& host, int row) {
    const RECT rc = host.ItemRect(row, LVIR_LABEL);
    const LPARAM at = MAKELPARAM(rc.left + 5, (rc.top + rc.bottom) / 2);
    // The list view may wait for the button to come up; have it in the queue already.
    ::PostMessageA(host.m_list.GetHandle(), WM_RBUTTONUP, 0, at);
    ::SendMessageA(host.m_list.GetHandle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

TEST(ColorListContextMenu, ShownOnlyWithRowsAndAMenu) {
    struct Case {
        int rows;
        UINT menuId;
        size_t shown;
    };
    const Case cases[] = {{3, IDM_LIST_CONTEXT, 1}, {0, IDM_LIST_CONTEXT, 0}, {3, 0, 0}};
    for (const Case& c : cases) {
        CListHostDlg host;
        ASSERT_TRUE(host.Create());
        std::vector<std::vector<std::string>> rows = ThreeRows();
        rows.resize(static_cast<size_t>(c.rows));
        host.SetRows(rows);
        host.m_list.m_nContextMenuId = c.menuId;
        RightClickRow(host, 0);
        EXPECT_EQ(host.m_list.shownMenus.size(), c.shown) << c.rows << "/" << c.menuId;
    }
}

TEST(ColorListContextMenu, ShowsTheFirstPopupOfTheMenu) {
    CListHostDlg host;
    ASSERT_TRUE(host.Create());
    host.SetRows(ThreeRows());
    host.m_list.m_nContextMenuId = IDM_LIST_CONTEXT;
    RightClickRow(host, 1);
    ASSERT_EQ(host.m_list.shownMenus.size(), 1u);
    const std::vector<UINT> expected = {
        ID_COPY_ALL, ID_COPY_SELECTED, ID_COPY_NAMES, 0, IDC_DELETE, 0, IDC_RESET,
        0,           ID_BROWSE_WEBSITE};
    EXPECT_EQ(host.m_list.shownMenus[0], expected);
    // The list view's own handling ran first: the row under the pointer is selected.
    EXPECT_EQ(host.m_list.GetSelectedRows(), (std::vector<int>{1}));
}

TEST(ColorListContextMenu, MissingMenuResourceShowsNothing) {
    CListHostDlg host;
    ASSERT_TRUE(host.Create());
    host.SetRows(ThreeRows());
    host.m_list.m_nContextMenuId = 4711;
    RightClickRow(host, 0);
    EXPECT_TRUE(host.m_list.shownMenus.empty());
}

TEST(ColorListClicks, DoubleClickAndSelectionSendNoCommand) {
    CListHostDlg host;
    ASSERT_TRUE(host.Create());
    host.SetRows(ThreeRows());
    const RECT rc = host.ItemRect(0, LVIR_LABEL);
    const LPARAM at = MAKELPARAM(rc.left + 5, (rc.top + rc.bottom) / 2);
    host.commands.clear();
    ::PostMessageA(host.m_list.GetHandle(), WM_LBUTTONUP, 0, at);
    ::SendMessageA(host.m_list.GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    host.Select(2);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    EXPECT_EQ(host.m_list.doubleClicks, 1);
    EXPECT_TRUE(host.commands.empty());
}

}  // namespace
