// What the colour list paints, read back from an off-screen bitmap: stripes, the highlight, colour
// tags drawn as colour and never as text, cut texts, and the empty-list text.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win/color_list_test_host.h"

namespace {

constexpr COLORREF kRed = RGB(0xFF, 0x00, 0x00);
constexpr COLORREF kGreen = RGB(0x00, 0xFF, 0x00);
constexpr COLORREF kBlue = RGB(0x00, 0x00, 0xFF);
constexpr COLORREF kBlack = RGB(0x00, 0x00, 0x00);
constexpr COLORREF kCyan = RGB(0x00, 0xFF, 0xFF);
constexpr COLORREF kEven = RGB(0xF5, 0xFF, 0xFF);
constexpr COLORREF kOdd = RGB(0xFF, 0xFF, 0xFF);

// A host configured like the main window, with a crisp font.
class ListPaint : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create());
        host.m_list.m_nRowHeightPercent = 150;
        host.m_list.m_crEvenRow = kEven;
        host.m_list.SetFont(font.Get(), false);
    }
    // Row `r`'s cell of column `c` (status is column 2).
    RECT Cell(int r, int c) const { return host.CellRect(r, c); }

    // The cell painted with `text` as row 0's status.
    std::unique_ptr<COffscreenBitmap> PaintStatus(const std::string& text) {
        host.SetRows({{"1", "a.com", text, ""}});
        return RenderList(host.m_list.GetHandle());
    }

    // The pixels of row 0's status cell, for comparing two renderings.
    std::vector<COLORREF> StatusPixels(const std::string& text) {
        auto bmp = PaintStatus(text);
        const RECT rc = Cell(0, 2);
        std::vector<COLORREF> px;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) px.push_back(bmp->GetPixel(x, y));
        return px;
    }

    CFontHandle font = MakeTestFont("Tahoma", 15);
    CListHostDlg host;
};

TEST_F(ListPaint, StripesAlternateBetweenEvenAndOddRows) {
    host.SetRows({{"1", "", "", ""}, {"2", "", "", ""}, {"3", "", "", ""}});
    auto bmp = RenderList(host.m_list.GetHandle());
    ASSERT_TRUE(*bmp);
    const COLORREF expected[] = {kEven, kOdd, kEven};
    for (int r = 0; r < 3; ++r) {
        const RECT rc = host.ItemRect(r, LVIR_BOUNDS);
        // A spot inside the row, right of every text.
        EXPECT_EQ(bmp->GetPixel(rc.right - 3, (rc.top + rc.bottom) / 2), expected[r]) << r;
        EXPECT_EQ(bmp->GetPixel(Cell(r, 3).left + 30, rc.top + 1), expected[r]) << r;
    }
}

TEST_F(ListPaint, FreeTagPaintsRedTextAndNoTagGlyphs) {
    auto bmp = PaintStatus("<#FF0000>Free");
    const RECT cell = Cell(0, 2);
    EXPECT_GT(CountPixels(*bmp, cell, kRed), 10);
    EXPECT_EQ(CountPixels(*bmp, cell, kBlack), 0) << "the tag must not be drawn as text";
    // "Free" starts at the cell's text edge, where the tag would otherwise be.
    const auto span = ColourSpan(*bmp, cell, kRed);
    EXPECT_LT(span.first - cell.left, 14);
}

