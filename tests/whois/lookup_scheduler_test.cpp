#include "whois/lookup_scheduler.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "domains/domain_array.h"
#include "domains/ser_string_array.h"
#include "framework/settings_store.h"
#include "whois/analysis.h"
#include "whois/extension_table.h"

namespace {

// Time moves only when a test says so.
class CFakeClock : public IClock {
public:
    CDateTime Now() const override { return m_now; }
    void Advance(int seconds) {
        m_now = CDateTime(m_now.GetDays() + seconds / 86400.0, CDateTime::valid);
    }
    CDateTime m_now = CDateTime::FromDateTime(2024, 5, 17, 9, 30, 0);
};

// Starts nothing: records the jobs it was asked to start, the repaints and the status lines.
class CRecordingHost : public ILookupHost {
public:
    bool StartWorker(const WhoisJobPtr& job) override {
        ++m_nStartCalls;
        if (m_bRefuseStarts)
            return false;
        m_started.push_back(job);
        return true;
    }
    void RepaintRow(int row) override { m_rows.push_back(row); }
    void RepaintAll() override { ++m_nRepaintAll; }
    void ShowStatus(const std::string& text) override { m_status.push_back(text); }

    std::vector<WhoisJobPtr> m_started;
    std::vector<int> m_rows;
    std::vector<std::string> m_status;
    int m_nRepaintAll = 0;
    int m_nStartCalls = 0;
    bool m_bRefuseStarts = false;
};

const char kFreeAnswer[] = "No match for \"X.COM\".\r\n>>> Last update of whois database <<<\r\n";
const char kTakenAnswer[] =
    "Domain Name: X.COM\r\nRegistrar: Example Registrar, Inc.\r\nStatus: ok\r\n";

class LookupSchedulerTest : public ::testing::Test {
protected:
    // Every record gets its own row; names may have any extension.
    void AddRecords(const std::vector<std::string>& names, int state = STATE_UNCHECKED) {
        for (const std::string& name : names) {
            auto record = std::make_unique<CDomainData>(name);
            record->m_nState = state;
            ASSERT_TRUE(m_domains.Append(std::move(record)));
        }
    }
    static std::vector<std::string> Names(const char* stem, int count, const char* ext = ".com") {
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) names.push_back(stem + std::to_string(i) + ext);
        return names;
    }
    void Queue(const std::vector<std::string>& names) {
        for (const std::string& n : names) m_scheduler.EnqueueLookup(n);
    }
    void Seed() {
        CSerStringArray list;
        SeedExtensionSettings(m_store, list);
    }
    // The extension gets a server of its own.
    void AddServer(const std::string& ext, const std::string& server, int max, int interval) {
        m_store.WriteString(ext, kValueServer, server);
        m_store.WriteInt(server, kValueMaxConnections, max);
        m_store.WriteInt(server, kValueConnectionInterval, interval);
    }
    int Started() const { return static_cast<int>(m_host.m_started.size()); }
    void Complete(const WhoisJobPtr& job, const std::string& answer) {
        job->m_strAnswer = answer;
        m_scheduler.OnLookupDone(LOOKUP_ANSWERED, job);
    }
    std::vector<std::string> QueueContents() const {
        std::vector<std::string> q;
        for (int i = 0; i < m_scheduler.GetQueue().GetSize(); ++i)
            q.push_back(m_scheduler.GetQueue().GetString(i));
        return q;
    }
    const CDomainData& Record(const std::string& name) const {
        const CDomainData* r = m_domains.Find(name);
        EXPECT_NE(r, nullptr) << name;
        static const CDomainData none;
        return r ? *r : none;
    }

    CDomainArray m_domains;
    CMemorySettingsStore m_store;
    CFakeClock m_clock;
    CRecordingHost m_host;
    CLookupScheduler m_scheduler{m_domains, m_store, m_clock, m_host, 0x1234};
};

