#include "tests/support/fake_whois_server.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

// Every wait of the server is cut into slices this long, so a stop is noticed quickly.
constexpr int kSliceMs = 20;
// A query line longer than this is not waited for any further.
constexpr size_t kMaxQueryBytes = 64 * 1024;
constexpr int kMaxConnectionsCap = 1000;
// How long a finished connection waits for the client to close its end.
constexpr int kLingerMs = 2000;

}  // namespace

bool RunningUnderWine() {
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

FakeReply FakeReply::Answer(std::string text) {
    FakeReply r;
    r.kind = Kind::kAnswer;
    r.parts.push_back(std::move(text));
    return r;
}

FakeReply FakeReply::AnswerInParts(std::vector<std::string> parts, int pauseMs) {
    FakeReply r;
    r.kind = Kind::kAnswer;
    r.parts = std::move(parts);
    r.pauseMs = pauseMs;
    return r;
}

FakeReply FakeReply::Close() {
    FakeReply r;
    r.kind = Kind::kClose;
    return r;
}

FakeReply FakeReply::Reset() {
    FakeReply r;
    r.kind = Kind::kReset;
    return r;
}

FakeReply FakeReply::Stream(std::string chunk, size_t capBytes, int pauseMs) {
    FakeReply r;
    r.kind = Kind::kStream;
    r.parts.push_back(chunk.empty() ? std::string("x") : std::move(chunk));
    r.streamCapBytes = capBytes;
    r.pauseMs = pauseMs;
    return r;
}

FakeReply FakeReply::Silent() {
    FakeReply r;
    r.kind = Kind::kSilent;
    return r;
}

FakeReply FakeReply::PerQuery(std::function<std::string(const std::string& query)> answer) {
    FakeReply r;
    r.kind = Kind::kPerQuery;
    r.perQuery = std::move(answer);
    return r;
}

CFakeWhoisServer::CFakeWhoisServer(FakeServerOptions options, std::vector<FakeReply> script)
    : m_options(std::move(options)), m_script(std::move(script)) {
    if (m_script.empty())
        m_script.push_back(FakeReply::Close());
    if (m_options.maxConnections < 0)
        m_options.maxConnections = static_cast<int>(m_script.size());
    m_options.maxConnections = std::min(m_options.maxConnections, kMaxConnectionsCap);
    m_deadline = Clock::now() + std::chrono::milliseconds(std::max(0, m_options.timeLimitMs));
    if (!m_sockets.IsStarted())
        return;

    Ipv4Address address = 0;
    if (!ParseDottedIpv4(m_options.address, address))
        return;
    m_listener = CTcpSocket::Create();
    if (!m_listener.Bind(address, m_options.port) || !m_listener.Listen(64)) {
        m_listener.Close();
        return;
    }
    m_nPort = m_listener.LocalPort();
    m_bListening = true;
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

CFakeWhoisServer::~CFakeWhoisServer() {
    Stop();
}

void CFakeWhoisServer::Stop() {
    m_bStop = true;
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    // The accept loop has ended, so the worker list no longer grows.
    for (std::thread& t : m_workers) {
        if (t.joinable())
            t.join();
    }
    m_listener.Close();
}

bool CFakeWhoisServer::Stopping() const {
    return m_bStop || Clock::now() >= m_deadline;
}

int CFakeWhoisServer::SliceMs() const {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, kSliceMs));
}

bool CFakeWhoisServer::Pause(int ms) const {
    const auto until = Clock::now() + std::chrono::milliseconds(std::max(0, ms));
    while (Clock::now() < until) {
        if (Stopping())
            return false;
        const auto step =
            std::min<Clock::duration>(until - Clock::now(), std::chrono::milliseconds(kSliceMs));
        std::this_thread::sleep_for(step);
    }
    return !Stopping();
}

void CFakeWhoisServer::FinishGracefully(CTcpSocket& socket) const {
    socket.ShutdownSend();
    // Wait for the client's own close before closing: closing with its bytes still unread would
    // reset the connection and could destroy the answer in flight.
    const auto until = Clock::now() + std::chrono::milliseconds(kLingerMs);
    char buffer[512];
    while (Clock::now() < until && !Stopping()) {
        const long n = socket.Receive(buffer, sizeof buffer, SliceMs());
        if (n == kReceiveClosed || n == kReceiveFailed)
            return;
    }
}

