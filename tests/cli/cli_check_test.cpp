// quorvix-cli check and dump end to end, against a fake WHOIS server on 127.0.0.162.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <vector>

#include "cli/output_text.h"
#include "domains/data_file.h"
#include "domains/domain_array.h"
#include "tests/cli/cli_process.h"
#include "tests/support/fake_whois_server.h"
#include "tests/support/temp_dir.h"
#include "whois/date_recognizer.h"

namespace {

const char kTakenAnswer[] =
    "Domain Name: TAKEN.COM\r\n"
    "Registrar: EXAMPLE REGISTRAR, INC.\r\n"
    "Whois Server: whois.registrar.test\r\n"
    "Status: ACTIVE\r\n"
    "Updated Date: 14-aug-2024\r\n"
    "Creation Date: 14-aug-1995\r\n"
    "Expiration Date: 2027-08-13\r\n";
const char kFreeAnswer[] = "No match for \"FREE.COM\".\r\n";

std::string ExpectedDate(const char* text) {
    CDateTime dt;
    if (!RecognizeDate(kTakenAnswer, text, dt))
        return "unrecognized";
    return FormatIsoDate(dt);
}

FakeReply ByName() {
    return FakeReply::PerQuery([](const std::string& query) -> std::string {
        if (query.find("taken") != std::string::npos)
            return kTakenAnswer;
        if (query.find("free") != std::string::npos)
            return kFreeAnswer;
        return "No match for \"OTHER\".\r\n";
    });
}

class CliCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeServerOptions o;
        o.address = "127.0.0.162";
        o.timeLimitMs = 50000;
        o.maxConnections = 40;
        server = std::make_unique<CFakeWhoisServer>(o, std::vector<FakeReply>{ByName()});
        ASSERT_TRUE(server->IsRunning());
        settings = dir.File("settings.ini");
        WriteFileBytes(settings,
                       "[com]\nServer=127.0.0.162\nQuery Prefix=domain\n"
                       "[net]\nServer=127.0.0.162\n"
                       "[biz]\nServer=127.0.0.162\n"
                       "[127.0.0.162]\nMax Connections=8\nConnection Interval=0\n");
    }

    ProcessResult Run(std::vector<std::string> args, std::string input = std::string(),
                      bool inputFromNull = false) {
        if (!args.empty() && args[0] == "check") {
            args.insert(args.begin() + 1, {"--settings", settings});
        }
        ProcessOptions p;
        p.env = CliTestEnvironment(dir.Path(), server->Port());
        p.input = std::move(input);
        p.inputFromNull = inputFromNull;
        return RunQuorvixCli(args, p);
    }

    CTempDir dir;
    std::unique_ptr<CFakeWhoisServer> server;
    std::string settings;
};

TEST_F(CliCheckTest, TakenAndFreeNamesGetTheirVerdictsAndFieldsAsTsv) {
    const ProcessResult r = Run({"check", "taken.com", "free.com"});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const auto lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 2u) << r.out;
    const auto taken = SplitTabs(lines[0]);
    ASSERT_EQ(taken.size(), 8u) << lines[0];
    EXPECT_EQ(taken[0], "taken.com");
    EXPECT_EQ(taken[1], "ACTIVE");  // the status text wins over "NA"
    EXPECT_EQ(taken[2], ExpectedDate("14-aug-1995"));
    EXPECT_EQ(taken[3], ExpectedDate("2027-08-13"));
    EXPECT_EQ(taken[4], ExpectedDate("14-aug-2024"));
    EXPECT_EQ(taken[2], "1995-08-14");
    EXPECT_EQ(taken[5].size(), 10u) << "checked-on date";
    EXPECT_EQ(taken[6], "whois.registrar.test");
    EXPECT_EQ(taken[7], "EXAMPLE REGISTRAR, INC.");
    const auto free = SplitTabs(lines[1]);
    ASSERT_EQ(free.size(), 8u);
    EXPECT_EQ(free[0], "free.com");
    EXPECT_EQ(free[1], "Free") << "the colour tag must not reach the output";
    EXPECT_EQ(free[6], "127.0.0.162") << "without a Whois Server line the asked server is kept";
    EXPECT_EQ(r.err.find("elapsed"), std::string::npos) << "no progress line into a pipe";
}