TEST(LookupSchedulerSeconds, WholeSecondsSurviveFloatingPointDayCounts) {
    const CDateTime start = CDateTime::FromDateTime(2024, 5, 17, 9, 30, 0);
    for (int s : {0, 1, 4, 5, 11, 12, 13, 59, 60, 3599, 86399, 86400, 200000}) {
        const CDateTime later(start.GetDays() + s / 86400.0, CDateTime::valid);
        EXPECT_EQ(SecondsSince(start, later), s) << s;
    }
    // From the calendar, as the system clock makes them.
    EXPECT_EQ(SecondsSince(CDateTime::FromDateTime(2024, 5, 17, 9, 30, 0),
                           CDateTime::FromDateTime(2024, 5, 17, 9, 30, 5)),
              5);
    EXPECT_EQ(SecondsSince(CDateTime::FromDateTime(2024, 5, 17, 23, 59, 58),
                           CDateTime::FromDateTime(2024, 5, 18, 0, 0, 10)),
              12);
    // A clock set back gives a negative figure, which keeps the interval in force.
    EXPECT_LT(SecondsSince(CDateTime::FromDateTime(2024, 5, 17, 9, 30, 5),
                           CDateTime::FromDateTime(2024, 5, 17, 9, 30, 0)),
              0);
    EXPECT_EQ(SecondsSince(CDateTime(1e300, CDateTime::valid), CDateTime(-1e300, CDateTime::valid)),
              static_cast<long long>(-9.0e18));
}

TEST_F(LookupSchedulerTest, JobCarriesNameServerOwnerAndStartTime) {
    AddRecords({"Example.COM"});
    m_scheduler.Lookup({"Example.COM"});
    ASSERT_EQ(Started(), 1);
    const WhoisJobPtr& job = m_host.m_started[0];
    EXPECT_EQ(job->m_strDomain, "Example.COM");
    EXPECT_EQ(job->m_strServer, "whois.verisign-grs.com");
    EXPECT_EQ(job->m_hOwner, 0x1234u);
    EXPECT_EQ(job->m_dtStart, m_clock.m_now);
    EXPECT_EQ(job->m_strAnswer, "");
    ASSERT_EQ(m_scheduler.GetActiveCount(), 1);
    EXPECT_EQ(m_scheduler.GetActiveJobs()[0], job);
}

// Ten .com names, seeded limits (4 connections, 5 seconds), a server that never answers.
TEST_F(LookupSchedulerTest, SeededLimitsStartOneEveryFiveSecondsUpToFiveRunning) {
    Seed();
    const auto names = Names("seeded", 10);
    AddRecords(names);
    m_scheduler.Lookup(names);
    EXPECT_EQ(Started(), 1);
    EXPECT_EQ(m_scheduler.GetQueue().GetSize(), 9);

    struct Step {
        int advance;
        int started;
    } steps[] = {{4, 1}, {1, 2}, {4, 2}, {1, 3}, {5, 4}, {5, 5}, {5, 5}, {100, 5}};
    for (const Step& s : steps) {
        m_clock.Advance(s.advance);
        m_scheduler.RunLookupTick();
        EXPECT_EQ(Started(), s.started) << "after +" << s.advance;
    }
    // Four running: the next one may start at once, since the interval has long passed.
    Complete(m_host.m_started[0], kTakenAnswer);
    m_scheduler.RunLookupTick();
    EXPECT_EQ(Started(), 6);
    EXPECT_EQ(m_scheduler.GetActiveCount(), 5);
    EXPECT_EQ(m_scheduler.GetQueue().GetSize(), 4);
}

// Never seeded: 1 connection, 12 seconds.
TEST_F(LookupSchedulerTest, UnseededLimitsAllowSecondAfterTwelveSecondsAndNoThird) {
    const auto names = Names("plain", 10);
    AddRecords(names);
    m_scheduler.Lookup(names);
    EXPECT_EQ(Started(), 1);
    m_clock.Advance(11);
    m_scheduler.RunLookupTick();
    EXPECT_EQ(Started(), 1);
    m_clock.Advance(1);
    m_scheduler.RunLookupTick();
    EXPECT_EQ(Started(), 2);  // Max Connections + 1 run at once
    m_clock.Advance(60);
    m_scheduler.RunLookupTick();
    EXPECT_EQ(Started(), 2);  // a third waits while two run
    m_scheduler.OnLookupDone(LOOKUP_FAILED, m_host.m_started[1]);
    m_scheduler.RunLookupTick();
    EXPECT_EQ(Started(), 3);
}

