#include "whois/whois_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "framework/socket_library.h"
#include "framework/tcp_socket.h"
#include "tests/support/fake_whois_server.h"

namespace {

// This file's own loopback address, so its servers never clash with other test files'.
const char* const kAddress = "127.0.0.22";
constexpr int kAddressN = 22;

class WhoisClientTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_sockets.IsStarted()); }

    static FakeServerOptions Options(int timeLimitMs = 5000) {
        FakeServerOptions o;
        o.address = kAddress;
        o.timeLimitMs = timeLimitMs;
        return o;
    }
    static WhoisLimits Quick() {
        WhoisLimits l;
        l.idleTimeoutMs = 200;
        l.totalTimeoutMs = 10000;
        return l;
    }

    CSocketLibrary m_sockets;
};

// Text in which every position differs from its neighbours, so a lost, doubled or reordered
// piece shows; no zero byte, which would end a read's text.
std::string Pattern(size_t size) {
    std::string s;
    s.reserve(size);
    for (size_t i = 0; i < size; ++i) s.push_back(static_cast<char>(1 + (i * 7 + i / 251) % 255));
    return s;
}

}  // namespace

TEST_F(WhoisClientTest, AnswerInManyReadsIsJoinedInOrder) {
    const std::vector<std::string> parts = {"Domain Name: EXAMPLE.COM\r\n", "Registrar: X\r\n",
                                            "\r\n", "Expiry Date: 2030-01-01\r\n", "end"};
    CFakeWhoisServer server(Options(), {FakeReply::AnswerInParts(parts, 40)});
    ASSERT_TRUE(server.IsRunning());
    std::string answer;
    ASSERT_TRUE(WhoisQuery("domain example.com", kAddress, answer, server.Port(), Quick()));
    std::string joined;
    for (const std::string& p : parts) joined += p;
    EXPECT_EQ(answer, joined);
}

TEST_F(WhoisClientTest, AnswerLongerThanOneChunkIsReturnedWholeAndInOrder) {
    for (size_t size : {size_t(1), size_t(2095), size_t(2096), size_t(2097), size_t(4192),
                        size_t(5000), size_t(300000)}) {
        SCOPED_TRACE(size);
        const std::string text = Pattern(size);
        CFakeWhoisServer server(Options(), {FakeReply::Answer(text)});
        ASSERT_TRUE(server.IsRunning());
        std::string answer;
        ASSERT_TRUE(WhoisQuery("example.org", kAddress, answer, server.Port(), Quick()));
        ASSERT_EQ(answer.size(), text.size());
        EXPECT_TRUE(answer == text);
    }
}

TEST_F(WhoisClientTest, ZeroByteEndsOnlyTheTextOfItsOwnRead) {
    using namespace std::string_literals;
    struct Case {
        const char* what;
        std::vector<std::string> parts;
        std::string expected;
    } cases[] = {
        {"zero inside first read", {"abc\0def"s, "ghi"s}, "abcghi"},
        {"zero at start of a read", {"one "s, "\0lost"s, "three"s}, "one three"},
        {"zero at end of a read", {"keep\0"s, "more"s}, "keepmore"},
        {"only zeros", {"\0\0\0"s}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The pause puts each write into a read of its own.
        CFakeWhoisServer server(Options(), {FakeReply::AnswerInParts(c.parts, 150)});
        ASSERT_TRUE(server.IsRunning());
        std::string answer;
        WhoisLimits limits = Quick();
        limits.idleTimeoutMs = 3000;
        ASSERT_TRUE(WhoisQuery("x.com", kAddress, answer, server.Port(), limits));
        EXPECT_EQ(answer, c.expected);
    }
}

TEST_F(WhoisClientTest, CloseWithoutDataIsSuccessWithEmptyAnswer) {
    CFakeWhoisServer server(Options(), {FakeReply::Close()});
    ASSERT_TRUE(server.IsRunning());
    std::string answer = "stale answer of an earlier lookup";
    EXPECT_TRUE(WhoisQuery("example.net", kAddress, answer, server.Port(), Quick()));
    EXPECT_EQ(answer, "");
}

TEST_F(WhoisClientTest, ExactQueryLineIsSentAndNothingElse) {
    struct Case {
        std::string query;
    } cases[] = {{"domain example.com"}, {"example.org"}, {""}, {"a b\tc"}};
    for (const Case& c : cases) {
        CFakeWhoisServer server(Options(), {FakeReply::Answer("ok")});
        ASSERT_TRUE(server.IsRunning());
        std::string answer;
        ASSERT_TRUE(WhoisQuery(c.query, kAddress, answer, server.Port(), Quick()));
        const std::vector<FakeConnection> seen = server.Connections();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].rawQuery, c.query + "\r\n");
        EXPECT_EQ(seen[0].query, c.query);
        EXPECT_TRUE(seen[0].lineEnded);
    }
}