TEST_F(ListPaint, TaggedTextDrawsLikeTheVisibleTextAlone) {
    // Pairs that must paint the same pixels: the tags vanish, what remains is drawn as is.
    struct Case {
        const char* marked;
        const char* plain;
    };
    const Case cases[] = {
        {"ab<cd", "ab"},         // "<" without ">" ends the cell
        {"<>ab", "ab"},          // empty tag
        {"<xyz>ab", "ab"},       // tag not beginning with "#"
        {"<<#FF0000>>x", ">x"},  // the tag is "<#FF0000": no colour, ">" is text
        {"<#F00>x", "x"},        // short colour: no change
        {"<#GG0000>x", "x"},     // not hexadecimal: ignored
        {"<#!0>ab", "ab"},       // back to the text colour, which it already is
        // Runs are drawn one by one, so compare with the same runs split by empty tags.
        {"a<b>c<d>e", "a<>c<>e"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(StatusPixels(c.marked) == StatusPixels(c.plain)) << c.marked;
    }
    // And a real colour tag does change what is painted.
    EXPECT_FALSE(StatusPixels("<#FF0000>x") == StatusPixels("x"));
}

TEST_F(ListPaint, PlainTextThenColouredRunToItsRight) {
    auto bmp = PaintStatus("ab<#00FF00>cd");
    const RECT cell = Cell(0, 2);
    const auto black = ColourSpan(*bmp, cell, kBlack);
    const auto green = ColourSpan(*bmp, cell, kGreen);
    ASSERT_GE(black.first, 0);
    ASSERT_GE(green.first, 0);
    EXPECT_GT(green.first, black.second - 1);
    // Right after: no gap wider than a letter between the runs.
    EXPECT_LT(green.first - black.second, 6);
}

TEST_F(ListPaint, MarkTagsUseTheirColoursAndTextTagReturns) {
    host.m_list.m_crMark1 = kBlue;
    auto bmp = PaintStatus("<#!1>ab<#!0>cd");
    const RECT cell = Cell(0, 2);
    const auto blue = ColourSpan(*bmp, cell, kBlue);
    const auto black = ColourSpan(*bmp, cell, kBlack);
    ASSERT_GE(blue.first, 0);
    ASSERT_GE(black.first, 0);
    EXPECT_LT(blue.second, black.first);
}

TEST_F(ListPaint, SelectedRowUsesHighlightColours) {
    host.SetRows({{"1", "a.com", "<#FF0000>Free", ""}, {"2", "b.com", "<#!1>x<#!0>y", ""}});
    host.Select(0);
    host.Select(1);
    auto bmp = RenderList(host.m_list.GetHandle());
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    const RECT bounds = host.ItemRect(0, LVIR_BOUNDS);
    const RECT label = host.ItemRect(0, LVIR_LABEL);
    // Background from the first column's text edge to the row's right end.
    EXPECT_EQ(bmp->GetPixel(label.left, bounds.top + 1), highlight);
    EXPECT_EQ(bmp->GetPixel(bounds.right - 2, (bounds.top + bounds.bottom) / 2), highlight);
    // Coloured text turns #00FFFF; plain text the highlight-text colour.
    const RECT status0 = Cell(0, 2);
    EXPECT_GT(CountPixels(*bmp, status0, kCyan), 10);
    EXPECT_EQ(CountPixels(*bmp, status0, kRed), 0);
    EXPECT_GT(CountPixels(*bmp, Cell(0, 1), highlightText), 10);
    const RECT status1 = Cell(1, 2);
    const auto cyan = ColourSpan(*bmp, status1, kCyan);
    const auto light = ColourSpan(*bmp, status1, highlightText);
    ASSERT_GE(cyan.first, 0);
    ASSERT_GE(light.first, 0);
    EXPECT_LT(cyan.second, light.first);
    // The row that is not selected keeps its stripe.
    host.Select(1, false);
    bmp = RenderList(host.m_list.GetHandle());
    const RECT b1 = host.ItemRect(1, LVIR_BOUNDS);
    EXPECT_EQ(bmp->GetPixel(b1.right - 2, (b1.top + b1.bottom) / 2), kOdd);
}

TEST_F(ListPaint, TooWideTextIsCutInsideItsCell) {
    host.widths = {40, 120, 60, 120};
    host.m_list.Send(LVM_SETCOLUMNWIDTH, 2, 60);
    auto bmp = PaintStatus("ABCDEFGHIJKLMNOPQRSTUVWXYZ<#FF0000>tail");
    const RECT cell = Cell(0, 2);
    const auto black = ColourSpan(*bmp, cell, kBlack);
    ASSERT_GE(black.first, 0);
    RECT after = cell;
    after.left = cell.right - 2;
    after.right = Cell(0, 3).right;
    EXPECT_EQ(CountPixels(*bmp, after, kBlack), 0) << "text ran into the next column";
    // The part after the tag starts beyond the cell's edge: nothing of it is painted.
    const RECT row = host.ItemRect(0, LVIR_BOUNDS);
    EXPECT_EQ(CountPixels(*bmp, row, kRed), 0);
}

TEST_F(ListPaint, EveryColumnGoesThroughTheMarkup) {
    host.SetRows({{"1", "<#0000FF>x.com", "", "Registrar <Inc> Ltd"}});
    auto bmp = RenderList(host.m_list.GetHandle());
    EXPECT_GT(CountPixels(*bmp, Cell(0, 1), kBlue), 5);
    EXPECT_EQ(CountPixels(*bmp, Cell(0, 1), kBlack), 0);
    host.SetRows({{"1", "", "", "Registrar  Ltd"}});
    auto plain = RenderList(host.m_list.GetHandle());
    const RECT reg = Cell(0, 3);
    EXPECT_EQ(CountPixels(*bmp, reg, kBlack), CountPixels(*plain, reg, kBlack));
}

TEST_F(ListPaint, EmptyListShowsItsTextCentredUnderTheHeader) {
    host.SetRows({});
    auto bmp = RenderList(host.m_list.GetHandle());
    const RECT client = host.m_list.GetClientRect();
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    const RECT area = {0, 0, client.right, client.bottom};
    const auto span = ColourSpan(*bmp, area, text);
    ASSERT_GE(span.first, 0) << "no empty text painted";
    EXPECT_NEAR((span.first + span.second) / 2, client.right / 2, 4);
    // Below the header and its 10-pixel gap.
    HWND header = reinterpret_cast<HWND>(host.m_list.Send(LVM_GETHEADER));
    RECT item = {0, 0, 0, 0};
    ::SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const RECT above = {0, 0, client.right, item.bottom + 10};
    EXPECT_EQ(CountPixels(*bmp, above, text), 0);

    // No text configured, or rows present: nothing of it.
    host.m_list.m_strEmptyText.clear();
    bmp = RenderList(host.m_list.GetHandle());
    EXPECT_EQ(CountPixels(*bmp, area, text), 0);
    host.m_list.m_strEmptyText = "The list is empty";
    host.SetRows({{"1", "", "", ""}});
    bmp = RenderList(host.m_list.GetHandle());
    const RECT below = {0, host.ItemRect(0, LVIR_BOUNDS).bottom + 1, client.right, client.bottom};
    EXPECT_EQ(CountPixels(*bmp, below, text), 0);
}

TEST(ColorListDefaults, MembersStartAsDocumented) {
    CColorListCtrl list;
    EXPECT_EQ(list.m_nRowHeightPercent, 130);
    EXPECT_EQ(list.m_crOddRow, RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(list.m_crEvenRow, RGB(0xF0, 0xFF, 0xFF));
    EXPECT_EQ(list.m_crText, RGB(0, 0, 0));
    EXPECT_EQ(list.m_crMark1, RGB(0xFF, 0, 0));
    EXPECT_EQ(list.m_crMark2, RGB(0x80, 0, 0));
    EXPECT_EQ(list.m_strEmptyText, "The list is empty");
    EXPECT_EQ(list.m_nContextMenuId, 0u);
}

TEST(ColorListMarkup, HugeCellWithManyTagsDrawsWithoutRecursion) {
    std::string text;
    for (int i = 0; i < 50000; ++i) text += "<#FF0000>a";
    CClientDC screen(nullptr);
    COffscreenBitmap bmp(screen.Get(), 200, 20);
    ASSERT_TRUE(bmp);
    CColorListCtrl list;
    list.DrawMarkupText(bmp.GetDC(), text, RECT{0, 0, 200, 20}, DT_LEFT, false);
    EXPECT_GT(CountPixels(bmp, RECT{0, 0, 200, 20}, kRed), 0);
}

}  // namespace