TEST_F(LookupSchedulerTest, ServerWithoutRunningLookupStartsWhateverTheInterval) {
    AddServer("com", "whois.a.test", 1, 1000);
    AddRecords({"a.com", "b.com"});
    m_scheduler.Lookup({"a.com"});
    ASSERT_EQ(Started(), 1);
    Complete(m_host.m_started[0], kTakenAnswer);
    m_scheduler.Lookup({"b.com"});  // same second, interval 1000
    EXPECT_EQ(Started(), 2);
}

TEST_F(LookupSchedulerTest, MaxConnectionsZeroRunsOneAtATime) {
    AddServer("com", "whois.zero.test", 0, 0);
    const auto names = Names("zero", 3);
    AddRecords(names);
    m_scheduler.Lookup(names);
    EXPECT_EQ(Started(), 1);
    for (int i = 0; i < 3; ++i) {
        m_clock.Advance(100);
        m_scheduler.RunLookupTick();
    }
    EXPECT_EQ(Started(), 1);
    Complete(m_host.m_started[0], kTakenAnswer);
    m_scheduler.RunLookupTick();
    EXPECT_EQ(Started(), 2);
}

TEST_F(LookupSchedulerTest, NegativeMaxConnectionsNeverStartsAndNamesCirculate) {
    AddServer("com", "whois.never.test", -1, 0);
    const auto names = Names("never", 3);
    AddRecords(names);
    m_scheduler.Lookup(names);
    for (int i = 0; i < 10; ++i) {
        m_clock.Advance(3600);
        m_scheduler.RunLookupTick();
    }
    EXPECT_EQ(Started(), 0);
    EXPECT_EQ(m_scheduler.GetQueue().GetSize(), 3);
    EXPECT_EQ(m_host.m_status.back(), "Domains in whois queue = 3 (0 lookups active)");
    m_scheduler.Stop();
    EXPECT_EQ(m_scheduler.GetQueue().GetSize(), 0);
}

TEST_F(LookupSchedulerTest, AtMostFourteenNamesAreTakenPerStep) {
    AddServer("com", "whois.never.test", -1, 0);
    const auto names = Names("n", 20);
    Queue(names);
    m_scheduler.RunLookupTick();
    // Fourteen were taken and put back behind the six untouched ones.
    std::vector<std::string> expected(names.begin() + 14, names.end());
    expected.insert(expected.end(), names.begin(), names.begin() + 14);
    EXPECT_EQ(QueueContents(), expected);

    // A short queue is taken round again until fourteen names have been looked at.
    m_scheduler.Stop();
    Queue(Names("m", 3));
    m_scheduler.RunLookupTick();
    EXPECT_EQ(QueueContents(), (std::vector<std::string>{"m2.com", "m0.com", "m1.com"}));
}

