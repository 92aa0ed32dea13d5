#include "whois/whois_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "domains/domain_array.h"
#include "framework/settings_store.h"
#include "framework/socket_library.h"
#include "tests/support/fake_whois_server.h"
#include "whois/extension_table.h"
#include "whois/lookup_scheduler.h"

namespace {

// This file's own loopback address.
const char* const kAddress = "127.0.0.31";

// Connections beyond the script reuse its last reply, up to `connections`.
FakeServerOptions Options(int connections = 1) {
    FakeServerOptions o;
    o.address = kAddress;
    o.timeLimitMs = 8000;
    o.maxConnections = connections;
    return o;
}

WhoisLimits Quick() {
    WhoisLimits l;
    l.idleTimeoutMs = 2000;
    l.totalTimeoutMs = 5000;
    return l;
}

struct Posted {
    int calls = 0;
    int code = -1;
    WhoisJobPtr job;
};

PostCompletion Recorder(Posted& p) {
    return [&p](int code, const WhoisJobPtr& job) {
        ++p.calls;
        p.code = code;
        p.job = job;
    };
}

class WhoisWorkerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_sockets.IsStarted()); }
    static WhoisJobPtr Job(const std::string& name, const std::string& server = kAddress) {
        return std::make_shared<CWhoisJob>(name, server, 0, CDateTime::FromDate(2024, 1, 1));
    }
    CSocketLibrary m_sockets;
};

TEST_F(WhoisWorkerTest, QueryIsPrefixBlankNameOrTheNameAlone) {
    struct Case {
        const char* name;
        const char* ext;
        const char* storedPrefix;  // null: nothing stored
        const char* storedServer;
        const char* query;
    } cases[] = {
        {"example.com", nullptr, nullptr, nullptr, "domain example.com"},
        {"Example.NET", nullptr, nullptr, nullptr, "domain Example.NET"},
        {"example.edu", nullptr, nullptr, nullptr, "domain example.edu"},
        {"example.org", nullptr, nullptr, nullptr, "example.org"},
        {"example.info", nullptr, nullptr, nullptr, "example.info"},
        {"example.zz", "zz", "=", "whois.zz.test", "= example.zz"},
        {"example.yy", "yy", "", "whois.yy.test", "example.yy"},
        // The prefix comes from the settings; the server is the job's, fixed at its start.
        {"example.xx", "xx", "full", "unresolvable.invalid", "full example.xx"},
    };
    for (const Case& c : cases) {
        CMemorySettingsStore store;
        if (c.ext) {
            store.WriteString(c.ext, kValueQueryPrefix, c.storedPrefix);
            store.WriteString(c.ext, kValueServer, c.storedServer);
        }
        CFakeWhoisServer server(Options(), {FakeReply::Answer("answer\r\n")});
        ASSERT_TRUE(server.IsRunning());
        Posted posted;
        const WhoisJobPtr job = Job(c.name);
        WhoisWorker(job, store, Recorder(posted), server.Port(), Quick());
        ASSERT_TRUE(server.WaitForFinished(1, 3000)) << c.name;
        const auto connections = server.Connections();
        ASSERT_EQ(connections.size(), 1u) << c.name;
        EXPECT_EQ(connections[0].query, c.query) << c.name;
        EXPECT_EQ(connections[0].rawQuery, std::string(c.query) + "\r\n") << c.name;
        EXPECT_EQ(posted.calls, 1) << c.name;
        EXPECT_EQ(posted.code, LOOKUP_ANSWERED) << c.name;
        EXPECT_EQ(job->m_strServer, kAddress) << c.name;
    }
}

TEST_F(WhoisWorkerTest, OutcomeDecidesCodeAndAnswer) {
    const std::string big(200000, 'w');
    struct Case {
        const char* name;
        FakeReply reply;
        int code;
        std::string answer;
    } cases[] = {
        {"Answer", FakeReply::Answer("No match for \"X.COM\".\r\n"), LOOKUP_ANSWERED,
         "No match for \"X.COM\".\r\n"},
        {"AnswerInParts", FakeReply::AnswerInParts({"Domain: ", "X\r\n", "end"}, 30),
         LOOKUP_ANSWERED, "Domain: X\r\nend"},
        {"LargeAnswer", FakeReply::Answer(big), LOOKUP_ANSWERED, big},
        {"ClosedWithoutAByte", FakeReply::Close(), LOOKUP_ANSWERED, ""},
        {"Reset", FakeReply::Reset(), LOOKUP_FAILED, ""},
        {"EndlessStream", FakeReply::Stream(std::string(4096, 's'), 8u << 20), LOOKUP_FAILED, ""},
    };
    for (Case& c : cases) {
        // Wine reports a reset connection as an orderly close.
        if (c.reply.kind == FakeReply::Kind::kReset && RunningUnderWine())
            continue;
        CMemorySettingsStore store;
        CFakeWhoisServer server(Options(), {std::move(c.reply)});
        ASSERT_TRUE(server.IsRunning());
        Posted posted;
        const WhoisJobPtr job = Job("example.org");
        WhoisWorker(job, store, Recorder(posted), server.Port(), Quick());
        EXPECT_EQ(posted.calls, 1) << c.name;
        EXPECT_EQ(posted.code, c.code) << c.name;
        EXPECT_EQ(posted.job, job) << c.name;
        EXPECT_EQ(job->m_strAnswer, c.answer) << c.name;
    }
}

