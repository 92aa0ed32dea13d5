// A scripted WHOIS server on a loopback address for tests, natively and under Wine.
//
//   CFakeWhoisServer server({"127.0.0.21"}, {FakeReply::Answer("No match for \"X.COM\".\r\n")});
//   ASSERT_TRUE(server.IsRunning());
//   WhoisQuery("domain x.com", server.Address(), answer, server.Port());
//
// Connection i (counted from 0, in order of arrival) is served by script[i]; connections beyond
// the script reuse its last entry, up to FakeServerOptions::maxConnections, after which the
// listener closes and further connects are refused. Each connection runs on its own thread, so a
// silent connection does not hold up the next one. Every wait is sliced and checks the stop flag:
// the server stops by itself after timeLimitMs, and Stop() or the destructor end it at once.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/socket_library.h"
#include "framework/tcp_socket.h"

// True when the test runs under Wine. Wine's sockets report a reset connection to recv as an
// orderly close, so a test of FakeReply::Reset must skip (or expect success) there.
bool RunningUnderWine();

struct FakeReply {
    enum class Kind {
        kAnswer,      // write `parts` one after the other (pauseMs between), then close
        kClose,       // read the query, then close without a byte
        kReset,       // read the query, then reset the connection (an error for the client,
                      // except under Wine, which reports the reset as a close: see below)
        kStream,      // write `parts[0]` again and again until streamCapBytes, time or the peer
        kSilent,      // read the query, then neither write nor close until the peer does
        kPerQuery,    // answer with what `perQuery` returns for the query line, then close
        kNoQueryRead  // write `parts` at once without waiting for the query, then close
    };

    Kind kind = Kind::kAnswer;
    std::vector<std::string> parts;
    int delayMs = 0;  // before the first write (or before closing, for kClose and kReset)
    int pauseMs = 0;  // between writes
    size_t streamCapBytes = 64u << 20;
    std::function<std::string(const std::string& query)> perQuery;

    static FakeReply Answer(std::string text);
    // The answer in several writes with a pause between them, so the client needs many reads.
    static FakeReply AnswerInParts(std::vector<std::string> parts, int pauseMs);
    static FakeReply Close();
    static FakeReply Reset();
    // `chunk` repeated up to `capBytes` (the server's own bound), `pauseMs` between writes.
    static FakeReply Stream(std::string chunk, size_t capBytes = 64u << 20, int pauseMs = 0);
    static FakeReply Silent();
    static FakeReply PerQuery(std::function<std::string(const std::string& query)> answer);
    FakeReply&& After(int ms) && {
        delayMs = ms;
        return std::move(*this);
    }
};

struct FakeServerOptions {
    std::string address = "127.0.0.1";  // pick a distinct 127.0.0.N per test file
    int port = 0;                       // 0: an ephemeral port, see Port(); 43 needs root
    int maxConnections = -1;            // -1: as many as the script has entries
    int timeLimitMs = 10000;            // the whole server stops this long after its start
    int queryWaitMs = 3000;             // how long a connection waits for its query line
};

struct FakeConnection {
    std::string query;       // the query line without its CR LF (whatever came, if no LF came)
    std::string rawQuery;    // every byte read before answering, line end included
    bool lineEnded = false;  // the query ended in LF
    std::chrono::steady_clock::time_point arrived;
    size_t bytesSent = 0;
};

class CFakeWhoisServer {
public:
    CFakeWhoisServer(FakeServerOptions options, std::vector<FakeReply> script);
    ~CFakeWhoisServer();
    CFakeWhoisServer(const CFakeWhoisServer&) = delete;
    CFakeWhoisServer& operator=(const CFakeWhoisServer&) = delete;

    // False when the address or port could not be bound (then nothing runs).
    bool IsRunning() const { return m_bListening; }
    const std::string& Address() const { return m_options.address; }
    int Port() const { return m_nPort; }

    // Ends listening and every connection, and waits for the threads. Safe to call twice.
    void Stop();

    // Snapshot of the connections so far, in order of arrival.
    std::vector<FakeConnection> Connections() const;
    int ConnectionCount() const;
    // Waits until at least `count` connections have been accepted (true) or the time passed.
    bool WaitForConnections(int count, int timeoutMs) const;
    // Waits until `count` connections have been served completely (true) or the time passed.
    bool WaitForFinished(int count, int timeoutMs) const;

private:
    void AcceptLoop();
    void Serve(CTcpSocket socket, size_t index, const FakeReply& reply);
    bool ReadQuery(CTcpSocket& socket, size_t index);
    bool Write(CTcpSocket& socket, size_t index, const std::string& bytes);
    bool Pause(int ms) const;
    void FinishGracefully(CTcpSocket& socket) const;
    bool Stopping() const;
    int SliceMs() const;

    FakeServerOptions m_options;
    std::vector<FakeReply> m_script;
    CSocketLibrary m_sockets;
    CTcpSocket m_listener;
    int m_nPort = -1;
    bool m_bListening = false;
    std::chrono::steady_clock::time_point m_deadline;
    std::atomic<bool> m_bStop{false};

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_cv;
    std::vector<FakeConnection> m_connections;
    int m_nFinished = 0;
    std::vector<std::thread> m_workers;
    std::thread m_acceptThread;
};
