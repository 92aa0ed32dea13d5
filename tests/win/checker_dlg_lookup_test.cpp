// The lookup road through the main window with real worker threads against a fake WHOIS server
// on 127.0.0.70: Lookup All and Lookup fill in the rows, and completions that arrive after Stop,
// after the window closed or for a deleted record change nothing; stray WM_USER messages too.
#include "tests/win/checker_dlg_test_fixture.h"

#include "framework/text.h"
#include "tests/support/fake_whois_server.h"
#include "whois/extension_table.h"
#include "whois/whois_worker.h"

namespace {

constexpr const char* kServer = "127.0.0.70";
constexpr const char* kIdle = "Domains in whois queue = 0 (0 lookups active)";

std::string CannedAnswer(const std::string& query) {
    const std::string name = ToLower(query.substr(query.rfind(' ') + 1));
    if (name.find("free") != std::string::npos)
        return "No match for \"" + ToUpper(name) + "\".\r\nNOT FOUND\r\n";
    return "Domain Name: " + ToUpper(name) +
           "\r\nRegistrar: Window Test Registrar\r\nWhois Server: whois.window.test\r\n"
           "Creation Date: 2001-03-14\r\nExpiration Date: 2031-03-14\r\n";
}

class CheckerDlgLookupTest : public CheckerDlgTest {
protected:
    void SetUp() override {
        CheckerDlgTest::SetUp();
        for (const char* ext : {"com", "net", "org"})
            m_store->WriteString(ext, kValueServer, kServer);
        // A stored server travels with the stored prefix only.
        m_store->WriteString("com", kValueQueryPrefix, "domain");
        // Every queued name may start at once.
        m_store->WriteInt(kServer, kValueMaxConnections, 10);
        m_store->WriteInt(kServer, kValueConnectionInterval, 0);
    }

    void TearDown() override {
        CheckerDlgTest::TearDown();
        m_server.reset();
    }

    // The fake server; `delayMs` holds every answer back that long.
    bool StartServer(int delayMs, int connections = 20) {
        FakeServerOptions options;
        options.address = kServer;
        options.port = 43;
        options.maxConnections = connections;
        options.timeLimitMs = 30000;
        m_server = std::make_unique<CFakeWhoisServer>(
            options, std::vector<FakeReply>{FakeReply::PerQuery(CannedAnswer).After(delayMs)});
        return m_server->IsRunning();
    }

    int State(int row) const { return m_dlg->GetDomains().GetRecord(row)->m_nState; }

    bool AllChecked() const {
        const CDomainArray& d = m_dlg->GetDomains();
        for (int i = 0; i < d.GetCount(); ++i) {
            const int s = d.GetRecord(i)->m_nState;
            if (s != STATE_FREE && s != STATE_TAKEN)
                return false;
        }
        return true;
    }

    // One timer tick now rather than in up to 2.5 seconds.
    void Tick() const { ::SendMessageA(Window(), WM_TIMER, LOOKUP_TIMER_ID, 0); }

    // Lookup All queues at the end of a step, so the lookups start at the next tick.
    bool PumpUntilConnections(int count) {
        Tick();
        return PumpUntil([&] { return m_server->ConnectionCount() >= count; }, 8000);
    }

    // Waits until every job handed to a posted message has been taken back.
    static bool NoJobLeftInMessages(int timeoutMs) {
        return PumpUntil([] { return PendingPostedJobs() == 0; }, timeoutMs);
    }

