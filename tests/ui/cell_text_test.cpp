#include "ui/cell_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "domains/domain_array.h"

namespace {

std::string FakeDate(const CDateTime& dt) {
    return "D" + std::to_string(static_cast<int>(dt.GetDays()));
}

TEST(CellText, EveryStateHasItsCellText) {
    struct Case {
        int state;
        const char* text;
    } cases[] = {
        {STATE_FREE, "<#FF0000>Free"},
        {STATE_TAKEN, "<#0000FF>NA"},
        {STATE_RESERVED, "NA"},
        {STATE_RESOLVES, "NA"},
        {STATE_QUEUED, "<#0000FF>?"},
        {STATE_UNCHECKED, "?"},
        {STATE_ERROR, "<#FF0000>Error"},
        {7, "?"},
        {-1, "?"},
        {1000000, "?"},
        {INT32_MIN, "?"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(StateCellText(c.state), c.text) << c.state;
        CDomainData record("a.com");
        record.m_nState = c.state;
        EXPECT_EQ(StatusCellText(record), c.text) << c.state;
    }
}

TEST(CellText, StatusTextReplacesStateAndIsUpperCasedOnACopy) {
    struct Case {
        const char* status;
        int state;
        const char* text;
    } cases[] = {
        {"clientTransferProhibited", STATE_TAKEN, "CLIENTTRANSFERPROHIBITED"},
        {"ok", STATE_FREE, "OK"},  // a free name with a status shows the status
        {"<#FF0000>red", STATE_ERROR, "<#FF0000>RED"},
        {"caf\xe9 \xfe\xff \x9a\x9c\x9e \xf7\xdf\xb5", STATE_TAKEN,
         "CAF\xc9 \xde\x9f \x8a\x8c\x8e \xf7\xdf\xb5"},
        {"", STATE_TAKEN, "<#0000FF>NA"},
    };
    for (const Case& c : cases) {
        CDomainData record("a.com");
        record.m_nState = c.state;
        record.m_strStatus = c.status;
        EXPECT_EQ(StatusCellText(record), c.text) << c.status;
        EXPECT_EQ(record.m_strStatus, c.status);
    }
}

class CellTextList : public ::testing::Test {
protected:
    void SetUp() override {
        auto r = std::make_unique<CDomainData>("Example.com");
        r->m_nState = STATE_TAKEN;
        r->m_dtCreated = CDateTime(100.0, CDateTime::valid);
        r->m_dtExpires = CDateTime(200.5, CDateTime::valid);
        r->m_dtUpdated = CDateTime(300.0, CDateTime::invalid);
        r->m_dtChecked = CDateTime(400.0, CDateTime::null);
        r->m_strWhoisServer = "whois.example.net";
        r->m_strRegistrar = "Registrar <b>Inc";
        m_domains.Append(std::move(r));
        m_domains.AddName("second.org");
    }
    CDomainArray m_domains;
};

TEST_F(CellTextList, ColumnsFollowTheColumnTable) {
    struct Case {
        int row, column;
        bool present;
        const char* text;
    } cases[] = {
        {0, 0, true, "1"},
        {0, 1, true, "Example.com"},
        {0, 2, true, "<#0000FF>NA"},
        {0, 3, true, "D100"},
        {0, 4, true, "D200"},
        {0, 5, true, ""},  // invalid date: empty
        {0, 6, true, ""},  // null date: empty
        {0, 7, true, "whois.example.net"},
        {0, 8, true, "Registrar <b>Inc"},  // markup is the drawer's business
        {1, 0, true, "2"},
        {1, 1, true, "second.org"},
        {1, 2, true, "?"},
        {1, 3, true, ""},
        {1, 7, true, ""},
        // Outside the list: the number still shows, the name is empty, the rest is untouched.
        {2, 0, true, "3"},
        {2, 1, true, ""},
        {2, 2, false, ""},
        {2, 8, false, ""},
        {-1, 0, true, "0"},
        {-1, 1, true, ""},
        {-1, 4, false, ""},
        {2147483647, 0, true, "2147483648"},
        {0, 9, false, ""},
        {0, -1, false, ""},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> text = GetCellText(m_domains, c.row, c.column, FakeDate);
        ASSERT_EQ(text.has_value(), c.present) << c.row << "," << c.column;
        if (c.present) {
            EXPECT_EQ(*text, c.text) << c.row << "," << c.column;
        }
    }
}

TEST_F(CellTextList, MissingFormatterGivesEmptyDates) {
    EXPECT_EQ(GetCellText(m_domains, 0, 3, DateFormatter()).value_or("x"), "");
}

TEST(CellText, HeadingsOfTheNineColumns) {
    const char* expected[] = {"#",       "Domain",     "Status",       "Created",  "Expires",
                              "Updated", "Checked On", "Whois Server", "Registrar"};
    for (int c = 0; c < kListColumnCount; ++c) EXPECT_STREQ(ListColumnHeading(c), expected[c]);
    EXPECT_STREQ(ListColumnHeading(9), "");
    EXPECT_STREQ(ListColumnHeading(-1), "");
}

TEST(CellText, CopyNeverWritesPastTheBuffer) {
    struct Case {
        const char* text;
        size_t capacity;
        size_t copied;
        const char* result;
    } cases[] = {
        {"example.com", 64, 11, "example.com"},
        {"example.com", 12, 11, "example.com"},
        {"example.com", 11, 10, "example.co"},
        {"example.com", 2, 1, "e"},
        {"example.com", 1, 0, ""},
        {"", 8, 0, ""},
    };
    for (const Case& c : cases) {
        char buffer[80];
        std::memset(buffer, '!', sizeof buffer);
        EXPECT_EQ(CopyCellText(c.text, buffer, c.capacity), c.copied) << c.capacity;
        EXPECT_STREQ(buffer, c.result);
        for (size_t i = c.capacity; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '!') << i;
    }
    char untouched = '!';
    EXPECT_EQ(CopyCellText("abc", &untouched, 0), 0u);
    EXPECT_EQ(untouched, '!');
    EXPECT_EQ(CopyCellText("abc", nullptr, 10), 0u);
}

TEST(CellText, NumericDateOnlyForValidDates) {
    EXPECT_EQ(FormatNumericDate(CDateTime::FromDate(2003, 3, 28)), "3/28/2003");
    EXPECT_EQ(FormatNumericDate(CDateTime::FromDateTime(2003, 3, 28, 23, 59, 59)), "3/28/2003");
    EXPECT_EQ(FormatNumericDate(CDateTime(36526.0, CDateTime::invalid)), "");
    EXPECT_EQ(FormatNumericDate(CDateTime()), "");
    EXPECT_EQ(FormatNumericDate(CDateTime(1e300, CDateTime::valid)), "");
}

}  // namespace