TEST_F(LookupSchedulerTest, AtMostFiveLookupsStartPerStep) {
    std::vector<std::string> names;
    for (int i = 0; i < 7; ++i) {
        const std::string ext = "x" + std::to_string(i);
        AddServer(ext, "whois." + ext + ".test", 1, 12);
        names.push_back("seven." + ext);
    }
    AddRecords(names);
    m_scheduler.Lookup(names);
    EXPECT_EQ(Started(), 5);
    EXPECT_EQ(m_scheduler.GetQueue().GetSize(), 2);
    m_scheduler.RunLookupTick();
    EXPECT_EQ(Started(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(m_host.m_started[i]->m_strDomain, names[i]);
    EXPECT_EQ(m_host.m_status.back(), "Domains in whois queue = 0 (7 lookups active)");
}

TEST_F(LookupSchedulerTest, NameWithoutDotBecomesErrorWithoutCountingAsStart) {
    std::vector<std::string> names;
    for (int i = 0; i < 16; ++i) names.push_back("nodot" + std::to_string(i));
    AddRecords(names);
    m_scheduler.Lookup(names);
    EXPECT_EQ(m_host.m_nStartCalls, 0);
    // Fourteen taken (none counted as a start), two left for the next step.
    EXPECT_EQ(m_scheduler.GetQueue().GetSize(), 2);
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(Record(names[i]).m_nState, STATE_ERROR) << names[i];
        EXPECT_EQ(Record(names[i]).m_dtChecked, m_clock.m_now);
    }
    EXPECT_EQ(Record(names[14]).m_nState, STATE_UNCHECKED);
    EXPECT_EQ(m_host.m_rows, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    m_scheduler.RunLookupTick();
    EXPECT_EQ(Record(names[15]).m_nState, STATE_ERROR);
    EXPECT_TRUE(m_scheduler.GetQueue().IsEmpty());
}

TEST_F(LookupSchedulerTest, NameWithoutServerBecomesErrorAndCountsAsStart) {
    const auto names = Names("noserver", 7, ".zz");  // no table row, nothing stored
    AddRecords(names);
    AddRecords({"trailing."});
    m_scheduler.Lookup(names);
    EXPECT_EQ(m_host.m_nStartCalls, 0);
    EXPECT_EQ(m_scheduler.GetQueue().GetSize(), 2);  // five "starts" end the step
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Record(names[i]).m_nState, STATE_ERROR);
        EXPECT_EQ(Record(names[i]).m_dtChecked, m_clock.m_now);
    }
    EXPECT_EQ(Record(names[5]).m_nState, STATE_UNCHECKED);
    m_clock.Advance(3);
    m_scheduler.Lookup({"trailing."});
    EXPECT_EQ(Record(names[6]).m_nState, STATE_ERROR);
    EXPECT_EQ(Record(names[6]).m_dtChecked, m_clock.m_now);
    EXPECT_EQ(Record("trailing.").m_nState, STATE_ERROR);
    EXPECT_EQ(m_host.m_nStartCalls, 0);
}

TEST_F(LookupSchedulerTest, ErrorForNameWithoutRecordRepaintsNothing) {
    Queue({"orphan", "orphan.zz"});
    m_scheduler.RunLookupTick();
    EXPECT_TRUE(m_host.m_rows.empty());
    EXPECT_TRUE(m_scheduler.GetQueue().IsEmpty());
}

TEST_F(LookupSchedulerTest, NameQueuedAgainWhileRunningIsDropped) {
    AddRecords({"Dup.com"});
    m_scheduler.Lookup({"Dup.com"});
    ASSERT_EQ(Started(), 1);
    m_scheduler.EnqueueLookup("dup.COM");
    m_clock.Advance(100);
    m_scheduler.RunLookupTick();
    EXPECT_EQ(Started(), 1);
    EXPECT_TRUE(m_scheduler.GetQueue().IsEmpty());
    EXPECT_EQ(m_scheduler.GetActiveCount(), 1);
}

TEST_F(LookupSchedulerTest, LookupQueuesOnlyUncheckedAndErrorRecords) {
    struct Case {
        int state;
        bool queued;
    } cases[] = {{STATE_FREE, false},
                 {STATE_TAKEN, false},
                 {STATE_RESERVED, false},
                 {STATE_RESOLVES, false},
                 {STATE_QUEUED, false},
                 {STATE_UNCHECKED, true},
                 {STATE_ERROR, true},
                 {7, false},
                 {-1, false}};
    AddServer("com", "whois.never.test", -1, 0);  // keep queued names in the queue
    for (const Case& c : cases) {
        const std::string name = "state" + std::to_string(c.state) + ".com";
        AddRecords({name}, c.state);
        m_scheduler.Lookup({name});
        EXPECT_EQ(m_scheduler.GetQueue().Find(name) >= 0, c.queued) << c.state;
    }
    m_scheduler.Lookup({"missing.com"});
    EXPECT_LT(m_scheduler.GetQueue().Find("missing.com"), 0);
}

TEST_F(LookupSchedulerTest, LookupTwiceQueuesEachNameOnce) {
    AddServer("com", "whois.never.test", -1, 0);
    AddRecords({"a.com", "b.com"});
    m_scheduler.Lookup({"a.com", "b.com"});
    m_scheduler.Lookup({"a.com", "b.com"});
    m_scheduler.Lookup({"A.COM"});
    EXPECT_EQ(m_scheduler.GetQueue().GetSize(), 2);
}

