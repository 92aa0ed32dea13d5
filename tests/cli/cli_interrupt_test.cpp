// Ctrl-C (SIGINT) stops quorvix-cli cleanly: what has a verdict is printed and the data file is
// saved. Per case a fake server that answers and one that never does, on 127.0.0.166-171 port 43
// (cases may run at the same time, so each has its own pair).
#include <gtest/gtest.h>

#include <signal.h>

#include <ostream>
#include <string>
#include <thread>

#include "domains/data_file.h"
#include "domains/domain_array.h"
#include "tests/cli/cli_process.h"
#include "tests/support/fake_whois_server.h"
#include "tests/support/temp_dir.h"

namespace {

struct InterruptCase {
    const char* what;
    int signal;
    bool withData;
    const char* answeringAddress;
    const char* silentAddress;
};

// Readable test names: the case's description.
void PrintTo(const InterruptCase& c, std::ostream* os) {
    *os << c.what;
}

class CliInterruptTest : public ::testing::TestWithParam<InterruptCase> {};

TEST_P(CliInterruptTest, InterruptPrintsVerdictsSoFarAndSavesTheList) {
    const InterruptCase& c = GetParam();
    FakeServerOptions answering;
    answering.address = c.answeringAddress;
    answering.port = 43;
    answering.timeLimitMs = 30000;
    answering.maxConnections = 10;
    CFakeWhoisServer fast(answering, {FakeReply::Answer("No match for \"FREE.COM\".\r\n")});
    FakeServerOptions silent = answering;
    silent.address = c.silentAddress;
    CFakeWhoisServer slow(silent, {FakeReply::Silent()});
    if (!fast.IsRunning() || !slow.IsRunning())
        GTEST_SKIP() << "port 43 on loopback not free";

    CTempDir dir;
    const std::string settings = dir.File("settings.ini");
    const std::string a = c.answeringAddress, s = c.silentAddress;
    WriteFileBytes(settings, "[com]\nServer=" + a + "\n[net]\nServer=" + s + "\n[" + a +
                                 "]\nConnection Interval=0\n[" + s + "]\nConnection Interval=0\n");
    const std::string data = dir.File("list.dcd");
    std::vector<std::string> args = {"check", "--settings", settings};
    if (c.withData)
        args.insert(args.end(), {"--data", data});
    args.insert(args.end(), {"free.com", "stuck.net", "later.net"});
    ProcessOptions p;
    p.env = CliTestEnvironment(dir.Path(), 0, 50);
    p.timeoutMs = 20000;
    CChildProcess child(CliPath(), args, p);
    ASSERT_TRUE(child.Started());
    ASSERT_TRUE(slow.WaitForConnections(1, 10000)) << "the silent lookup never started";
    ASSERT_TRUE(fast.WaitForFinished(1, 10000));
    // Let the answered lookup's completion reach the list (the loop serves completions at least
    // every 100 ms; the margin is for a loaded machine).
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    ASSERT_TRUE(child.Signal(c.signal));
    const ProcessResult r = child.Wait();
    ASSERT_FALSE(r.timedOut) << c.what << ": the run did not stop";
    EXPECT_EQ(r.exitCode, 130) << c.what << ": " << r.err;
    EXPECT_NE(r.err.find("interrupted"), std::string::npos) << r.err;
    const auto lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 3u) << r.out;
    EXPECT_EQ(SplitTabs(lines[0])[1], "Free");
    EXPECT_EQ(SplitTabs(lines[1])[1], "?");
    EXPECT_EQ(SplitTabs(lines[2])[1], "?");
    if (c.withData) {
        CDomainArray back;
        ASSERT_EQ(LoadDomainFileChecked(data, back), DataFileCondition::complete);
        ASSERT_EQ(back.GetCount(), 3);
        EXPECT_EQ(back.GetRecord(0)->m_nState, STATE_FREE);
        EXPECT_EQ(back.GetRecord(1)->m_nState, STATE_UNCHECKED);
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, CliInterruptTest,
                         ::testing::Values(InterruptCase{"Ctrl-C with a data file", SIGINT, true,
                                                         "127.0.0.166", "127.0.0.167"},
                                           InterruptCase{"Ctrl-C without one", SIGINT, false,
                                                         "127.0.0.168", "127.0.0.169"},
                                           InterruptCase{"termination request", SIGTERM, true,
                                                         "127.0.0.170", "127.0.0.171"}));

}  // namespace
