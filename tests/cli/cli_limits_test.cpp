// The per-server limits of the settings file, seen from the server side: how many connections are
// open at once and how far apart they arrive. Fake server on 127.0.0.165.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/fake_whois_server.h"
#include "tests/support/temp_dir.h"

namespace {

using std::chrono::milliseconds;

struct LimitCase {
    const char* what;
    int maxConnections;
    int interval;  // seconds
    int holdMs;    // how long the server keeps each connection before answering
    int names;
    int expectedConcurrency;
    int minGapMs;  // between consecutive arrivals; 0: not checked
};

// Readable test names: the case's description.
void PrintTo(const LimitCase& c, std::ostream* os) {
    *os << c.what;
}

// Most connections open at one moment, each taken as open from its arrival for `holdMs` (the
// server holds it at least that long, so this never overstates the real overlap by more than
// the moment of a context switch).
int MaxConcurrency(const std::vector<FakeConnection>& connections, int holdMs) {
    int best = 0;
    for (const FakeConnection& a : connections) {
        int open = 0;
        for (const FakeConnection& b : connections) {
            if (b.arrived <= a.arrived && a.arrived < b.arrived + milliseconds(holdMs))
                ++open;
        }
        best = std::max(best, open);
    }
    return best;
}

class CliLimitsTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(CliLimitsTest, ServerSeesTheConfiguredLimits) {
    const LimitCase& c = GetParam();
    FakeServerOptions o;
    o.address = "127.0.0.165";
    o.maxConnections = c.names * 2;
    o.timeLimitMs = 60000;
    CFakeWhoisServer server(o, {FakeReply::Answer("No match for \"X.COM\".\r\n").After(c.holdMs)});
    ASSERT_TRUE(server.IsRunning());

    CTempDir dir;
    const std::string settings = dir.File("settings.ini");
    WriteFileBytes(settings, "[com]\nServer=127.0.0.165\n[127.0.0.165]\nMax Connections=" +
                                 std::to_string(c.maxConnections) +
                                 "\nConnection Interval=" + std::to_string(c.interval) + "\n");
    std::vector<std::string> args = {"check", "--settings", settings};
    for (int i = 0; i < c.names; ++i) args.push_back("n" + std::to_string(i) + ".com");
    ProcessOptions p;
    p.env = CliTestEnvironment(dir.Path(), server.Port(), 50);
    p.timeoutMs = 60000;
    const ProcessResult r = RunQuorvixCli(args, p);
    ASSERT_FALSE(r.timedOut) << c.what;
    EXPECT_EQ(r.exitCode, 0) << c.what << ": " << r.err;

    auto connections = server.Connections();
    ASSERT_EQ(static_cast<int>(connections.size()), c.names) << c.what;
    std::sort(
        connections.begin(), connections.end(),
        [](const FakeConnection& a, const FakeConnection& b) { return a.arrived < b.arrived; });
    EXPECT_EQ(MaxConcurrency(connections, c.holdMs), c.expectedConcurrency) << c.what;
    if (c.minGapMs > 0) {
        for (size_t i = 1; i < connections.size(); ++i) {
            const auto gap = std::chrono::duration_cast<milliseconds>(connections[i].arrived -
                                                                      connections[i - 1].arrived);
            EXPECT_GE(gap.count(), c.minGapMs) << c.what << ": connection " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, CliLimitsTest,
    ::testing::Values(
        LimitCase{"Max Connections 0 runs one lookup at a time", 0, 0, 500, 4, 1, 0},
        // A lookup starts while the running count is at most the limit: one more than it.
        LimitCase{"Max Connections 1 lets two run at once", 1, 0, 700, 4, 2, 0},
        LimitCase{"Max Connections 3 lets four run at once", 3, 0, 900, 6, 4, 0},
        LimitCase{"without an interval five start in the first step", 9, 0, 900, 5, 5, 0},
        // Whole seconds of the clock: 2 seconds may be just over 1 real second.
        LimitCase{"Connection Interval 2 spaces the starts while one runs", 5, 2, 4000, 3, 3,
                  900}));

}  // namespace