    std::unique_ptr<CFakeWhoisServer> m_server;
};

TEST_F(CheckerDlgLookupTest, LookupAllChecksEveryRowThroughWorkerThreads) {
    ASSERT_TRUE(StartServer(0));
    WriteDataFile({"free-one.com", "taken-one.com", "free-two.org", "taken-two.net"});
    Open();
    Command(IDC_LOOKUP_ALL);
    Tick();
    ASSERT_TRUE(PumpUntil([&] { return AllChecked(); }, 20000)) << StatusText();
    EXPECT_EQ(State(0), STATE_FREE);
    EXPECT_EQ(State(1), STATE_TAKEN);
    EXPECT_EQ(State(2), STATE_FREE);
    EXPECT_EQ(State(3), STATE_TAKEN);
    EXPECT_EQ(CellText(0, 2), "<#FF0000>Free");
    EXPECT_EQ(CellText(1, 2), "<#0000FF>NA");
    EXPECT_EQ(CellText(1, 8), "Window Test Registrar");
    EXPECT_EQ(CellText(1, 7), "whois.window.test");
    EXPECT_NE(CellText(1, 3), "");
    EXPECT_NE(CellText(0, 6), "") << "checked-on date";

    // .com goes out with its prefix, .org without.
    std::vector<std::string> queries;
    for (const FakeConnection& c : m_server->Connections()) queries.push_back(c.query);
    EXPECT_NE(std::find(queries.begin(), queries.end(), "domain free-one.com"), queries.end());
    EXPECT_NE(std::find(queries.begin(), queries.end(), "free-two.org"), queries.end());

    ::SendMessageA(Window(), WM_TIMER, LOOKUP_TIMER_ID, 0);
    EXPECT_EQ(StatusText(), kIdle);
    EXPECT_TRUE(NoJobLeftInMessages(2000));
}

TEST_F(CheckerDlgLookupTest, LookupQueuesOnlySelectedUncheckedOrFailedRows) {
    ASSERT_TRUE(StartServer(0));
    WriteDataFile({"free-a.com", "taken-b.com", "taken-c.com", "free-d.com"});
    Open();
    m_dlg->GetDomains().GetRecord(2)->m_nState = STATE_ERROR;
    m_dlg->GetDomains().GetRecord(3)->m_nState = STATE_TAKEN;  // checked before: not queued
    SelectRows({0, 2, 3});
    Command(IDC_LOOKUP);
    ASSERT_TRUE(
        PumpUntil([&] { return State(0) == STATE_FREE && State(2) == STATE_TAKEN; }, 20000));
    PumpFor(300);
    EXPECT_EQ(State(1), STATE_UNCHECKED) << "not selected";
    EXPECT_EQ(State(3), STATE_TAKEN);
    EXPECT_EQ(m_server->ConnectionCount(), 2);
}

TEST_F(CheckerDlgLookupTest, StopLeavesRecordsAsTheyWereWhenLateAnswersArrive) {
    ASSERT_TRUE(StartServer(1200));
    WriteDataFile({"free-late.com", "taken-late.com", "taken-late.org"});
    Open();
    Command(IDC_LOOKUP_ALL);
    ASSERT_TRUE(PumpUntilConnections(3));
    EXPECT_NE(StatusText(), kIdle);
    Command(IDC_STOP);
    EXPECT_EQ(StatusText(), kIdle) << "Stop shows 0 and 0 at once";
    ASSERT_TRUE(m_server->WaitForFinished(3, 10000));
    ASSERT_TRUE(NoJobLeftInMessages(5000));
    PumpFor(200);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(State(row), STATE_UNCHECKED) << row;
    EXPECT_EQ(m_dlg->GetScheduler().GetActiveCount(), 0);
}

struct GoneCase {
    const char* what;
    bool destroyObject;  // the whole window object, not only the window
};

TEST_F(CheckerDlgLookupTest, CompletionAfterTheWindowIsGoneIsReleasedAndChangesNothing) {
    const GoneCase cases[] = {{"window closed", false}, {"window object destroyed", true}};
    for (const GoneCase& c : cases) {
        ASSERT_TRUE(StartServer(800));
        WriteDataFile({"free-gone.com", "taken-gone.com"});
        Open();
        Command(IDC_LOOKUP_ALL);
        ASSERT_TRUE(PumpUntilConnections(2)) << c.what;
        Command(IDOK);
        PumpMessages();
        ASSERT_EQ(m_dlg->GetHandle(), nullptr) << c.what;
        if (c.destroyObject)
            m_dlg.reset();
        ASSERT_TRUE(m_server->WaitForFinished(2, 10000)) << c.what;
        EXPECT_TRUE(NoJobLeftInMessages(5000)) << c.what << ": " << PendingPostedJobs();
        if (!c.destroyObject) {
            EXPECT_EQ(State(0), STATE_UNCHECKED) << c.what;
            EXPECT_EQ(State(1), STATE_UNCHECKED) << c.what;
        }
        m_dlg.reset();
        // The saved list holds the records as they were when the window closed.
        CDomainArray saved;
        ASSERT_TRUE(LoadDomainFile(m_strDataFile, saved));
        ASSERT_EQ(saved.GetCount(), 2);
        EXPECT_EQ(saved.GetRecord(0)->m_nState, STATE_UNCHECKED) << c.what;
        m_server.reset();
    }
}

TEST_F(CheckerDlgLookupTest, CompletionsStillQueuedWhenTheWindowClosesAreReleased) {
    ASSERT_TRUE(StartServer(0));
    WriteDataFile({"free-queued.com", "taken-queued.com", "taken-queued.org"});
    Open();
    Command(IDC_LOOKUP_ALL);
    Tick();
    ASSERT_EQ(m_dlg->GetScheduler().GetActiveCount(), 3);
    // No message is served meanwhile, so the three completions wait in the queue.
    ASSERT_TRUE(m_server->WaitForFinished(3, 10000));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (PendingPostedJobs() < 3 && std::chrono::steady_clock::now() < end) ::Sleep(20);
    ASSERT_EQ(PendingPostedJobs(), 3u);
    Command(IDOK);
    EXPECT_EQ(m_dlg->GetHandle(), nullptr);
    EXPECT_EQ(PendingPostedJobs(), 0u) << "the closing window gives their jobs back";
    PumpMessages();
    EXPECT_EQ(State(0), STATE_UNCHECKED);
}

TEST_F(CheckerDlgLookupTest, CompletionForADeletedRecordChangesNoOtherRecord) {
    ASSERT_TRUE(StartServer(800));
    WriteDataFile({"taken-keep.com", "free-deleted.com", "taken-also.org"});
    Open();
    Command(IDC_LOOKUP_ALL);
    ASSERT_TRUE(PumpUntilConnections(3));
    SelectRows({1});
    Command(IDC_DELETE);
    ASSERT_EQ(m_dlg->GetDomains().GetCount(), 2);
    ASSERT_TRUE(PumpUntil([&] { return AllChecked(); }, 20000));
    EXPECT_EQ(m_dlg->GetDomains().GetRecord(0)->m_strName, "taken-keep.com");
    EXPECT_EQ(State(0), STATE_TAKEN);
    EXPECT_EQ(m_dlg->GetDomains().GetRecord(1)->m_strName, "taken-also.org");
    EXPECT_EQ(State(1), STATE_TAKEN);
    EXPECT_EQ(ItemCount(), 2);
    EXPECT_TRUE(NoJobLeftInMessages(5000));
}

TEST_F(CheckerDlgLookupTest, FailedExchangeIsRetriedAtALaterTick) {
    // Nothing listens on the address at first, so the first exchange fails.
    constexpr const char* kLateServer = "127.0.0.71";
    m_store->WriteString("com", kValueServer, kLateServer);
    m_store->WriteInt(kLateServer, kValueMaxConnections, 10);
    m_store->WriteInt(kLateServer, kValueConnectionInterval, 0);
    WriteDataFile({"taken-retry.com"});
    Open();
    Command(IDC_LOOKUP_ALL);
    // Each tick starts the lookup again, and each failure puts the name back on the queue and
    // leaves the record alone.
    CLookupScheduler& scheduler = m_dlg->GetScheduler();
    for (int attempt = 0; attempt < 2; ++attempt) {
        Tick();
        ASSERT_EQ(scheduler.GetActiveCount(), 1) << attempt;
        ASSERT_TRUE(PumpUntil(
            [&] { return scheduler.GetActiveCount() == 0 && scheduler.GetQueue().GetSize() == 1; },
            8000))
            << attempt;
    }
    EXPECT_EQ(State(0), STATE_UNCHECKED);

    FakeServerOptions options;
    options.address = kLateServer;
    options.port = 43;
    options.maxConnections = 2;
    options.timeLimitMs = 20000;
    m_server = std::make_unique<CFakeWhoisServer>(
        options, std::vector<FakeReply>{FakeReply::PerQuery(CannedAnswer)});
    ASSERT_TRUE(m_server->IsRunning());
    Tick();
    ASSERT_TRUE(PumpUntil([&] { return State(0) == STATE_TAKEN; }, 10000)) << StatusText();
    EXPECT_EQ(m_server->ConnectionCount(), 1);
}

TEST_F(CheckerDlgLookupTest, ForgedCompletionMessagesChangeNothing) {
    WriteDataFile({"taken-forged.com"});
    Open();
    WhoisJobPtr job = std::make_shared<CWhoisJob>("taken-forged.com", kServer, 0, CDateTime());
    job->m_strAnswer = "No match for \"TAKEN-FORGED.COM\".\r\n";
    // Not a token handed out for a post: a raw pointer, small numbers, a job never started.
    const LPARAM forged[] = {0, 1, 0x1234, reinterpret_cast<LPARAM>(&job),
                             reinterpret_cast<LPARAM>(job.get())};
    for (LPARAM lParam : forged) {
        for (WPARAM code : {WPARAM(LOOKUP_FAILED), WPARAM(LOOKUP_ANSWERED), WPARAM(7)})
            ::SendMessageA(Window(), WM_USER, code, lParam);
    }
    // A real token for a job that the scheduler never started.
    ::SendMessageA(Window(), WM_USER, LOOKUP_ANSWERED, static_cast<LPARAM>(PackJobForPost(job)));
    PumpMessages();
    EXPECT_EQ(State(0), STATE_UNCHECKED);
    EXPECT_EQ(m_dlg->GetScheduler().GetQueue().GetSize(), 0);
    EXPECT_EQ(PendingPostedJobs(), 0u);
}

TEST_F(CheckerDlgLookupTest, DialogManagerQueryBehindTheCompletionMessageIsStillAnswered) {
    Open();
    // WM_USER is also the dialog manager's DM_GETDEFID: its default answer must survive.
    ::SendMessageA(Window(), DM_SETDEFID, IDC_LOOKUP_ALL, 0);
    const LRESULT answer = ::SendMessageA(Window(), DM_GETDEFID, 0, 0);
    EXPECT_EQ(LOWORD(answer), IDC_LOOKUP_ALL);
    EXPECT_EQ(HIWORD(answer), DC_HASDEFID);
}

TEST_F(CheckerDlgLookupTest, RepaintMessageInvalidatesTheWholeList) {
    WriteDataFile({"a.com", "b.com"});
    Open();
    ::UpdateWindow(List());
    ::ValidateRect(List(), nullptr);
    RECT update = {};
    ASSERT_FALSE(::GetUpdateRect(List(), &update, FALSE));
    ::SendMessageA(Window(), WM_USER, LOOKUP_REPAINT, 0);
    ASSERT_TRUE(::GetUpdateRect(List(), &update, FALSE));
    RECT client;
    ::GetClientRect(List(), &client);
    EXPECT_TRUE(::EqualRect(&update, &client));
    EXPECT_EQ(m_dlg->GetDomains().GetRecord(0)->m_nState, STATE_UNCHECKED);
}

TEST_F(CheckerDlgLookupTest, TimerTickOfAnyIdentifierRunsASchedulerStep) {
    WriteDataFile({"nodot"});
    Open();
    m_dlg->GetScheduler().EnqueueLookup("nodot");
    ::SendMessageA(Window(), WM_TIMER, 99, 0);
    EXPECT_EQ(State(0), STATE_ERROR) << "a name without a dot fails at the next step";
    EXPECT_EQ(CellText(0, 2), "<#FF0000>Error");
    EXPECT_EQ(StatusText(), kIdle);
}

TEST_F(CheckerDlgLookupTest, ResetReturnsSelectedRowsToUnchecked) {
    WriteDataFile({"taken-r.com", "taken-s.com"});
    Open();
    for (int row = 0; row < 2; ++row) {
        CDomainData& r = *m_dlg->GetDomains().GetRecord(row);
        r.m_nState = STATE_TAKEN;
        r.m_strRegistrar = "Someone";
        r.m_dtCreated = CDateTime::FromDate(2000, 1, 1);
    }
    SelectRows({1});
    Command(IDC_RESET);
    EXPECT_EQ(State(0), STATE_TAKEN);
    EXPECT_EQ(State(1), STATE_UNCHECKED);
    EXPECT_EQ(CellText(1, 8), "");
    EXPECT_EQ(CellText(1, 3), "");
    EXPECT_EQ(CellText(0, 8), "Someone");
}

}  // namespace
