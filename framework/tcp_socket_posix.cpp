#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>

#include "framework/tcp_socket.h"

#ifndef MSG_NOSIGNAL
#define MSG_NOSIGNAL 0
#endif

namespace {

using Clock = std::chrono::steady_clock;

int Fd(CTcpSocket::Handle h) {
    return static_cast<int>(static_cast<std::intptr_t>(h));
}

// Waits for the events; true when one of them (or an error or hang-up) came within the time.
// Interrupted waits resume with what is left of the time.
bool WaitFor(int fd, short events, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            wait = left.count() < 0 ? 0 : static_cast<int>(left.count());
        }
        pollfd p{};
        p.fd = fd;
        p.events = events;
        const int r = ::poll(&p, 1, wait);
        if (r > 0)
            return true;
        if (r == 0)
            return false;
        if (errno != EINTR)
            return false;
    }
}

bool WouldBlock(int err) {
    return err == EAGAIN || err == EWOULDBLOCK || err == EINTR;
}

sockaddr_in MakeAddress(Ipv4Address address, int port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<unsigned short>(port));
    sa.sin_addr.s_addr = address;
    return sa;
}

}  // namespace

bool ResolveIpv4(const std::string& host, Ipv4Address& address) {
    if (host.empty() || host.find('\0') != std::string::npos)
        return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) == 0 && found) {
        bool ok = false;
        if (found->ai_family == AF_INET && found->ai_addrlen >= sizeof(sockaddr_in)) {
            address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
            ok = true;
        }
        ::freeaddrinfo(found);
        if (ok)
            return true;
    }
    return ParseDottedIpv4(host, address);
}

CTcpSocket& CTcpSocket::operator=(CTcpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        m_hSocket = other.m_hSocket;
        other.m_hSocket = kInvalid;
    }
    return *this;
}

bool CTcpSocket::MakeNonBlocking(Handle h) {
    const int flags = ::fcntl(Fd(h), F_GETFL, 0);
    return flags >= 0 && ::fcntl(Fd(h), F_SETFL, flags | O_NONBLOCK) == 0;
}

CTcpSocket CTcpSocket::Create() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd < 0)
        return CTcpSocket();
    CTcpSocket s(static_cast<Handle>(fd));
    if (!MakeNonBlocking(s.m_hSocket))
        return CTcpSocket();
    return s;
}

void CTcpSocket::Close() {
    if (m_hSocket == kInvalid)
        return;
    ::close(Fd(m_hSocket));
    m_hSocket = kInvalid;
}

bool CTcpSocket::Connect(Ipv4Address address, int port, int timeoutMs) {
    if (!IsValid() || port < 1 || port > 65535)
        return false;
    const sockaddr_in sa = MakeAddress(address, port);
    if (::connect(Fd(m_hSocket), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0) {
        return true;
    }
    if (errno != EINPROGRESS && errno != EINTR)
        return false;
    if (!WaitFor(Fd(m_hSocket), POLLOUT, timeoutMs))
        return false;
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(Fd(m_hSocket), SOL_SOCKET, SO_ERROR, &err, &len) != 0)
        return false;
    return err == 0;
}

bool CTcpSocket::SendAll(const char* data, size_t size, int timeoutMs) {
    if (!IsValid())
        return false;
    size_t sent = 0;
    while (sent < size) {
        const ssize_t n = ::send(Fd(m_hSocket), data + sent, size - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && !WouldBlock(errno))
            return false;
        if (!WaitFor(Fd(m_hSocket), POLLOUT, timeoutMs))
            return false;
    }
    return true;
}

long CTcpSocket::Receive(char* buffer, size_t size, int timeoutMs) {
    if (!IsValid())
        return kReceiveFailed;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        const ssize_t n = ::recv(Fd(m_hSocket), buffer, size, 0);
        if (n >= 0)
            return static_cast<long>(n);
        if (!WouldBlock(errno))
            return kReceiveFailed;
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return kReceiveTimedOut;
            wait = static_cast<int>(left.count());
        }
        if (!WaitFor(Fd(m_hSocket), POLLIN, wait))
            return kReceiveTimedOut;
    }
}

void CTcpSocket::ShutdownReceive() {
    if (IsValid())
        ::shutdown(Fd(m_hSocket), SHUT_RD);
}

void CTcpSocket::ShutdownSend() {
    if (IsValid())
        ::shutdown(Fd(m_hSocket), SHUT_WR);
}

bool CTcpSocket::Bind(Ipv4Address address, int port) {
    if (!IsValid() || port < 0 || port > 65535)
        return false;
    const int on = 1;
    ::setsockopt(Fd(m_hSocket), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in sa = MakeAddress(address, port);
    return ::bind(Fd(m_hSocket), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0;
}

bool CTcpSocket::Listen(int backlog) {
    return IsValid() && ::listen(Fd(m_hSocket), backlog) == 0;
}

int CTcpSocket::LocalPort() const {
    if (!IsValid())
        return -1;
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (::getsockname(Fd(m_hSocket), reinterpret_cast<sockaddr*>(&sa), &len) != 0)
        return -1;
    return ntohs(sa.sin_port);
}

CTcpSocket CTcpSocket::Accept(int timeoutMs) {
    if (!IsValid())
        return CTcpSocket();
    if (!WaitFor(Fd(m_hSocket), POLLIN, timeoutMs))
        return CTcpSocket();
    const int fd = ::accept(Fd(m_hSocket), nullptr, nullptr);
    if (fd < 0)
        return CTcpSocket();
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    CTcpSocket s(static_cast<Handle>(fd));
    if (!MakeNonBlocking(s.m_hSocket))
        return CTcpSocket();
    return s;
}

bool CTcpSocket::SetAbortiveClose() {
    if (!IsValid())
        return false;
    linger l{};
    l.l_onoff = 1;
    l.l_linger = 0;
    return ::setsockopt(Fd(m_hSocket), SOL_SOCKET, SO_LINGER, &l, sizeof l) == 0;
}