TEST_F(WhoisWorkerTest, UnreachableOrMissingServerFails) {
    int closedPort = 0;
    {
        CFakeWhoisServer server(Options(), {FakeReply::Answer("x")});
        ASSERT_TRUE(server.IsRunning());
        closedPort = server.Port();
    }
    CMemorySettingsStore store;
    // None of these needs a name service: a closed loopback port, no host, a blank in the name.
    const char* servers[] = {kAddress, "", "bad host name"};
    for (const char* s : servers) {
        Posted posted;
        const WhoisJobPtr job = Job("example.org", s);
        WhoisWorker(job, store, Recorder(posted), closedPort, Quick());
        EXPECT_EQ(posted.calls, 1) << s;
        EXPECT_EQ(posted.code, LOOKUP_FAILED) << s;
        EXPECT_EQ(job->m_strAnswer, "") << s;
    }
}

TEST_F(WhoisWorkerTest, NullJobOrThrowingPosterNeverEscapes) {
    CMemorySettingsStore store;
    Posted posted;
    WhoisWorker(nullptr, store, Recorder(posted), 1, Quick());
    EXPECT_EQ(posted.calls, 0);
    int calls = 0;
    EXPECT_NO_THROW(WhoisWorker(
        Job("example.org", ""), store,
        [&calls](int, const WhoisJobPtr&) {
            ++calls;
            throw std::runtime_error("window gone");
        },
        1, Quick()));
    EXPECT_EQ(calls, 1);
    EXPECT_NO_THROW(WhoisWorker(Job("example.org", ""), store, PostCompletion(), 1, Quick()));
}

TEST_F(WhoisWorkerTest, ThreadWorkersDeliverThroughTheCompletionQueue) {
    static CMemorySettingsStore store;  // outlives any worker
    CFakeWhoisServer server(Options(3), {FakeReply::Answer("one\r\n").After(50)});
    ASSERT_TRUE(server.IsRunning());
    // Shared with the workers, so an early failure here cannot leave them a dangling queue.
    auto queue = std::make_shared<CCompletionQueue>();
    const PostCompletion post = [queue](int code, const WhoisJobPtr& job) {
        queue->Post(code, job);
    };
    int code = -1;
    WhoisJobPtr got;
    EXPECT_FALSE(queue->TryPop(code, got));
    EXPECT_FALSE(queue->Wait(10, code, got));

    std::vector<WhoisJobPtr> jobs = {Job("a.org"), Job("b.org"), Job("c.org")};
    for (const WhoisJobPtr& job : jobs) {
        ASSERT_TRUE(StartWorkerThread(job, store, post, server.Port(), Quick()));
    }
    EXPECT_FALSE(StartWorkerThread(nullptr, store, post, server.Port()));
    int answered = 0;
    for (size_t i = 0; i < jobs.size(); ++i) {
        ASSERT_TRUE(queue->Wait(5000, code, got)) << i;
        EXPECT_EQ(code, LOOKUP_ANSWERED);
        EXPECT_EQ(got->m_strAnswer, "one\r\n");
        ++answered;
    }
    EXPECT_EQ(answered, 3);
    EXPECT_FALSE(queue->TryPop(code, got));
}

TEST(PostedJob, TokensGiveTheJobBackOnceAndRefuseStrangers) {
    const size_t before = PendingPostedJobs();
    auto job = std::make_shared<CWhoisJob>("a.com", "s", 0, CDateTime());
    std::weak_ptr<CWhoisJob> weak = job;
    const uintptr_t token = PackJobForPost(job);
    ASSERT_NE(token, 0u);
    EXPECT_EQ(PendingPostedJobs(), before + 1);
    job.reset();
    EXPECT_FALSE(weak.expired());  // the message keeps it alive

    struct Case {
        const char* name;
        uintptr_t token;
    } strangers[] = {
        {"Zero", 0}, {"Forged", 0x12345678}, {"Neighbour", token + 8}, {"AllBits", ~uintptr_t(0)}};
    for (const Case& c : strangers) EXPECT_EQ(TakePostedJob(c.token), nullptr) << c.name;

    WhoisJobPtr back = TakePostedJob(token);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->m_strDomain, "a.com");
    EXPECT_EQ(TakePostedJob(token), nullptr);  // a second delivery finds nothing
    EXPECT_EQ(PendingPostedJobs(), before);
    back.reset();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(PackJobForPost(nullptr), 0u);
}

