// The fake server is what every network test stands on; these catch it serving the wrong
// script entry, outliving its limits, or letting one stuck connection block the others.
#include "tests/support/fake_whois_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "whois/whois_client.h"

namespace {

const char* const kAddress = "127.0.0.23";

FakeServerOptions Options(int maxConnections = -1, int timeLimitMs = 5000) {
    FakeServerOptions o;
    o.address = kAddress;
    o.maxConnections = maxConnections;
    o.timeLimitMs = timeLimitMs;
    return o;
}

WhoisLimits Limits(int idleMs) {
    WhoisLimits l;
    l.idleTimeoutMs = idleMs;
    l.totalTimeoutMs = 20000;
    return l;
}

class FakeWhoisServerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_sockets.IsStarted()); }
    CSocketLibrary m_sockets;
};

}  // namespace

TEST_F(FakeWhoisServerTest, ScriptEntriesServeConnectionsInOrderThenLastRepeats) {
    CFakeWhoisServer server(Options(4), {FakeReply::Answer("one"), FakeReply::Answer("two")});
    ASSERT_TRUE(server.IsRunning());
    const char* expected[] = {"one", "two", "two", "two"};
    for (int i = 0; i < 4; ++i) {
        std::string answer;
        ASSERT_TRUE(
            WhoisQuery("q" + std::to_string(i), kAddress, answer, server.Port(), Limits(2000)));
        EXPECT_EQ(answer, expected[i]) << i;
    }
    const std::vector<FakeConnection> seen = server.Connections();
    ASSERT_EQ(seen.size(), 4u);
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].query, "q" + std::to_string(i));
        if (i > 0) {
            EXPECT_GE(seen[i].arrived, seen[i - 1].arrived);
        }
    }
}

TEST_F(FakeWhoisServerTest, ConnectionsBeyondTheLimitAreRefused) {
    CFakeWhoisServer server(Options(2), {FakeReply::Answer("ok")});
    ASSERT_TRUE(server.IsRunning());
    std::string answer;
    EXPECT_TRUE(WhoisQuery("a", kAddress, answer, server.Port(), Limits(2000)));
    EXPECT_TRUE(WhoisQuery("b", kAddress, answer, server.Port(), Limits(2000)));
    ASSERT_TRUE(server.WaitForFinished(2, 3000));
    EXPECT_FALSE(WhoisQuery("c", kAddress, answer, server.Port(), Limits(500)));
    EXPECT_EQ(server.ConnectionCount(), 2);
}

TEST_F(FakeWhoisServerTest, StopsListeningByItselfAfterItsTimeLimit) {
    CFakeWhoisServer server(Options(5, 200), {FakeReply::Answer("ok")});
    ASSERT_TRUE(server.IsRunning());
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::string answer;
    EXPECT_FALSE(WhoisQuery("late", kAddress, answer, server.Port(), Limits(500)));
    EXPECT_EQ(server.ConnectionCount(), 0);
}

TEST_F(FakeWhoisServerTest, SilentConnectionDoesNotHoldUpTheNextOne) {
    CFakeWhoisServer server(Options(2), {FakeReply::Silent(), FakeReply::Answer("second")});
    ASSERT_TRUE(server.IsRunning());
    bool firstOk = true;
    std::thread first([&] {
        std::string answer;
        firstOk = WhoisQuery("first", kAddress, answer, server.Port(), Limits(1500));
    });
    ASSERT_TRUE(server.WaitForConnections(1, 3000));
    std::string answer;
    EXPECT_TRUE(WhoisQuery("second", kAddress, answer, server.Port(), Limits(1000)));
    EXPECT_EQ(answer, "second");
    first.join();
    EXPECT_FALSE(firstOk);  // the silent one timed out on the client side
}

TEST_F(FakeWhoisServerTest, StopEndsAStuckConnectionAndReturns) {
    auto server = std::make_unique<CFakeWhoisServer>(Options(1, 60000),
                                                     std::vector<FakeReply>{FakeReply::Silent()});
    ASSERT_TRUE(server->IsRunning());
    const int port = server->Port();
    bool done = false;
    std::thread client([&] {
        std::string answer;
        WhoisQuery("stuck", kAddress, answer, port, Limits(20000));
        done = true;
    });
    ASSERT_TRUE(server->WaitForConnections(1, 3000));
    server.reset();  // must not wait for the server's 60 seconds
    client.join();
    EXPECT_TRUE(done);
}

TEST_F(FakeWhoisServerTest, StreamEndsAtTheServersOwnCap) {
    CFakeWhoisServer server(Options(), {FakeReply::Stream("abc", 10000)});
    ASSERT_TRUE(server.IsRunning());
    std::string answer;
    ASSERT_TRUE(WhoisQuery("s", kAddress, answer, server.Port(), Limits(2000)));
    ASSERT_EQ(answer.size(), 10000u);
    for (size_t i = 0; i < answer.size(); ++i) {
        ASSERT_EQ(answer[i], "abc"[i % 3]) << i;
    }
}

TEST_F(FakeWhoisServerTest, PerQueryAnswerSeesTheQueryLine) {
    CFakeWhoisServer server(
        Options(2), {FakeReply::PerQuery([](const std::string& q) { return "[" + q + "]"; })});
    ASSERT_TRUE(server.IsRunning());
    for (const char* q : {"domain a.com", "b.org"}) {
        std::string answer;
        ASSERT_TRUE(WhoisQuery(q, kAddress, answer, server.Port(), Limits(2000)));
        EXPECT_EQ(answer, std::string("[") + q + "]");
    }
}

TEST_F(FakeWhoisServerTest, QueryWithoutLineEndIsRecordedAsSuch) {
    CFakeWhoisServer server(Options(), {FakeReply::Answer("never sent")});
    ASSERT_TRUE(server.IsRunning());
    Ipv4Address a = 0;
    ASSERT_TRUE(ParseDottedIpv4(kAddress, a));
    {
        CTcpSocket s = CTcpSocket::Create();
        ASSERT_TRUE(s.Connect(a, server.Port(), 2000));
        ASSERT_TRUE(s.SendAll("no line end", 11, 2000));
        s.ShutdownSend();
        char buffer[64];
        EXPECT_EQ(s.Receive(buffer, sizeof buffer, 3000), kReceiveClosed);
    }
    ASSERT_TRUE(server.WaitForFinished(1, 3000));
    const std::vector<FakeConnection> seen = server.Connections();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].query, "no line end");
    EXPECT_FALSE(seen[0].lineEnded);
    EXPECT_EQ(seen[0].bytesSent, 0u);
}

TEST_F(FakeWhoisServerTest, BadAddressMeansNotRunning) {
    for (const char* address : {"", "localhost", "127.0.0.300", "127.0.0.23 "}) {
        FakeServerOptions o = Options();
        o.address = address;
        CFakeWhoisServer server(o, {FakeReply::Answer("x")});
        EXPECT_FALSE(server.IsRunning()) << address;
        EXPECT_EQ(server.Port(), -1);
    }
}

TEST_F(FakeWhoisServerTest, ServesOnTheWhoisPortItself) {
    FakeServerOptions o = Options();
    o.port = kWhoisPort;
    CFakeWhoisServer server(o, {FakeReply::Answer("on port 43")});
    if (!server.IsRunning())
        GTEST_SKIP() << "port 43 needs root here";
    EXPECT_EQ(server.Port(), kWhoisPort);
    std::string answer;
    ASSERT_TRUE(WhoisQuery("x.com", kAddress, answer, kWhoisPort, Limits(2000)));
    EXPECT_EQ(answer, "on port 43");
}
