#include "whois/whois_client.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "framework/tcp_socket.h"

namespace {

using Clock = std::chrono::steady_clock;

// One read at a time lands in a zeroed chunk with room for a terminating zero, and is appended
// as text: a zero byte inside a read ends that read's contribution.
constexpr size_t kChunkBytes = 2096;

// Milliseconds for the next wait: the idle limit, cut to what is left of the whole exchange.
// -1 waits without limit; 0 or less left means the exchange is out of time.
class CExchangeClock {
public:
    explicit CExchangeClock(const WhoisLimits& limits)
        : m_nIdleMs(limits.idleTimeoutMs),
          m_bTotal(limits.totalTimeoutMs >= 0),
          m_deadline(Clock::now() + std::chrono::milliseconds(std::max(0, limits.totalTimeoutMs))) {
    }

    bool Expired() const { return m_bTotal && Clock::now() >= m_deadline; }

    int NextWaitMs() const {
        if (!m_bTotal)
            return m_nIdleMs;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now())
                .count();
        const int leftMs = left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
        return m_nIdleMs < 0 ? leftMs : std::min(m_nIdleMs, leftMs);
    }

private:
    int m_nIdleMs;
    bool m_bTotal;
    Clock::time_point m_deadline;
};

}  // namespace

bool WhoisQuery(const std::string& query, const std::string& server, std::string& answer, int port,
                const WhoisLimits& limits) {
    if (server.empty())
        return false;
    answer.clear();

    CTcpSocket socket = CTcpSocket::Create();
    if (!socket.IsValid())
        return false;
    Ipv4Address address = 0;
    if (!ResolveIpv4(server, address))
        return false;

    const CExchangeClock clock(limits);
    if (!socket.Connect(address, port, clock.NextWaitMs()))
        return false;

    // The line is built to its full length, so a long query goes out whole, never truncated.
    std::string line;
    line.reserve(query.size() + 2);
    line += query;
    line += "\r\n";
    if (!socket.SendAll(line.data(), line.size(), clock.NextWaitMs()))
        return false;

    char chunk[kChunkBytes + 1];
    size_t received = 0;
    for (;;) {
        if (clock.Expired())
            return false;
        std::memset(chunk, 0, sizeof chunk);
        const long n = socket.Receive(chunk, kChunkBytes, clock.NextWaitMs());
        if (n == kReceiveClosed)
            break;
        if (n < 0) {
            socket.ShutdownReceive();
            return false;
        }
        received += static_cast<size_t>(n);
        if (received > limits.maxAnswerBytes)
            return false;
        answer.append(chunk, ::strnlen(chunk, static_cast<size_t>(n)));
    }
    socket.ShutdownReceive();
    return true;
}