TEST_F(LookupSchedulerTest, ResetClearsResultsThenLookupQueuesAgain) {
    AddServer("com", "whois.never.test", -1, 0);
    AddRecords({"keep.com", "taken.com"}, STATE_TAKEN);
    CDomainData* r = m_domains.Find("taken.com");
    r->m_dtChecked = m_clock.m_now;
    r->m_strStatus = "ok";
    r->m_dtCreated = r->m_dtExpires = r->m_dtUpdated = m_clock.m_now;
    r->m_strWhoisText = "text";
    r->m_strWhoisServer = "whois.x";
    r->m_strRegistrar = "reg";
    r->m_strReserved1 = "kept";

    m_scheduler.Lookup({"taken.com"});
    EXPECT_TRUE(m_scheduler.GetQueue().IsEmpty());  // taken: not queued

    m_scheduler.Reset({"TAKEN.com", "absent.com"});
    EXPECT_EQ(m_host.m_rows, (std::vector<int>{1}));
    EXPECT_EQ(r->m_nState, STATE_UNCHECKED);
    EXPECT_EQ(r->m_dtChecked.GetStatus(), CDateTime::null);
    EXPECT_EQ(r->m_dtCreated.GetStatus(), CDateTime::null);
    EXPECT_EQ(r->m_dtExpires.GetStatus(), CDateTime::null);
    EXPECT_EQ(r->m_dtUpdated.GetStatus(), CDateTime::null);
    EXPECT_EQ(r->m_strStatus, "");
    EXPECT_EQ(r->m_strWhoisText, "");
    EXPECT_EQ(r->m_strWhoisServer, "");
    EXPECT_EQ(r->m_strRegistrar, "");
    EXPECT_EQ(r->m_strName, "taken.com");
    EXPECT_EQ(r->m_strReserved1, "kept");
    EXPECT_EQ(Record("keep.com").m_nState, STATE_TAKEN);

    m_scheduler.Lookup({"taken.com"});
    EXPECT_EQ(m_scheduler.GetQueue().GetSize(), 1);
}

TEST_F(LookupSchedulerTest, ResetLeavesQueueAndRunningLookupsAlone) {
    AddRecords({"run.com", "wait.com"});
    m_scheduler.Lookup({"run.com", "wait.com"});
    ASSERT_EQ(Started(), 1);
    m_scheduler.Reset({"run.com", "wait.com"});
    EXPECT_EQ(m_scheduler.GetActiveCount(), 1);
    EXPECT_EQ(m_scheduler.GetQueue().GetSize(), 1);
    // The answer of the running lookup still reaches the record.
    Complete(m_host.m_started[0], kFreeAnswer);
    EXPECT_EQ(Record("run.com").m_nState, STATE_FREE);
}

TEST_F(LookupSchedulerTest, LookupAllFeedsThirtyRecordsPerStepUntilTheLast) {
    AddServer("com", "whois.never.test", -1, 0);
    AddRecords(Names("all", 100));
    m_scheduler.LookupAll();
    EXPECT_EQ(m_scheduler.GetQueue().GetSize(), 30);
    EXPECT_TRUE(m_scheduler.IsFeedOn());
    EXPECT_EQ(m_scheduler.GetFeedPosition(), 29);  // the 30th is examined again
    EXPECT_EQ(m_host.m_status.back(), "Domains in whois queue = 30 (0 lookups active)");
    const int expectedQueue[] = {59, 88, 100};
    for (int q : expectedQueue) {
        m_scheduler.RunLookupTick();
        EXPECT_EQ(m_scheduler.GetQueue().GetSize(), q);
    }
    EXPECT_FALSE(m_scheduler.IsFeedOn());
    EXPECT_EQ(m_scheduler.GetFeedPosition(), 100);
    m_scheduler.RunLookupTick();
    EXPECT_EQ(m_scheduler.GetQueue().GetSize(), 100);
}

TEST_F(LookupSchedulerTest, LookupAllSkipsRecordsAlreadyChecked) {
    AddServer("com", "whois.never.test", -1, 0);
    AddRecords({"u.com"}, STATE_UNCHECKED);
    AddRecords({"f.com"}, STATE_FREE);
    AddRecords({"t.com"}, STATE_TAKEN);
    AddRecords({"e.com"}, STATE_ERROR);
    AddRecords({"q.com"}, STATE_QUEUED);
    m_scheduler.LookupAll();
    EXPECT_EQ(QueueContents(), (std::vector<std::string>{"u.com", "e.com"}));
    EXPECT_FALSE(m_scheduler.IsFeedOn());
}

