#include "cli/record_output.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

#include "cli/output_text.h"
#include "domains/domain_data.h"
#include "tests/cli/cli_process.h"

namespace {

using namespace std::string_literals;

CDomainData TakenRecord() {
    CDomainData r("example.com");
    r.m_nState = STATE_TAKEN;
    r.m_dtChecked = CDateTime::FromDateTime(2026, 12, 6, 21, 5, 9);
    r.m_dtCreated = CDateTime::FromDate(1995, 8, 14);
    r.m_dtExpires = CDateTime::FromDate(2027, 8, 13);
    r.m_dtUpdated = CDateTime::FromDate(2024, 8, 14);
    r.m_strRegistrar = "Example Registrar, Inc.";
    r.m_strWhoisServer = "whois.example-registrar.test";
    r.m_strWhoisText = "Domain Name: EXAMPLE.COM\r\nRegistrar: Example Registrar, Inc.\r\n";
    return r;
}

struct StatusCase {
    int state;
    const char* statusText;
    const char* cell;
    const char* name;
};

void PrintTo(const StatusCase& c, std::ostream* os) {
    *os << "state " << c.state << (*c.statusText ? " with status text" : "");
}

class PlainStatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(PlainStatusTest, StatusCellCarriesNoColourTag) {
    const StatusCase& c = GetParam();
    CDomainData r("a.com");
    r.m_nState = c.state;
    r.m_strStatus = c.statusText;
    EXPECT_EQ(PlainStatusCell(r), c.cell) << "state " << c.state;
    EXPECT_STREQ(StateName(c.state), c.name);
}

INSTANTIATE_TEST_SUITE_P(
    States, PlainStatusTest,
    ::testing::Values(StatusCase{STATE_FREE, "", "Free", "free"},
                      StatusCase{STATE_TAKEN, "", "NA", "taken"},
                      StatusCase{STATE_RESERVED, "", "NA", "reserved"},
                      StatusCase{STATE_RESOLVES, "", "NA", "resolves"},
                      StatusCase{STATE_QUEUED, "", "?", "queued"},
                      StatusCase{STATE_UNCHECKED, "", "?", "unchecked"},
                      StatusCase{STATE_ERROR, "", "Error", "error"},
                      StatusCase{99, "", "?", "unknown"}, StatusCase{-1, "", "?", "unknown"},
                      // The status text wins over the state, upper-cased, and a "<" in it is the
                      // server's text, not a tag.
                      StatusCase{STATE_FREE, "clientHold <x>", "CLIENTHOLD <X>", "free"},
                      StatusCase{STATE_TAKEN, "active", "ACTIVE", "taken"}));

TEST(RecordTsvTest, TakenRecordGivesTheEightExportCellsWithIsoDates) {
    const std::string line = FormatRecordTsv(TakenRecord(), false);
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.back(), '\n');
    const auto cells = SplitTabs(line.substr(0, line.size() - 1));
    const std::vector<std::string> expected = {"example.com",
                                               "NA",
                                               "1995-08-14",
                                               "2027-08-13",
                                               "2024-08-14",
                                               "2026-12-06",
                                               "whois.example-registrar.test",
                                               "Example Registrar, Inc."};
    EXPECT_EQ(cells, expected);
}

TEST(RecordTsvTest, NewRecordHasEmptyCellsNotMissingOnes) {
    const std::string line = FormatRecordTsv(CDomainData("abc"), false);
    EXPECT_EQ(line, "abc\t?\t\t\t\t\t\t\n");
}

TEST(RecordTsvTest, WhoisTextIsOneEscapedNinthCell) {
    const std::string line = FormatRecordTsv(TakenRecord(), true);
    ASSERT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
    const auto cells = SplitTabs(line.substr(0, line.size() - 1));
    ASSERT_EQ(cells.size(), 9u);
    EXPECT_EQ(cells[8], "Domain Name: EXAMPLE.COM\\r\\nRegistrar: Example Registrar, Inc.\\r\\n");
}

TEST(RecordTsvTest, ServerTextWithTabsAndLineBreaksStaysInItsCell) {
    CDomainData r = TakenRecord();
    r.m_strRegistrar = "Evil\tInjected\nfake.com\tFree";
    r.m_strStatus = "ok\r\n";
    const std::string line = FormatRecordTsv(r, false);
    EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
    EXPECT_EQ(SplitTabs(line.substr(0, line.size() - 1)).size(), 8u);
}

TEST(RecordJsonTest, FieldsStateAndIsoDatesRoundTripThroughAParser) {
    const std::string line = FormatRecordJson(TakenRecord(), false);
    ASSERT_EQ(line.back(), '\n');
    ASSERT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
    const auto o = nlohmann::json::parse(line);
    EXPECT_EQ(o["domain"], "example.com");
    EXPECT_EQ(o["state"], 1);
    EXPECT_EQ(o["state_name"], "taken");
    EXPECT_EQ(o["status"], "NA");
    EXPECT_EQ(o["status_text"], "");
    EXPECT_EQ(o["created"], "1995-08-14T00:00:00");
    EXPECT_EQ(o["expires"], "2027-08-13T00:00:00");
    EXPECT_EQ(o["updated"], "2024-08-14T00:00:00");
    EXPECT_EQ(o["checked"], "2026-12-06T21:05:09");
    EXPECT_EQ(o["whois_server"], "whois.example-registrar.test");
    EXPECT_EQ(o["registrar"], "Example Registrar, Inc.");
    EXPECT_FALSE(o.contains("whois_text"));
}

TEST(RecordJsonTest, NullAndInvalidDatesAreJsonNull) {
    CDomainData r("abc");
    r.m_dtCreated = CDateTime(12.0, CDateTime::invalid);
    const auto o = nlohmann::json::parse(FormatRecordJson(r, false));
    EXPECT_TRUE(o["created"].is_null());
    EXPECT_TRUE(o["expires"].is_null());
    EXPECT_TRUE(o["checked"].is_null());
    EXPECT_EQ(o["state"], 5);
    EXPECT_EQ(o["status"], "?");
}

TEST(RecordJsonTest, BinaryAndAnsiTextsGiveValidJsonInsteadOfThrowing) {
    CDomainData r = TakenRecord();
    std::string binary;
    for (int i = 0; i < 256; ++i) binary.push_back(static_cast<char>(i));
    r.m_strWhoisText = binary + binary;
    r.m_strRegistrar = "Soci\xe9t\xe9 \x80";
    std::string line;
    ASSERT_NO_THROW(line = FormatRecordJson(r, true));
    EXPECT_TRUE(IsValidUtf8(line));
    nlohmann::json o;
    ASSERT_NO_THROW(o = nlohmann::json::parse(line));
    EXPECT_EQ(o["registrar"], "Soci\xc3\xa9t\xc3\xa9 \xe2\x82\xac");
    EXPECT_EQ(o["whois_text"].get<std::string>().size(), AnsiToUtf8(binary + binary).size());
}

}  // namespace
