#include "ui/rows_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A list whose cell (r, c) reads "r.c"; headings are given per column, an absent heading means
// it cannot be read.
class CFakeRows : public IRowsSource {
public:
    CFakeRows(int rows, std::vector<const char*> headings)
        : m_nRows(rows), m_headings(std::move(headings)) {}
    int GetRowCount() const override { return m_nRows; }
    int GetColumnCount() const override { return static_cast<int>(m_headings.size()); }
    bool GetColumnHeading(int column, std::string& heading) const override {
        const char* h = m_headings[static_cast<size_t>(column)];
        if (!h)
            return false;
        heading = h;
        return true;
    }
    std::string GetCellText(int row, int column) const override {
        ++m_nReads;
        if (row < 0 || row >= m_nRows)
            ADD_FAILURE() << "row " << row << " read";
        return std::to_string(row) + "." + std::to_string(column);
    }
    int m_nRows;
    std::vector<const char*> m_headings;
    mutable int m_nReads = 0;
};

TEST(RowsText, AllRowsSkipTheNumberColumnAndEndEveryCellWithTab) {
    struct Case {
        const char* name;
        int rows;
        std::vector<const char*> headings;
        int selector;
        const char* expected;
    } cases[] = {
        {"AllColumns", 2, {"#", "Domain", "Status"}, kAllColumns, "0.1\t0.2\t\r\n1.1\t1.2\t\r\n"},
        {"DomainOnly", 2, {"#", "Domain", "Status"}, 1, "0.1\t\r\n1.1\t\r\n"},
        {"NumberColumnSelectedGivesEmptyLines", 1, {"#", "Domain"}, 0, "\r\n"},
        {"UnknownSelectorGivesEmptyLines", 1, {"#", "Domain"}, 7, "\r\n"},
        {"NoColumnsNoLineBreaks", 3, {}, kAllColumns, ""},
        {"NoRows", 0, {"#", "Domain"}, kAllColumns, ""},
        {"HashOnlyWhenExactlyHash", 1, {"# ", "##", "Domain"}, kAllColumns, "0.0\t0.1\t0.2\t\r\n"},
        {"HashAnywhereIsSkipped", 1, {"Domain", "#"}, kAllColumns, "0.0\t\r\n"},
        {"UnreadableHeadingIsKept", 1, {nullptr, "Domain"}, kAllColumns, "0.0\t0.1\t\r\n"},
    };
    for (const Case& c : cases) {
        CFakeRows rows(c.rows, c.headings);
        std::string text;
        const bool nonEmpty = BuildAllRowsText(rows, text, c.selector);
        EXPECT_EQ(text, c.expected) << c.name;
        EXPECT_EQ(nonEmpty, !text.empty()) << c.name;
    }
}

TEST(RowsText, TextIsAppendedToWhatTheCallerHas) {
    CFakeRows rows(0, {"#", "Domain"});
    std::string text = "head";
    EXPECT_TRUE(BuildAllRowsText(rows, text, kAllColumns));  // non-empty from before
    EXPECT_EQ(text, "head");
    CFakeRows one(1, {"#", "Domain"});
    EXPECT_TRUE(BuildAllRowsText(one, text, 1));
    EXPECT_EQ(text, "head0.1\t\r\n");
}

TEST(RowsText, SelectedRowsInTheGivenOrderAndOutOfRangeRowsSkipped) {
    CFakeRows rows(5, {"#", "Domain", "Status"});
    std::string text;
    EXPECT_TRUE(BuildRowsText(rows, {1, 3, -1, 5, 99}, text, kAllColumns));
    EXPECT_EQ(text, "1.1\t1.2\t\r\n3.1\t3.2\t\r\n");
    std::string none;
    EXPECT_FALSE(BuildRowsText(rows, {}, none, kAllColumns));
    EXPECT_EQ(none, "");
}

TEST(RowsText, ColumnTextsReplaceTheArrayAndRefuseMissingColumns) {
    CFakeRows rows(4, {"#", "Domain", "Status"});
    std::vector<std::string> texts = {"stale"};
    EXPECT_EQ(CollectColumnTexts(rows, {0, 2, 3}, 1, texts), 3);
    EXPECT_EQ(texts, (std::vector<std::string>{"0.1", "2.1", "3.1"}));

    for (int bad : {-1, 3, 1000}) {
        texts = {"stale"};
        rows.m_nReads = 0;
        EXPECT_EQ(CollectColumnTexts(rows, {0, 1}, bad, texts), 0) << bad;
        EXPECT_TRUE(texts.empty()) << bad;
        EXPECT_EQ(rows.m_nReads, 0) << bad;
    }
    // The "#" column is a column like any other here.
    EXPECT_EQ(CollectColumnTexts(rows, {1}, 0, texts), 1);
    EXPECT_EQ(texts[0], "1.0");
}

}  // namespace