TEST_F(LookupSchedulerTest, FeedEndsWhenRecordsWereDeletedBehindIt) {
    AddServer("com", "whois.never.test", -1, 0);
    AddRecords(Names("del", 40));
    m_scheduler.LookupAll();
    ASSERT_TRUE(m_scheduler.IsFeedOn());
    m_domains.RemoveAllRecords();
    m_scheduler.RunLookupTick();
    EXPECT_FALSE(m_scheduler.IsFeedOn());
}

TEST_F(LookupSchedulerTest, StopEmptiesEverythingAndLateCompletionsChangeNothing) {
    AddRecords(Names("stop", 3, ".org"));
    AddRecords(Names("stop", 3, ".net"));
    AddRecords(Names("stop", 40, ".info"));
    AddServer("org", "whois.o.test", 10, 0);
    AddServer("net", "whois.n.test", 10, 0);
    m_scheduler.LookupAll();  // the feed runs after the step's starts
    ASSERT_EQ(Started(), 0);
    m_scheduler.RunLookupTick();
    ASSERT_EQ(Started(), 5);
    const int queuedBefore = m_scheduler.GetQueue().GetSize();
    ASSERT_GT(queuedBefore, 0);

    m_scheduler.Stop();
    EXPECT_EQ(m_host.m_status.back(), "Domains in whois queue = 0 (0 lookups active)");
    EXPECT_EQ(m_scheduler.GetQueueStatus(), "Domains in whois queue = 0 (0 lookups active)");
    EXPECT_FALSE(m_scheduler.IsFeedOn());
    EXPECT_TRUE(m_scheduler.IsIdle());

    const size_t repaintsBefore = m_host.m_rows.size();
    Complete(m_host.m_started[0], kFreeAnswer);
    Complete(m_host.m_started[1], "");
    m_scheduler.OnLookupDone(LOOKUP_FAILED, m_host.m_started[2]);
    for (const WhoisJobPtr& job : m_host.m_started) {
        EXPECT_EQ(Record(job->m_strDomain).m_nState, STATE_UNCHECKED) << job->m_strDomain;
    }
    EXPECT_EQ(m_host.m_rows.size(), repaintsBefore);
    EXPECT_TRUE(m_scheduler.GetQueue().IsEmpty());
    m_scheduler.RunLookupTick();
    EXPECT_EQ(Started(), 5);  // nothing was fed or queued again
}

TEST_F(LookupSchedulerTest, FailedLookupsAreRetriedWithoutLimit) {
    AddServer("com", "whois.down.test", 1, 0);
    AddRecords({"retry.com"});
    m_scheduler.Lookup({"retry.com"});
    for (int attempt = 1; attempt <= 25; ++attempt) {
        ASSERT_EQ(Started(), attempt);
        m_scheduler.OnLookupDone(LOOKUP_FAILED, m_host.m_started.back());
        EXPECT_EQ(QueueContents(), (std::vector<std::string>{"retry.com"}));
        EXPECT_EQ(Record("retry.com").m_nState, STATE_UNCHECKED);
        m_scheduler.RunLookupTick();
    }
    EXPECT_TRUE(m_host.m_rows.empty());  // a failure repaints nothing
}

TEST_F(LookupSchedulerTest, FailureGoesToTheBackOfTheQueue) {
    AddServer("com", "whois.a.test", 0, 0);
    AddRecords({"first.com", "second.com"});
    m_scheduler.Lookup({"first.com", "second.com"});
    ASSERT_EQ(Started(), 1);
    m_scheduler.EnqueueLookup("third.com");
    m_scheduler.OnLookupDone(LOOKUP_FAILED, m_host.m_started[0]);
    EXPECT_EQ(QueueContents(), (std::vector<std::string>{"second.com", "third.com", "first.com"}));
}