TEST_F(WhoisClientTest, LongQueryIsSentWholeNeverTruncated) {
    for (size_t length : {size_t(124), size_t(125), size_t(126), size_t(127), size_t(128),
                          size_t(300), size_t(20000)}) {
        SCOPED_TRACE(length);
        const std::string query = "domain " + std::string(length - 7, 'q');
        CFakeWhoisServer server(Options(), {FakeReply::Answer("ok")});
        ASSERT_TRUE(server.IsRunning());
        std::string answer;
        ASSERT_TRUE(WhoisQuery(query, kAddress, answer, server.Port(), Quick()));
        EXPECT_EQ(answer, "ok");
        const std::vector<FakeConnection> seen = server.Connections();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].rawQuery.size(), length + 2);
        EXPECT_TRUE(seen[0].rawQuery == query + "\r\n");
    }
}

TEST_F(WhoisClientTest, EmptyServerFailsAtOnceAndLeavesAnswerAlone) {
    std::string answer = "untouched";
    EXPECT_FALSE(WhoisQuery("example.com", "", answer, 43, Quick()));
    EXPECT_EQ(answer, "untouched");
}

TEST_F(WhoisClientTest, DottedAddressServesWithoutNameService) {
    Ipv4Address a = 0;
    ASSERT_TRUE(ParseDottedIpv4(kAddress, a));
    EXPECT_EQ(a, LoopbackIpv4(kAddressN));
    ASSERT_TRUE(ResolveIpv4(kAddress, a));
    EXPECT_EQ(a, LoopbackIpv4(kAddressN));

    CFakeWhoisServer server(Options(), {FakeReply::Answer("dotted")});
    ASSERT_TRUE(server.IsRunning());
    std::string answer;
    EXPECT_TRUE(WhoisQuery("x.com", kAddress, answer, server.Port(), Quick()));
    EXPECT_EQ(answer, "dotted");
}

TEST_F(WhoisClientTest, DottedAddressParserRejectsMalformedText) {
    struct Case {
        std::string text;
        bool ok;
    } cases[] = {
        {"127.0.0.22", true},
        {"10.1.2.3", true},
        {"", false},
        {"127.0.0.256", false},
        {"127.0.0.1 x", false},  // the classic parser stops at the blank and accepts
        {" 127.0.0.1", false},
        {"127.1", false},
        {"0x7f.0.0.1", false},
        {"1.2.3.4.", false},
        {"1.2.3", false},
        {"1..3.4", false},
        {"1.2.3.0004", false},
        {"001.002.003.004", true},
        {"255.255.255.255", true},
        {"-1.2.3.4", false},
        {"not.an.address", false},
        {std::string("127.0.0.22\0"
                     "9",
                     12),
         false},
        {std::string(5000, '1'), false},
    };
    for (const Case& c : cases) {
        Ipv4Address a = 0;
        EXPECT_EQ(ParseDottedIpv4(c.text, a), c.ok) << c.text.substr(0, 40);
    }
}

TEST_F(WhoisClientTest, ServerTextWithZeroByteIsRefusedNotCut) {
    // Cut at the zero byte the text would name this very server; it must not be contacted.
    CFakeWhoisServer server(Options(1000), {FakeReply::Answer("wrong server")});
    ASSERT_TRUE(server.IsRunning());
    const std::string server_text = std::string(kAddress) + std::string("\0.evil", 6);
    std::string answer;
    EXPECT_FALSE(WhoisQuery("x.com", server_text, answer, server.Port(), Quick()));
    EXPECT_FALSE(server.WaitForConnections(1, 300));
}