void CFakeWhoisServer::AcceptLoop() {
    int accepted = 0;
    while (accepted < m_options.maxConnections && !Stopping()) {
        CTcpSocket peer = m_listener.Accept(SliceMs());
        if (!peer.IsValid())
            continue;
        const size_t index = static_cast<size_t>(accepted++);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            FakeConnection c;
            c.arrived = Clock::now();
            m_connections.push_back(c);
        }
        m_cv.notify_all();
        const FakeReply& reply = m_script[std::min(index, m_script.size() - 1)];
        m_workers.emplace_back([this, index, &reply, s = std::move(peer)]() mutable {
            Serve(std::move(s), index, reply);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                ++m_nFinished;
            }
            m_cv.notify_all();
        });
    }
    // Served enough (or out of time): further connects are refused.
    m_listener.Close();
}

bool CFakeWhoisServer::ReadQuery(CTcpSocket& socket, size_t index) {
    const auto until = Clock::now() + std::chrono::milliseconds(m_options.queryWaitMs);
    std::string raw;
    char buffer[4096];
    bool ended = false;
    bool open = true;
    while (!ended && raw.size() < kMaxQueryBytes && Clock::now() < until && !Stopping()) {
        const long n = socket.Receive(buffer, sizeof buffer, SliceMs());
        if (n == kReceiveTimedOut)
            continue;
        if (n <= 0) {
            open = false;
            break;
        }
        raw.append(buffer, static_cast<size_t>(n));
        ended = raw.find('\n') != std::string::npos;
    }
    std::string line = raw.substr(0, raw.find('\n'));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        FakeConnection& c = m_connections[index];
        c.rawQuery = raw;
        c.query = line;
        c.lineEnded = ended;
    }
    return open;
}

bool CFakeWhoisServer::Write(CTcpSocket& socket, size_t index, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        if (Stopping())
            return false;
        // Small pieces keep each wait short, so a client that stops reading cannot pin the thread.
        const size_t piece = std::min<size_t>(bytes.size() - done, 16 * 1024);
        if (!socket.SendAll(bytes.data() + done, piece, SliceMs() + 200))
            return false;
        done += piece;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_connections[index].bytesSent += piece;
    }
    return true;
}

void CFakeWhoisServer::Serve(CTcpSocket socket, size_t index, const FakeReply& reply) {
    using Kind = FakeReply::Kind;
    if (reply.kind == Kind::kNoQueryRead) {
        for (const std::string& part : reply.parts) {
            if (!Write(socket, index, part))
                return;
        }
        FinishGracefully(socket);
        return;
    }
    if (!ReadQuery(socket, index))
        return;
    if (!Pause(reply.delayMs))
        return;

    switch (reply.kind) {
        case Kind::kAnswer:
            for (size_t i = 0; i < reply.parts.size(); ++i) {
                if (i > 0 && !Pause(reply.pauseMs))
                    return;
                if (!Write(socket, index, reply.parts[i]))
                    return;
            }
            break;
        case Kind::kPerQuery: {
            std::string query;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                query = m_connections[index].query;
            }
            if (!Write(socket, index, reply.perQuery ? reply.perQuery(query) : std::string())) {
                return;
            }
            break;
        }
        case Kind::kStream: {
            size_t sent = 0;
            const std::string& chunk = reply.parts.front();
            while (sent < reply.streamCapBytes) {
                const std::string piece =
                    chunk.substr(0, std::min(chunk.size(), reply.streamCapBytes - sent));
                if (!Write(socket, index, piece))
                    return;  // the client went away
                sent += piece.size();
                if (reply.pauseMs > 0 && !Pause(reply.pauseMs))
                    return;
            }
            break;
        }
        case Kind::kSilent: {
            char buffer[512];
            // Hold the connection until the client gives up or the server's time is over.
            while (!Stopping()) {
                const long n = socket.Receive(buffer, sizeof buffer, SliceMs());
                if (n == kReceiveClosed || n == kReceiveFailed)
                    return;
            }
            return;
        }
        case Kind::kReset:
            socket.SetAbortiveClose();
            return;
        case Kind::kClose:
        case Kind::kNoQueryRead:
            break;
    }
    FinishGracefully(socket);
}

std::vector<FakeConnection> CFakeWhoisServer::Connections() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_connections;
}

int CFakeWhoisServer::ConnectionCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_connections.size());
}

bool CFakeWhoisServer::WaitForConnections(int count, int timeoutMs) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cv.wait_for(lock, std::chrono::milliseconds(std::max(0, timeoutMs)),
                         [&] { return static_cast<int>(m_connections.size()) >= count; });
}

bool CFakeWhoisServer::WaitForFinished(int count, int timeoutMs) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cv.wait_for(lock, std::chrono::milliseconds(std::max(0, timeoutMs)),
                         [&] { return m_nFinished >= count; });
}
