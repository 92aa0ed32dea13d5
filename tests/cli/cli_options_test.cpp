#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

bool Parse(std::vector<std::string> args, CliOptions& options, std::string& error) {
    args.insert(args.begin(), "quorvix-cli");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    return ParseCliOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

struct UsageCase {
    std::vector<std::string> args;
    bool ok;
    CliCommand command;
};

void PrintTo(const UsageCase& c, std::ostream* os) {
    *os << "quorvix-cli";
    for (const std::string& a : c.args) *os << " '" << a << "'";
}

class CliUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageTest, BadUsageIsRefusedWithOneLine) {
    CliOptions options;
    std::string error;
    std::string joined;
    for (const auto& a : GetParam().args) joined += a + " ";
    EXPECT_EQ(Parse(GetParam().args, options, error), GetParam().ok) << joined << error;
    if (GetParam().ok) {
        EXPECT_EQ(options.command, GetParam().command) << joined;
    } else {
        EXPECT_FALSE(error.empty()) << joined;
        EXPECT_EQ(error.find('\n'), std::string::npos) << joined;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CliUsageTest,
    ::testing::Values(UsageCase{{}, false, CliCommand::None},
                      UsageCase{{"frobnicate"}, false, CliCommand::None},
                      UsageCase{{"check"}, true, CliCommand::Check},
                      UsageCase{{"check", "a.com", "b.net"}, true, CliCommand::Check},
                      UsageCase{{"check", "--format", "xml", "a.com"}, false, CliCommand::None},
                      UsageCase{{"check", "--format"}, false, CliCommand::None},
                      UsageCase{{"check", "--data"}, false, CliCommand::None},
                      UsageCase{{"check", "--data", ""}, false, CliCommand::None},
                      UsageCase{{"check", "--attempts", "0", "a.com"}, false, CliCommand::None},
                      UsageCase{{"check", "--attempts", "x", "a.com"}, false, CliCommand::None},
                      UsageCase{{"check", "--bogus"}, false, CliCommand::None},
                      UsageCase{{"dump"}, false, CliCommand::None},
                      UsageCase{{"dump", ""}, false, CliCommand::None},
                      UsageCase{{"dump", "f.dcd", "g.dcd"}, false, CliCommand::None},
                      UsageCase{{"dump", "f.dcd", "--whois"}, true, CliCommand::Dump},
                      UsageCase{{"settings"}, true, CliCommand::Settings},
                      UsageCase{{"settings", "extra"}, false, CliCommand::None}));

TEST(CliOptionsTest, CheckTakesDataFormatAndNamesInAnyOrder) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"check", "a.com", "--format", "json", "--data", "l.dcd", "b.net"}, o, error))
        << error;
    EXPECT_EQ(o.format, OutputFormat::Json);
    EXPECT_EQ(o.dataFile, "l.dcd");
    EXPECT_EQ(o.names, (std::vector<std::string>{"a.com", "b.net"}));
    EXPECT_EQ(o.maxAttempts, 5);
}

TEST(CliOptionsTest, DumpTakesFileAndWhoisFlag) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"dump", "--format", "JSON", "x.dcd", "--whois"}, o, error)) << error;
    EXPECT_EQ(o.dataFile, "x.dcd");
    EXPECT_EQ(o.format, OutputFormat::Json);
    EXPECT_TRUE(o.withWhois);
}

TEST(CliOptionsTest, HelpIsAnsweredNotAnError) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--help"}, o, error));
    EXPECT_TRUE(o.helpShown);
    EXPECT_NE(o.helpText.find("check"), std::string::npos);
    ASSERT_TRUE(Parse({"dump", "--help"}, o, error));
    EXPECT_NE(o.helpText.find("--whois"), std::string::npos);
}

#ifndef _WIN32
TEST(CliOptionsTest, SettingsFileOptionOnBothCommandsThatReadSettings) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"settings", "--settings", "/tmp/s.ini"}, o, error)) << error;
    EXPECT_EQ(o.settingsFile, "/tmp/s.ini");
    ASSERT_TRUE(Parse({"check", "--settings", "/tmp/t.ini", "a.com"}, o, error)) << error;
    EXPECT_EQ(o.settingsFile, "/tmp/t.ini");
}
#endif

}  // namespace