TEST_F(WhoisClientTest, ServerTextWithBlanksOrControlBytesIsRefused) {
    CFakeWhoisServer server(Options(1000), {FakeReply::Answer("wrong server")});
    ASSERT_TRUE(server.IsRunning());
    for (const std::string& text :
         {std::string(" ") + kAddress, std::string(kAddress) + " x", std::string(kAddress) + "\r\n",
          std::string("\x01") + kAddress}) {
        EXPECT_FALSE(IsPlausibleHostText(text));
        std::string answer;
        EXPECT_FALSE(WhoisQuery("x.com", text, answer, server.Port(), Quick()));
    }
    EXPECT_EQ(server.ConnectionCount(), 0);
    EXPECT_TRUE(IsPlausibleHostText("whois.verisign-grs.com"));
}

TEST_F(WhoisClientTest, ServerNameThatCannotBeResolvedFails) {
    // Labels this long cannot be put into a name-service query, so nothing leaves the machine.
    for (const std::string& name :
         {std::string(300, 'a'), std::string(70, 'b') + ".example", std::string(1 << 16, 'c')}) {
        std::string answer;
        EXPECT_FALSE(WhoisQuery("x.com", name, answer, 43, Quick())) << name.size();
    }
}

TEST_F(WhoisClientTest, RefusedConnectionFails) {
    // A bound socket that never listens: connects to its port are refused.
    CTcpSocket holder = CTcpSocket::Create();
    ASSERT_TRUE(holder.Bind(LoopbackIpv4(kAddressN), 0));
    const int port = holder.LocalPort();
    ASSERT_GT(port, 0);
    std::string answer;
    EXPECT_FALSE(WhoisQuery("x.com", kAddress, answer, port, Quick()));
}

TEST_F(WhoisClientTest, PortOutsideRangeFails) {
    CFakeWhoisServer server(Options(1000), {FakeReply::Answer("no")});
    ASSERT_TRUE(server.IsRunning());
    for (int port : {0, -1, 65536, server.Port() + 65536}) {
        std::string answer;
        EXPECT_FALSE(WhoisQuery("x.com", kAddress, answer, port, Quick())) << port;
    }
    EXPECT_EQ(server.ConnectionCount(), 0);
}

TEST_F(WhoisClientTest, ResetConnectionFails) {
    if (RunningUnderWine())
        GTEST_SKIP() << "Wine reports a reset as a close";
    CFakeWhoisServer server(Options(), {FakeReply::Reset()});
    ASSERT_TRUE(server.IsRunning());
    std::string answer;
    EXPECT_FALSE(WhoisQuery("x.com", kAddress, answer, server.Port(), Quick()));
}