TEST_F(CliCheckTest, ProgressLineAppearsOnATerminal) {
    if (RunProcess("/bin/sh", {"-c", "command -v script"}).exitCode != 0) {
        GTEST_SKIP() << "no script(1) to provide a terminal";
    }
    // script(1) runs the program on a pseudo-terminal, so standard error is a terminal.
    const std::string cmd = "'" + CliPath() + "' check --settings '" + settings + "' taken.com";
    ProcessOptions p;
    p.env = CliTestEnvironment(dir.Path(), server->Port());
    p.inputFromNull = true;
    const ProcessResult r = RunProcess("/usr/bin/script", {"-qec", cmd, "/dev/null"}, p);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    // Whether the answer is already in when the line is first drawn depends on timing.
    const bool before =
        r.out.find("\rdone 0/1, queued 0, running 1, elapsed 0:0") != std::string::npos;
    const bool after =
        r.out.find("\rdone 1/1, queued 0, running 0, elapsed 0:0") != std::string::npos;
    EXPECT_TRUE(before || after) << r.out;
    EXPECT_NE(r.out.find("taken.com\tACTIVE\t"), std::string::npos) << r.out;
}

TEST_F(CliCheckTest, NamesBeyondTheListLimitAreReportedAndTheRestChecked) {
    // Names without a dot become errors without any network traffic, so a full list stays quick.
    std::string names;
    for (int i = 0; i <= MAX_DOMAINS; ++i) names += "n" + std::to_string(i) + " ";
    ProcessOptions p;
    p.env = CliTestEnvironment(dir.Path(), server->Port(), 1);
    p.input = names;
    const ProcessResult r = RunQuorvixCli({"check", "--settings", settings}, p);
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(SplitLines(r.out).size(), static_cast<size_t>(MAX_DOMAINS));
    EXPECT_NE(r.err.find("the list is full (2500 names); 1 names were not added"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(server->ConnectionCount(), 0);
}

TEST_F(CliCheckTest, QueryLineCarriesTheConfiguredPrefix) {
    const ProcessResult r = Run({"check", "taken.com", "free.net"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> queries;
    for (const FakeConnection& c : server->Connections()) queries.push_back(c.query);
    std::sort(queries.begin(), queries.end());
    EXPECT_EQ(queries, (std::vector<std::string>{"domain taken.com", "free.net"}));
}

TEST_F(CliCheckTest, JsonLinesCarryStateCodeNameIsoDatesAndTexts) {
    const ProcessResult r = Run({"check", "--format", "json", "taken.com", "free.com", "nodot"});
    EXPECT_EQ(r.exitCode, 1) << "a name without a dot ends in error: " << r.err;
    const auto lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 3u) << r.out;
    const auto taken = nlohmann::json::parse(lines[0]);
    EXPECT_EQ(taken["domain"], "taken.com");
    EXPECT_EQ(taken["state"], 1);
    EXPECT_EQ(taken["state_name"], "taken");
    EXPECT_EQ(taken["status"], "ACTIVE");
    EXPECT_EQ(taken["status_text"], "ACTIVE");
    EXPECT_EQ(taken["created"], "1995-08-14T00:00:00");
    EXPECT_EQ(taken["registrar"], "EXAMPLE REGISTRAR, INC.");
    EXPECT_TRUE(taken["checked"].is_string());
    const auto free = nlohmann::json::parse(lines[1]);
    EXPECT_EQ(free["state"], 0);
    EXPECT_EQ(free["status"], "Free");
    EXPECT_TRUE(free["created"].is_null());
    const auto error = nlohmann::json::parse(lines[2]);
    EXPECT_EQ(error["domain"], "nodot");
    EXPECT_EQ(error["state"], 6);
    EXPECT_EQ(error["status"], "Error");
}

TEST_F(CliCheckTest, NamesFromStandardInputGoThroughTheIntakeRules) {
    const ProcessResult r =
        Run({"check"}, "Taken.COM, http://www.free.com/index.html\nfoo.co.uk\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const auto lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 2u) << r.out;
    EXPECT_EQ(SplitTabs(lines[0])[0], "taken.com");
    EXPECT_EQ(SplitTabs(lines[1])[0], "free.com");
    EXPECT_NE(r.err.find("2 names refused"), std::string::npos) << r.err;
}

TEST_F(CliCheckTest, BinaryStandardInputAddsOnlyWhatTheIntakeAccepts) {
    std::string junk = "taken.com ";
    for (int i = 1; i < 256; ++i) junk.push_back(static_cast<char>(i));
    junk += " free.com";
    const ProcessResult r = Run({"check"}, junk);
    EXPECT_FALSE(r.timedOut);
    EXPECT_NE(r.exitCode, 2) << r.err;
    EXPECT_NE(r.out.find("taken.com\t"), std::string::npos) << r.out;
}

TEST_F(CliCheckTest, FailingExchangesAreRetriedAFewTimesThenEndInError) {
    // The fake server resets every connection of this test's second server address.
    FakeServerOptions o;
    o.address = "127.0.0.163";
    o.timeLimitMs = 30000;
    o.maxConnections = 20;
    CFakeWhoisServer resetting(o, {FakeReply::Reset()});
    ASSERT_TRUE(resetting.IsRunning());
    WriteFileBytes(settings, "[org]\nServer=127.0.0.163\n[127.0.0.163]\nConnection Interval=0\n");
    ProcessOptions p;
    p.env = CliTestEnvironment(dir.Path(), resetting.Port());
    const ProcessResult r =
        RunQuorvixCli({"check", "--settings", settings, "--attempts", "3", "down.org"}, p);
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(resetting.ConnectionCount(), 3);
    ASSERT_EQ(SplitLines(r.out).size(), 1u);
    EXPECT_EQ(SplitTabs(SplitLines(r.out)[0])[1], "Error");
}

TEST_F(CliCheckTest, RateLimitAnswersCountAsAttemptsAndDoNotLoopForever) {
    FakeServerOptions o;
    o.address = "127.0.0.164";
    o.timeLimitMs = 30000;
    o.maxConnections = 20;
    CFakeWhoisServer limiting(o, {FakeReply::Answer("WHOIS LIMIT EXCEEDED - try again later\r\n")});
    ASSERT_TRUE(limiting.IsRunning());
    WriteFileBytes(settings, "[org]\nServer=127.0.0.164\n[127.0.0.164]\nConnection Interval=0\n");
    ProcessOptions p;
    p.env = CliTestEnvironment(dir.Path(), limiting.Port());
    const ProcessResult r =
        RunQuorvixCli({"check", "--settings", settings, "--attempts", "2", "busy.org"}, p);
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(limiting.ConnectionCount(), 2);
}

TEST_F(CliCheckTest, ServerClosingWithoutAnswerLeavesTheNameWithoutVerdict) {
    FakeServerOptions o;
    o.address = "127.0.0.163";
    o.timeLimitMs = 30000;
    o.maxConnections = 20;
    CFakeWhoisServer closing(o, {FakeReply::Close()});
    ASSERT_TRUE(closing.IsRunning());
    WriteFileBytes(settings, "[org]\nServer=127.0.0.163\n");
    ProcessOptions p;
    p.env = CliTestEnvironment(dir.Path(), closing.Port());
    const ProcessResult r = RunQuorvixCli({"check", "--settings", settings, "quiet.org"}, p);
    ASSERT_FALSE(r.timedOut);
    // An empty answer is not retried (as in the desktop program) and is no verdict either.
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(closing.ConnectionCount(), 1);
    ASSERT_EQ(SplitLines(r.out).size(), 1u);
    EXPECT_EQ(SplitTabs(SplitLines(r.out)[0])[1], "?");
}

struct ExitCase {
    const char* what;
    std::vector<std::string> args;
    bool inputFromNull;
    int exitCode;
    const char* message;  // expected in standard error
};

// Readable test names: the case's description.
void PrintTo(const ExitCase& c, std::ostream* os) {
    *os << c.what;
}

class CliExitCodeTest : public CliCheckTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(CliExitCodeTest, ExitStatusAndOneLineMessage) {
    const ExitCase& c = GetParam();
    std::vector<std::string> args = c.args;
    for (std::string& a : args) {
        if (a == "@dir")
            a = dir.Path();
        if (a == "@missing")
            a = dir.File("missing.ini");
    }
    const ProcessResult r = Run(args, std::string(), c.inputFromNull);
    ASSERT_FALSE(r.timedOut) << c.what;
    EXPECT_EQ(r.exitCode, c.exitCode) << c.what << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.what << ": " << r.err;
    // Every problem is one line of its own, naming the program.
    for (const std::string& line : SplitLines(r.err)) {
        EXPECT_EQ(line.rfind("quorvix-cli: ", 0), 0u) << c.what << ": " << line;
    }
    if (c.exitCode == 2) {
        EXPECT_FALSE(r.err.empty()) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliExitCodeTest,
    ::testing::Values(
        ExitCase{"every name has a verdict", {"check", "taken.com"}, false, 0, ""},
        ExitCase{"no command", {}, false, 2, "subcommand"},
        ExitCase{"unknown command", {"lookup", "a.com"}, false, 2, "lookup"},
        ExitCase{"unknown format", {"check", "--format", "xml", "a.com"}, false, 2, "xml"},
        ExitCase{"nothing on standard input", {"check"}, true, 2, "no domain names given"},
        ExitCase{"only refused names", {"check", "a.co.uk"}, false, 2, "no domain names given"},
        ExitCase{"named settings file missing",
                 {"settings", "--settings", "@missing"},
                 false,
                 2,
                 "missing.ini"},
        ExitCase{"settings file is a folder",
                 {"settings", "--settings", "@dir"},
                 false,
                 2,
                 "cannot read settings file"},
        ExitCase{"dump of a missing file", {"dump", "@missing"}, false, 2, "no such file"},
        ExitCase{"dump of a folder", {"dump", "@dir"}, false, 2, "not a regular file"},
        ExitCase{"data file is a folder",
                 {"check", "--data", "@dir", "a.com"},
                 false,
                 2,
                 "not a regular file"},
        ExitCase{"dotless name ends in error", {"check", "nodot"}, false, 1, "1 of 1"}));

TEST_F(CliCheckTest, SettingsCommandShowsTheFileValuesAsTheEngineUsesThem) {
    const ProcessResult r = Run({"settings", "--settings", settings, "--format", "json"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const auto lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 21u) << "the file lists no extension of its own";
    const auto com = nlohmann::json::parse(lines[0]);
    EXPECT_EQ(com["extension"], "com");
    EXPECT_EQ(com["server"], "127.0.0.162");
    EXPECT_EQ(com["query_prefix"], "domain");
    EXPECT_EQ(com["available_token"], "No match for");
    EXPECT_EQ(com["max_connections"], 8);
    EXPECT_EQ(com["connection_interval"], 0);
    const auto org = nlohmann::json::parse(lines[2]);
    EXPECT_EQ(org["extension"], "org");
    EXPECT_EQ(org["max_connections"], 1);
    EXPECT_EQ(org["connection_interval"], 12);
}

// --- data files -------------------------------------------------------------------------

std::unique_ptr<CDomainData> Record(const std::string& name, int state) {
    auto r = std::make_unique<CDomainData>(name);
    r->m_nState = state;
    if (state != STATE_UNCHECKED)
        r->m_dtChecked = CDateTime::FromDate(2020, 1, 2);
    return r;
}

TEST_F(CliCheckTest, DataFileKeepsStoredVerdictsAndLooksUpOnlyUncheckedAndErrorRecords) {
    const std::string data = dir.File("list.dcd");
    {
        CDomainArray list;
        list.Append(Record("kept.com", STATE_TAKEN));
        list.Append(Record("taken.com", STATE_UNCHECKED));
        list.Append(Record("free.com", STATE_ERROR));
        list.Append(Record("reserved.com", STATE_RESERVED));
        ASSERT_TRUE(SaveDomainFile(data, list));
    }
    const ProcessResult r = Run({"check", "--data", data}, std::string(), true);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> queries;
    for (const FakeConnection& c : server->Connections()) queries.push_back(c.query);
    std::sort(queries.begin(), queries.end());
    EXPECT_EQ(queries, (std::vector<std::string>{"domain free.com", "domain taken.com"}));

    CDomainArray back;
    ASSERT_EQ(LoadDomainFileChecked(data, back), DataFileCondition::complete);
    ASSERT_EQ(back.GetCount(), 4);
    EXPECT_EQ(back.GetRecord(0)->m_nState, STATE_TAKEN);
    EXPECT_EQ(back.GetRecord(0)->m_dtChecked, CDateTime::FromDate(2020, 1, 2));
    EXPECT_EQ(back.GetRecord(1)->m_nState, STATE_TAKEN);
    EXPECT_EQ(back.GetRecord(1)->m_strRegistrar, "EXAMPLE REGISTRAR, INC.");
    EXPECT_EQ(back.GetRecord(1)->m_strWhoisText, kTakenAnswer);
    EXPECT_EQ(back.GetRecord(2)->m_nState, STATE_FREE);
    EXPECT_EQ(back.GetRecord(3)->m_nState, STATE_RESERVED);
    EXPECT_EQ(SplitLines(r.out).size(), 4u) << "the whole list is printed in list order";
    EXPECT_EQ(SplitTabs(SplitLines(r.out)[3])[1], "NA");
}

TEST_F(CliCheckTest, NamesOnTheCommandLineAreAddedToTheDataFile) {
    const std::string data = dir.File("new.dcd");
    const ProcessResult r = Run({"check", "--data", data, "free.com", "taken.net"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    CDomainArray back;
    ASSERT_EQ(LoadDomainFileChecked(data, back), DataFileCondition::complete);
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.GetRecord(0)->m_nState, STATE_FREE);
    EXPECT_EQ(back.GetRecord(1)->m_nState, STATE_TAKEN);
}

TEST_F(CliCheckTest, DamagedDataFileIsRefusedAndLeftUntouched) {
    const std::string data = dir.File("cut.dcd");
    std::string bytes;
    {
        CDomainArray list;
        list.Append(Record("taken.com", STATE_UNCHECKED));
        list.Append(Record("free.com", STATE_UNCHECKED));
        ASSERT_TRUE(SaveDomainFile(data, list));
        bytes = ReadFileBytes(data);
        bytes.resize(bytes.size() - 5);  // the second record loses its end
        WriteFileBytes(data, bytes);
    }
    const ProcessResult r = Run({"check", "--data", data, "taken.net"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("damaged after 2 records"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFileBytes(data), bytes);
    EXPECT_EQ(server->ConnectionCount(), 0) << "nothing is looked up for a refused file";
    EXPECT_TRUE(r.out.empty());
}

TEST_F(CliCheckTest, DataFileInAMissingFolderIsRefusedBeforeAnyLookup) {
    const std::string data = dir.File("no-such-folder") + "/list.dcd";
    const ProcessResult r = Run({"check", "--data", data, "taken.com"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("does not exist"), std::string::npos) << r.err;
    EXPECT_EQ(server->ConnectionCount(), 0);
}

TEST_F(CliCheckTest, FullOutputDeviceIsReportedAndTheDataFileIsStillSaved) {
    const std::string data = dir.File("kept.dcd");
    ProcessOptions p;
    p.env = CliTestEnvironment(dir.Path(), server->Port());
    p.outputPath = "/dev/full";
    const ProcessResult r =
        RunQuorvixCli({"check", "--settings", settings, "--data", data, "taken.com"}, p);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("cannot write standard output"), std::string::npos) << r.err;
    CDomainArray back;
    ASSERT_EQ(LoadDomainFileChecked(data, back), DataFileCondition::complete);
    ASSERT_EQ(back.GetCount(), 1);
    EXPECT_EQ(back.GetRecord(0)->m_nState, STATE_TAKEN);
}

TEST_F(CliCheckTest, ClosedOutputPipeDoesNotKillTheRunBeforeTheSave) {
    const std::string data = dir.File("pipe.dcd");
    ProcessOptions p;
    p.env = CliTestEnvironment(dir.Path(), server->Port());
    // A shell whose reader closes at once: without ignoring SIGPIPE the first write would end the
    // process. The save comes first anyway; the exit status tells of the failed output.
    const std::string cmd = "'" + CliPath() + "' check --settings '" + settings + "' --data '" +
                            data + "' taken.com | true; exit ${PIPESTATUS[0]}";
    const ProcessResult r = RunProcess("/bin/bash", {"-c", cmd}, p);
    EXPECT_NE(r.exitCode, 128 + 13) << "killed by SIGPIPE";
    CDomainArray back;
    ASSERT_EQ(LoadDomainFileChecked(data, back), DataFileCondition::complete);
    EXPECT_EQ(back.GetRecord(0)->m_nState, STATE_TAKEN);
}

// --- dump -------------------------------------------------------------------------------

TEST_F(CliCheckTest, DumpPrintsEveryRecordAndWhoisTextsOnRequest) {
    const std::string data = dir.File("dump.dcd");
    {
        CDomainArray list;
        auto r = Record("taken.com", STATE_TAKEN);
        r->m_strWhoisText = std::string(70000, 'w') + "\r\nend";
        r->m_strRegistrar = "Reg\tistrar";
        list.Append(std::move(r));
        list.Append(Record("abc", STATE_UNCHECKED));
        ASSERT_TRUE(SaveDomainFile(data, list));
    }
    const ProcessResult tsv = Run({"dump", data});
    EXPECT_EQ(tsv.exitCode, 0) << tsv.err;
    const auto lines = SplitLines(tsv.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(SplitTabs(lines[0]).size(), 8u);
    EXPECT_EQ(SplitTabs(lines[0])[7], "Reg\\tistrar");
    EXPECT_EQ(lines[1], "abc\t?\t\t\t\t\t\t");

    const ProcessResult whois = Run({"dump", "--whois", "--format", "json", data});
    EXPECT_EQ(whois.exitCode, 0) << whois.err;
    const auto jl = SplitLines(whois.out);
    ASSERT_EQ(jl.size(), 2u);
    const auto o = nlohmann::json::parse(jl[0]);
    EXPECT_EQ(o["whois_text"], std::string(70000, 'w') + "\r\nend");
    EXPECT_EQ(o["registrar"], "Reg\tistrar");
}

struct DamageCase {
    const char* what;
    int keepBytes;  // of the good two-record file; -1: append garbage instead
    int records;    // records that can still be read
};

// Readable test names: the case's description.
void PrintTo(const DamageCase& c, std::ostream* os) {
    *os << c.what;
}

class CliDumpDamageTest : public CliCheckTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(CliDumpDamageTest, DamagedFileIsToldWithTheRecordsThatCouldBeRead) {
    const DamageCase& c = GetParam();
    const std::string data = dir.File("damaged.dcd");
    CDomainArray list;
    list.Append(Record("first.com", STATE_TAKEN));
    list.Append(Record("second.com", STATE_FREE));
    ASSERT_TRUE(SaveDomainFile(data, list));
    std::string bytes = ReadFileBytes(data);
    if (c.keepBytes >= 0)
        bytes.resize(static_cast<size_t>(c.keepBytes));
    else
        bytes += "garbage";
    WriteFileBytes(data, bytes);

    const ProcessResult r = Run({"dump", data});
    EXPECT_EQ(r.exitCode, 2) << c.what;
    EXPECT_EQ(SplitLines(r.out).size(), static_cast<size_t>(c.records)) << c.what << r.out;
    EXPECT_NE(
        r.err.find(c.keepBytes == 0 ? "is empty"
                                    : "damaged after " + std::to_string(c.records) + " records"),
        std::string::npos)
        << c.what << ": " << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Files, CliDumpDamageTest,
    ::testing::Values(DamageCase{"empty file", 0, 0}, DamageCase{"count only", 4, 0},
                      DamageCase{"cut inside the class name", 10, 0},
                      // A body cut short still gives its record (with the fields read).
                      DamageCase{"cut inside the first body", 40, 1},
                      DamageCase{"second record's header missing", 91, 1},
                      DamageCase{"garbage after the last record", -1, 2}));

}  // namespace