TEST_F(LookupSchedulerTest, AnswersAreAnalysedIntoTheRecord) {
    AddRecords({"free.com", "taken.org"});
    AddServer("org", "whois.o.test", 1, 0);
    m_scheduler.Lookup({"free.com", "taken.org"});
    ASSERT_EQ(Started(), 2);
    m_clock.Advance(7);
    Complete(m_host.m_started[0], kFreeAnswer);
    Complete(m_host.m_started[1], kTakenAnswer);
    EXPECT_EQ(Record("free.com").m_nState, STATE_FREE);
    EXPECT_EQ(Record("free.com").m_dtChecked, m_clock.m_now);
    EXPECT_EQ(Record("free.com").m_strWhoisServer, "whois.verisign-grs.com");
    EXPECT_EQ(Record("taken.org").m_nState, STATE_TAKEN);
    EXPECT_EQ(Record("taken.org").m_strRegistrar, "Example Registrar, Inc.");
    EXPECT_EQ(Record("taken.org").m_strWhoisServer, "whois.o.test");
    EXPECT_EQ(Record("free.com").m_strWhoisText, kFreeAnswer);
    EXPECT_EQ(m_host.m_rows, (std::vector<int>{0, 1}));
    EXPECT_EQ(m_scheduler.GetActiveCount(), 0);
    EXPECT_TRUE(m_scheduler.GetQueue().IsEmpty());
}

TEST_F(LookupSchedulerTest, EmptyAnswerChangesNothingAndIsNotRetried) {
    AddRecords({"empty.com"}, STATE_ERROR);
    m_scheduler.Lookup({"empty.com"});
    ASSERT_EQ(Started(), 1);
    Complete(m_host.m_started[0], "");
    EXPECT_EQ(Record("empty.com").m_nState, STATE_ERROR);
    EXPECT_EQ(m_scheduler.GetActiveCount(), 0);
    EXPECT_TRUE(m_scheduler.GetQueue().IsEmpty());
    EXPECT_TRUE(m_host.m_rows.empty());
}

TEST_F(LookupSchedulerTest, RefusedAnswerIsQueuedAgainLikeAFailure) {
    // Whatever the analysis counts as a refusal; find one it accepts.
    const char* candidates[] = {
        "Your connection limit exceeded. Please slow down and try again later.\r\n",
        "WHOIS LIMIT EXCEEDED - SEE WWW.PIR.ORG/WHOIS FOR DETAILS\r\n",
        "Query rate limit exceeded\r\n",
        "%ERROR:201: access denied\r\n",
    };
    std::string refusal;
    for (const char* c : candidates) {
        if (IsRefusalAnswer(c)) {
            refusal = c;
            break;
        }
    }
    if (refusal.empty())
        GTEST_SKIP() << "the analysis recognises none of the sample refusals";
    AddRecords({"refused.com"});
    m_scheduler.Lookup({"refused.com"});
    ASSERT_EQ(Started(), 1);
    Complete(m_host.m_started[0], refusal);
    EXPECT_EQ(QueueContents(), (std::vector<std::string>{"refused.com"}));
    EXPECT_EQ(Record("refused.com").m_nState, STATE_UNCHECKED);
    EXPECT_EQ(m_scheduler.GetActiveCount(), 0);
}

TEST_F(LookupSchedulerTest, CompletionForDeletedRecordChangesNothing) {
    AddRecords({"gone.com", "other.com"});
    m_scheduler.Lookup({"gone.com"});
    ASSERT_EQ(Started(), 1);
    m_domains.RemoveName("gone.com");
    Complete(m_host.m_started[0], kTakenAnswer);
    EXPECT_EQ(m_domains.GetCount(), 1);
    EXPECT_EQ(Record("other.com").m_nState, STATE_UNCHECKED);
    EXPECT_TRUE(m_host.m_rows.empty());
    EXPECT_EQ(m_scheduler.GetActiveCount(), 0);
    EXPECT_TRUE(m_scheduler.GetQueue().IsEmpty());
}

