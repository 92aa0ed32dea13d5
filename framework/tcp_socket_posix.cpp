#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "framework/tcp_socket.h"
#include "framework/tcp_socket_os.h"

#ifndef MSG_NOSIGNAL
#define MSG_NOSIGNAL 0
#endif

namespace {

int Fd(CTcpSocket::Handle h) {
    return static_cast<int>(static_cast<std::intptr_t>(h));
}

CTcpSocket::Handle FromFd(int fd) {
    return fd < 0 ? CTcpSocket::kInvalid : static_cast<CTcpSocket::Handle>(fd);
}

sockaddr_in MakeAddress(Ipv4Address address, int port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<unsigned short>(port));
    sa.sin_addr.s_addr = address;
    return sa;
}

}  // namespace

bool CTcpSocket::MakeNonBlocking(Handle h) {
    const int flags = ::fcntl(Fd(h), F_GETFL, 0);
    return flags >= 0 && ::fcntl(Fd(h), F_SETFL, flags | O_NONBLOCK) == 0;
}

namespace tcp_socket_detail {

// A connect counts as ready once writable; whether it failed is read from the pending error.
// Interrupted waits resume with what is left of the time.
bool WaitFor(Handle h, WaitKind kind, int timeoutMs) {
    const CWaitDeadline deadline(timeoutMs);
    for (;;) {
        pollfd p{};
        p.fd = Fd(h);
        p.events = kind == WaitKind::Read ? POLLIN : POLLOUT;
        const int r = ::poll(&p, 1, deadline.MillisecondsLeft());
        if (r > 0)
            return true;
        if (r == 0 || errno != EINTR)
            return false;
    }
}

bool LookUpIpv4(const std::string& host, Ipv4Address& address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    bool ok = false;
    if (found->ai_family == AF_INET && found->ai_addrlen >= sizeof(sockaddr_in)) {
        address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
        ok = true;
    }
    ::freeaddrinfo(found);
    return ok;
}

Handle OpenStream() {
    return FromFd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP));
}

Handle AcceptOn(Handle listener) {
    const int fd = ::accept(Fd(listener), nullptr, nullptr);
    if (fd >= 0)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    return FromFd(fd);
}

void CloseSocket(Handle h) {
    ::close(Fd(h));
}

ConnectStart StartConnect(Handle h, Ipv4Address address, int port) {
    const sockaddr_in sa = MakeAddress(address, port);
    if (::connect(Fd(h), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0)
        return ConnectStart::Connected;
    return errno == EINPROGRESS || errno == EINTR ? ConnectStart::Pending : ConnectStart::Failed;
}

bool HasNoPendingError(Handle h) {
    int err = 0;
    socklen_t len = sizeof err;
    return ::getsockopt(Fd(h), SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
}

long SendSome(Handle h, const char* data, size_t size) {
    return static_cast<long>(::send(Fd(h), data, size, MSG_NOSIGNAL));
}

long ReceiveSome(Handle h, char* buffer, size_t size) {
    return static_cast<long>(::recv(Fd(h), buffer, size, 0));
}

bool LastCallWouldBlock() {
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

void Shutdown(Handle h, bool receive) {
    ::shutdown(Fd(h), receive ? SHUT_RD : SHUT_WR);
}

bool BindReusable(Handle h, Ipv4Address address, int port) {
    const int on = 1;
    ::setsockopt(Fd(h), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in sa = MakeAddress(address, port);
    return ::bind(Fd(h), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0;
}

bool StartListening(Handle h, int backlog) {
    return ::listen(Fd(h), backlog) == 0;
}

int BoundPort(Handle h) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (::getsockname(Fd(h), reinterpret_cast<sockaddr*>(&sa), &len) != 0)
        return -1;
    return ntohs(sa.sin_port);
}

bool SetZeroLinger(Handle h) {
    linger l{};
    l.l_onoff = 1;
    l.l_linger = 0;
    return ::setsockopt(Fd(h), SOL_SOCKET, SO_LINGER, &l, sizeof l) == 0;
}

}  // namespace tcp_socket_detail
