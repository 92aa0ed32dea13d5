#include <cstring>

#include "framework/tcp_socket.h"
#include "framework/tcp_socket_os.h"

namespace {

// Network byte order is the order of the bytes in memory, whatever the host's order.
Ipv4Address FromBytes(const unsigned char (&bytes)[4]) {
    Ipv4Address a = 0;
    std::memcpy(&a, bytes, sizeof a);
    return a;
}

}  // namespace

bool ParseDottedIpv4(const std::string& text, Ipv4Address& address) {
    // Strictly four decimal parts: the classic parser's octal, hexadecimal and short forms and
    // its acceptance of trailing text ("127.0.0.1 x") would read a damaged setting as some
    // other host.
    unsigned char bytes[4] = {};
    size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != '.')
                return false;
            ++pos;
        }
        unsigned value = 0;
        size_t digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 4) {
            value = value * 10 + static_cast<unsigned>(text[pos] - '0');
            ++pos;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255)
            return false;
        bytes[part] = static_cast<unsigned char>(value);
    }
    if (pos != text.size())
        return false;
    address = FromBytes(bytes);
    return true;
}

bool IsPlausibleHostText(const std::string& host) {
    if (host.empty())
        return false;
    for (char c : host) {
        // No host name holds a blank or a control byte; a zero byte would cut the text short.
        if (static_cast<unsigned char>(c) <= ' ' || c == '\x7f')
            return false;
    }
    return true;
}

Ipv4Address LoopbackIpv4(int n) {
    const unsigned v = static_cast<unsigned>(n);
    const unsigned char bytes[4] = {127, static_cast<unsigned char>(v >> 16),
                                    static_cast<unsigned char>(v >> 8),
                                    static_cast<unsigned char>(v)};
    return FromBytes(bytes);
}

// The socket itself: the checks, loops and waits that are the same on every system, over the
// thin calls declared in tcp_socket_os.h.

using namespace tcp_socket_detail;

CWaitDeadline::CWaitDeadline(int timeoutMs)
    : m_dtDeadline(std::chrono::steady_clock::now() +
                   std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs)),
      m_bUnlimited(timeoutMs < 0) {}

int CWaitDeadline::MillisecondsLeft() const {
    if (m_bUnlimited)
        return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        m_dtDeadline - std::chrono::steady_clock::now());
    // Never more than the int time-out it started from, so the narrowing is safe.
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

bool ResolveIpv4(const std::string& host, Ipv4Address& address) {
    if (host.empty() || host.find('\0') != std::string::npos)
        return false;
    return LookUpIpv4(host, address) || ParseDottedIpv4(host, address);
}

CTcpSocket& CTcpSocket::operator=(CTcpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        m_hSocket = other.m_hSocket;
        other.m_hSocket = kInvalid;
    }
    return *this;
}

CTcpSocket CTcpSocket::Create() {
    CTcpSocket s(OpenStream());
    // Every wait here assumes a non-blocking socket; one that cannot be made so is no use.
    if (s.IsValid() && !MakeNonBlocking(s.m_hSocket))
        s.Close();
    return s;
}

void CTcpSocket::Close() {
    if (m_hSocket == kInvalid)
        return;
    CloseSocket(m_hSocket);
    m_hSocket = kInvalid;
}

bool CTcpSocket::Connect(Ipv4Address address, int port, int timeoutMs) {
    if (!IsValid() || port < 1 || port > 65535)
        return false;
    switch (StartConnect(m_hSocket, address, port)) {
        case ConnectStart::Connected:
            return true;
        case ConnectStart::Failed:
            return false;
        case ConnectStart::Pending:
            break;
    }
    return WaitFor(m_hSocket, WaitKind::Connect, timeoutMs) && HasNoPendingError(m_hSocket);
}

bool CTcpSocket::SendAll(const char* data, size_t size, int timeoutMs) {
    if (!IsValid())
        return false;
    size_t sent = 0;
    while (sent < size) {
        const long n = SendSome(m_hSocket, data + sent, size - sent);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && !LastCallWouldBlock())
            return false;
        if (!WaitFor(m_hSocket, WaitKind::Write, timeoutMs))
            return false;
    }
    return true;
}

long CTcpSocket::Receive(char* buffer, size_t size, int timeoutMs) {
    if (!IsValid())
        return kReceiveFailed;
    // Unlike a send, the time-out covers the whole call: waits woken without data do not
    // start it again.
    const CWaitDeadline deadline(timeoutMs);
    for (;;) {
        const long n = ReceiveSome(m_hSocket, buffer, size);
        if (n >= 0)
            return n;
        if (!LastCallWouldBlock())
            return kReceiveFailed;
        const int wait = deadline.MillisecondsLeft();
        if (wait == 0)
            return kReceiveTimedOut;
        if (!WaitFor(m_hSocket, WaitKind::Read, wait))
            return kReceiveTimedOut;
    }
}

void CTcpSocket::ShutdownReceive() {
    if (IsValid())
        Shutdown(m_hSocket, true);
}

void CTcpSocket::ShutdownSend() {
    if (IsValid())
        Shutdown(m_hSocket, false);
}

bool CTcpSocket::Bind(Ipv4Address address, int port) {
    return IsValid() && port >= 0 && port <= 65535 && BindReusable(m_hSocket, address, port);
}

bool CTcpSocket::Listen(int backlog) {
    return IsValid() && StartListening(m_hSocket, backlog);
}

int CTcpSocket::LocalPort() const {
    return IsValid() ? BoundPort(m_hSocket) : -1;
}

CTcpSocket CTcpSocket::Accept(int timeoutMs) {
    if (!IsValid() || !WaitFor(m_hSocket, WaitKind::Read, timeoutMs))
        return CTcpSocket();
    CTcpSocket s(AcceptOn(m_hSocket));
    if (s.IsValid() && !MakeNonBlocking(s.m_hSocket))
        s.Close();
    return s;
}

bool CTcpSocket::SetAbortiveClose() {
    return IsValid() && SetZeroLinger(m_hSocket);
}