TEST(PostedJob, TokensFromManyThreadsAreAllAccountedFor) {
    const size_t before = PendingPostedJobs();
    std::vector<std::thread> threads;
    std::vector<uintptr_t> tokens(8 * 200);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, &tokens] {
            for (int i = 0; i < 200; ++i) {
                tokens[static_cast<size_t>(t * 200 + i)] =
                    PackJobForPost(std::make_shared<CWhoisJob>());
            }
        });
    }
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(PendingPostedJobs(), before + tokens.size());
    for (uintptr_t token : tokens) EXPECT_NE(TakePostedJob(token), nullptr);
    EXPECT_EQ(PendingPostedJobs(), before);
}

// The scheduler with real worker threads against a loopback server.
class CThreadHost : public ILookupHost {
public:
    CThreadHost(const ISettingsStore& store, int port) : m_store(store), m_nPort(port) {}
    bool StartWorker(const WhoisJobPtr& job) override {
        auto queue = m_queue;
        return StartWorkerThread(
            job, m_store, [queue](int code, const WhoisJobPtr& j) { queue->Post(code, j); },
            m_nPort, Quick());
    }
    void RepaintRow(int) override {}
    void RepaintAll() override {}
    void ShowStatus(const std::string&) override {}
    // Hands completions to the scheduler until it is idle or the time is up.
    bool Pump(CLookupScheduler& scheduler, int expected, int timeoutMs) {
        for (int i = 0; i < expected; ++i) {
            int code = -1;
            WhoisJobPtr job;
            if (!m_queue->Wait(timeoutMs, code, job))
                return false;
            scheduler.OnLookupDone(code, job);
        }
        return true;
    }
    const ISettingsStore& m_store;
    int m_nPort;
    std::shared_ptr<CCompletionQueue> m_queue = std::make_shared<CCompletionQueue>();
};

TEST_F(WhoisWorkerTest, LookupsThroughRealWorkersReachTheRecords) {
    static CMemorySettingsStore store;
    for (const char* ext : {"com", "org"}) store.WriteString(ext, kValueServer, kAddress);
    store.WriteString("com", kValueQueryPrefix, "domain");
    store.WriteInt(kAddress, kValueMaxConnections, 10);
    store.WriteInt(kAddress, kValueConnectionInterval, 0);
    CFakeWhoisServer server(Options(3), {FakeReply::PerQuery([](const std::string& q) {
                                return q.find("free") != std::string::npos
                                           ? std::string("No match for \"FREE.COM\".\r\n")
                                           : std::string("Domain Name: X\r\nRegistrar: R\r\n");
                            })});
    ASSERT_TRUE(server.IsRunning());
    CDomainArray domains;
    for (const char* n : {"free.com", "taken.com", "taken.org"}) ASSERT_TRUE(domains.AddName(n));
    CThreadHost host(store, server.Port());
    CLookupScheduler scheduler(domains, store, SystemClock(), host);
    scheduler.LookupAll();
    scheduler.RunLookupTick();
    ASSERT_EQ(scheduler.GetActiveCount(), 3);
    ASSERT_TRUE(host.Pump(scheduler, 3, 5000));
    EXPECT_TRUE(scheduler.IsIdle());
    EXPECT_EQ(domains.Find("free.com")->m_nState, STATE_FREE);
    EXPECT_EQ(domains.Find("taken.com")->m_nState, STATE_TAKEN);
    EXPECT_EQ(domains.Find("taken.org")->m_nState, STATE_TAKEN);
    EXPECT_EQ(domains.Find("taken.org")->m_strRegistrar, "R");
    std::vector<std::string> queries;
    for (const FakeConnection& c : server.Connections()) queries.push_back(c.query);
    std::sort(queries.begin(), queries.end());
    EXPECT_EQ(queries,
              (std::vector<std::string>{"domain free.com", "domain taken.com", "taken.org"}));
}

TEST_F(WhoisWorkerTest, StopWhileWorkersRunLeavesRecordsAsTheyWere) {
    static CMemorySettingsStore store;
    store.WriteString("org", kValueServer, kAddress);
    store.WriteInt(kAddress, kValueMaxConnections, 10);
    store.WriteInt(kAddress, kValueConnectionInterval, 0);
    CFakeWhoisServer server(Options(2), {FakeReply::Answer("NOT FOUND\r\n").After(300)});
    ASSERT_TRUE(server.IsRunning());
    CDomainArray domains;
    for (const char* n : {"a.org", "b.org"}) ASSERT_TRUE(domains.AddName(n));
    CThreadHost host(store, server.Port());
    CLookupScheduler scheduler(domains, store, SystemClock(), host);
    scheduler.Lookup({"a.org", "b.org"});
    ASSERT_EQ(scheduler.GetActiveCount(), 2);
    scheduler.Stop();
    EXPECT_EQ(scheduler.GetQueueStatus(), "Domains in whois queue = 0 (0 lookups active)");
    ASSERT_TRUE(host.Pump(scheduler, 2, 5000));  // the workers finish and report anyway
    EXPECT_EQ(domains.Find("a.org")->m_nState, STATE_UNCHECKED);
    EXPECT_EQ(domains.Find("b.org")->m_nState, STATE_UNCHECKED);
    EXPECT_TRUE(scheduler.IsIdle());
}

}  // namespace