TEST_F(WhoisClientTest, EndlessStreamFailsAtTheCapWithBoundedMemory) {
    struct Case {
        const char* what;
        std::string chunk;
    } cases[] = {
        {"text", std::string(4096, 'x')},
        // Zero bytes add nothing to the text but still count against the cap.
        {"zero bytes", std::string(4096, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CFakeWhoisServer server(Options(), {FakeReply::Stream(c.chunk, 256u << 20)});
        ASSERT_TRUE(server.IsRunning());
        WhoisLimits limits = Quick();
        limits.idleTimeoutMs = 3000;
        limits.maxAnswerBytes = 64 * 1024;
        std::string answer;
        EXPECT_FALSE(WhoisQuery("x.com", kAddress, answer, server.Port(), limits));
        EXPECT_LE(answer.size(), limits.maxAnswerBytes);
        EXPECT_LE(answer.capacity(), 4 * limits.maxAnswerBytes);
    }
}

TEST_F(WhoisClientTest, AnswerExactlyAtTheCapIsAcceptedOneMoreByteIsNot) {
    const size_t cap = 10000;
    struct Case {
        size_t size;
        bool ok;
    } cases[] = {{cap - 1, true}, {cap, true}, {cap + 1, false}, {3 * cap, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        CFakeWhoisServer server(Options(), {FakeReply::Answer(Pattern(c.size))});
        ASSERT_TRUE(server.IsRunning());
        WhoisLimits limits = Quick();
        limits.maxAnswerBytes = cap;
        std::string answer;
        EXPECT_EQ(WhoisQuery("x.com", kAddress, answer, server.Port(), limits), c.ok);
        if (c.ok) {
            EXPECT_EQ(answer.size(), c.size);
        }
    }
}

TEST_F(WhoisClientTest, SilentServerFailsAfterTheIdleLimit) {
    // Without the idle limit the exchange would end only when the server gives up after its
    // time limit and closes, which would be reported as success with an empty answer.
    struct Case {
        const char* what;
        FakeReply reply;
    } cases[] = {
        {"silent from the start", FakeReply::Silent()},
        {"stalls after a first part",
         FakeReply::AnswerInParts({"Domain Name: X.COM\r\n", "late"}, 2500)},
        {"delays the first byte", FakeReply::Answer("late").After(2500)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CFakeWhoisServer server(Options(3000), {c.reply});
        ASSERT_TRUE(server.IsRunning());
        std::string answer;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(WhoisQuery("x.com", kAddress, answer, server.Port(), Quick()));
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(190));
    }
}

TEST_F(WhoisClientTest, SlowDripFailsAtTheWholeExchangeLimit) {
    // Each byte comes well within the idle limit; only the limit on the whole exchange ends it
    // before the server's own time limit would close the connection as a "success".
    CFakeWhoisServer server(Options(4000), {FakeReply::Stream("x", 1 << 20, 40)});
    ASSERT_TRUE(server.IsRunning());
    WhoisLimits limits = Quick();
    limits.idleTimeoutMs = 500;
    limits.totalTimeoutMs = 600;
    std::string answer;
    EXPECT_FALSE(WhoisQuery("x.com", kAddress, answer, server.Port(), limits));
}

TEST_F(WhoisClientTest, ConnectThatNeverCompletesFailsAfterTheIdleLimit) {
    // A listener that never accepts, with its backlog already full: further connection
    // requests are dropped by the system, so the connect neither succeeds nor is refused.
    CTcpSocket listener = CTcpSocket::Create();
    ASSERT_TRUE(listener.Bind(LoopbackIpv4(kAddressN), 0));
    ASSERT_TRUE(listener.Listen(0));
    const int port = listener.LocalPort();
    std::vector<CTcpSocket> fillers;
    bool stalled = false;
    for (int i = 0; i < 8 && !stalled; ++i) {
        CTcpSocket s = CTcpSocket::Create();
        stalled = !s.Connect(LoopbackIpv4(kAddressN), port, 100);
        fillers.push_back(std::move(s));
    }
    if (!stalled)
        GTEST_SKIP() << "this system accepts every connection into the backlog";
    std::string answer;
    EXPECT_FALSE(WhoisQuery("x.com", kAddress, answer, port, Quick()));
}

TEST_F(WhoisClientTest, ConcurrentExchangesKeepTheirOwnAnswers) {
    constexpr int kThreads = 8;
    FakeServerOptions o = Options();
    o.maxConnections = kThreads;
    CFakeWhoisServer server(o, {FakeReply::PerQuery([](const std::string& q) {
                                return "answer for " + q + "\r\n" + Pattern(5000);
                            })});
    ASSERT_TRUE(server.IsRunning());
    std::vector<std::string> answers(kThreads);
    std::vector<int> ok(kThreads, 0);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            ok[i] = WhoisQuery("name" + std::to_string(i) + ".com", kAddress, answers[i],
                               server.Port(), WhoisLimits());
        });
    }
    for (std::thread& t : threads) t.join();
    for (int i = 0; i < kThreads; ++i) {
        EXPECT_TRUE(ok[i]) << i;
        EXPECT_EQ(answers[i], "answer for name" + std::to_string(i) + ".com\r\n" + Pattern(5000));
    }
}
