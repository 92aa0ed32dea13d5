#include "ui/list_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(ListLayout, DomainColumnFollowsTheSawTooth) {
    struct Case {
        int w;
        int width;
    } cases[] = {
        {530, 105}, {634, 209},  {635, 120}, {724, 209}, {725, 120}, {814, 209},   {815, 120},
        {816, 121}, {1000, 305}, {425, 0},   {426, 1},   {544, 119}, {2000, 1305},
    };
    for (const Case& c : cases) EXPECT_EQ(ComputeDomainColumnWidth(c.w), c.width) << c.w;
}

TEST(ListLayout, FromEightHundredFifteenTheColumnsFillAllButFivePixels) {
    for (int w = 815; w < 3000; w += 37) {
        int total = 0;
        for (int width : ComputeColumnWidths(w)) total += width;
        EXPECT_EQ(total, w - 5) << w;
    }
}

TEST(ListLayout, NarrowOrHugeListsNeverGiveAnOutOfRangeWidth) {
    // A negative width would reach the list view as a 16-bit "autosize" request.
    for (int w : {424, 300, 0, -1, -100000, -2147483647 - 1}) {
        EXPECT_EQ(ComputeDomainColumnWidth(w), 0) << w;
    }
    for (int w : {33192, 70000, 2147483647}) {
        const int width = ComputeDomainColumnWidth(w);
        EXPECT_GE(width, 0) << w;
        EXPECT_LE(width, 32767) << w;
    }
}

TEST(ListLayout, FixedColumnsKeepTheirWidths) {
    const auto widths = ComputeColumnWidths(700);
    EXPECT_EQ(widths[0], 60);
    for (size_t c = 2; c < widths.size(); ++c) EXPECT_EQ(widths[c], 90) << c;
}

TEST(ListLayout, ControlRectanglesFollowTheClientSize) {
    const CMainLayout l = ComputeMainLayout(800, 500);
    EXPECT_EQ(l.m_status, (CLayoutRect{4, 480, 764, 16}));
    EXPECT_EQ(l.m_group, (CLayoutRect{4, 2, 792, 76}));
    EXPECT_EQ(l.m_list, (CLayoutRect{4, 88, 792, 380}));
    EXPECT_EQ(l.m_makerIcon, (CLayoutRect{760, 16, 32, 32}));
    EXPECT_EQ(l.m_cornerIcon, (CLayoutRect{768, 468, 32, 32}));
}

TEST(ListLayout, MinimizedClientAreaGivesNoNegativeSizes) {
    for (auto [w, h] : {std::pair{0, 0}, std::pair{10, 10}, std::pair{-5, -5}}) {
        const CMainLayout l = ComputeMainLayout(w, h);
        for (const CLayoutRect& r :
             {l.m_status, l.m_group, l.m_list, l.m_makerIcon, l.m_cornerIcon}) {
            EXPECT_GE(r.m_nWidth, 0) << w << "x" << h;
            EXPECT_GE(r.m_nHeight, 0) << w << "x" << h;
        }
    }
    const CMainLayout l = ComputeMainLayout(0, 0);
    EXPECT_EQ(l.m_list, (CLayoutRect{4, 88, 0, 0}));
    EXPECT_EQ(l.m_status.m_nY, -20);  // positions follow the rule; only sizes are clamped
}

}  // namespace