TEST_F(LookupSchedulerTest, StrayCompletionsChangeNothing) {
    AddRecords({"a.com"});
    m_scheduler.Lookup({"a.com"});
    ASSERT_EQ(Started(), 1);
    const WhoisJobPtr job = m_host.m_started[0];
    job->m_strAnswer = kFreeAnswer;

    struct Case {
        const char* name;
        int code;
        WhoisJobPtr job;
    } cases[] = {
        {"NullJobFailed", LOOKUP_FAILED, nullptr},
        {"NullJobAnswered", LOOKUP_ANSWERED, nullptr},
        {"UnknownCode", 3, job},
        {"NegativeCode", -1, job},
        {"ForeignJob", LOOKUP_ANSWERED,
         std::make_shared<CWhoisJob>("a.com", "whois.verisign-grs.com", 0x1234, m_clock.m_now)},
    };
    for (const Case& c : cases) {
        m_scheduler.OnLookupDone(c.code, c.job);
        EXPECT_EQ(m_scheduler.GetActiveCount(), 1) << c.name;
        EXPECT_EQ(Record("a.com").m_nState, STATE_UNCHECKED) << c.name;
        EXPECT_TRUE(m_scheduler.GetQueue().IsEmpty()) << c.name;
        EXPECT_EQ(m_host.m_nRepaintAll, 0) << c.name;
    }
    // Delivered twice: the second finds no job.
    m_scheduler.OnLookupDone(LOOKUP_ANSWERED, job);
    EXPECT_EQ(Record("a.com").m_nState, STATE_FREE);
    m_domains.Find("a.com")->m_nState = STATE_UNCHECKED;
    m_scheduler.OnLookupDone(LOOKUP_ANSWERED, job);
    m_scheduler.OnLookupDone(LOOKUP_FAILED, job);
    EXPECT_EQ(Record("a.com").m_nState, STATE_UNCHECKED);
    EXPECT_TRUE(m_scheduler.GetQueue().IsEmpty());
}

TEST_F(LookupSchedulerTest, RepaintMessageRepaintsWholeListOnly) {
    AddRecords({"a.com", "b.com"});
    m_scheduler.Lookup({"a.com", "b.com"});
    const auto queue = QueueContents();
    m_scheduler.OnLookupDone(LOOKUP_REPAINT, nullptr);
    m_scheduler.OnLookupDone(LOOKUP_REPAINT, m_host.m_started[0]);  // a job there is ignored
    EXPECT_EQ(m_host.m_nRepaintAll, 2);
    EXPECT_EQ(m_scheduler.GetActiveCount(), 1);
    EXPECT_EQ(QueueContents(), queue);
    EXPECT_EQ(Record("a.com").m_nState, STATE_UNCHECKED);
}

TEST_F(LookupSchedulerTest, WorkerThatCannotStartLeavesNoJobBehind) {
    m_host.m_bRefuseStarts = true;
    AddRecords({"a.com", "b.org"});
    m_scheduler.Lookup({"a.com", "b.org"});
    // Each refused start counts, so one step tries at most five.
    EXPECT_EQ(m_host.m_nStartCalls, 5);
    EXPECT_EQ(m_scheduler.GetActiveCount(), 0);
    EXPECT_EQ(QueueContents(), (std::vector<std::string>{"b.org", "a.com"}));
    m_host.m_bRefuseStarts = false;
    m_scheduler.RunLookupTick();
    EXPECT_EQ(Started(), 2);  // not blocked by a job that never ran
}

TEST_F(LookupSchedulerTest, JobOutlivesStopWhileTheWorkerHoldsIt) {
    AddRecords({"held.com"});
    m_scheduler.Lookup({"held.com"});
    std::weak_ptr<CWhoisJob> weak = m_host.m_started[0];
    WhoisJobPtr workerCopy = m_host.m_started[0];
    m_host.m_started.clear();
    m_scheduler.Stop();
    ASSERT_FALSE(weak.expired());
    workerCopy->m_strAnswer = kTakenAnswer;  // the worker still writes its answer
    m_scheduler.OnLookupDone(LOOKUP_ANSWERED, workerCopy);
    workerCopy.reset();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(Record("held.com").m_nState, STATE_UNCHECKED);
}

TEST_F(LookupSchedulerTest, StatusLineCountsQueueAndActiveLookups) {
    AddRecords(Names("s", 3));
    m_scheduler.Lookup(Names("s", 3));
    EXPECT_EQ(m_scheduler.GetQueueStatus(), "Domains in whois queue = 2 (1 lookups active)");
    EXPECT_EQ(m_host.m_status.back(), m_scheduler.GetQueueStatus());
}

}  // namespace
