#include <winsock2.h>

#include <chrono>
#include <climits>
#include <cstring>

#include "framework/tcp_socket.h"

namespace {

using Clock = std::chrono::steady_clock;

SOCKET Sock(CTcpSocket::Handle h) {
    return static_cast<SOCKET>(h);
}

enum class WaitKind { Read, Write, Connect };

// Waits with select, which takes any socket value on Windows (fd_set is a counted list). A
// failed non-blocking connect shows up in the exception set, so Connect waits on both.
bool WaitFor(SOCKET s, WaitKind kind, int timeoutMs) {
    fd_set main_set, except_set;
    FD_ZERO(&main_set);
    FD_ZERO(&except_set);
    FD_SET(s, &main_set);
    FD_SET(s, &except_set);
    timeval tv{};
    timeval* ptv = nullptr;
    if (timeoutMs >= 0) {
        tv.tv_sec = timeoutMs / 1000;
        tv.tv_usec = (timeoutMs % 1000) * 1000;
        ptv = &tv;
    }
    fd_set* read_set = kind == WaitKind::Read ? &main_set : nullptr;
    fd_set* write_set = kind == WaitKind::Read ? nullptr : &main_set;
    fd_set* exc = kind == WaitKind::Connect ? &except_set : nullptr;
    const int r = ::select(0, read_set, write_set, exc, ptv);
    if (r <= 0)
        return false;
    if (kind == WaitKind::Connect)
        return FD_ISSET(s, &main_set) && !FD_ISSET(s, &except_set);
    return true;
}

bool WouldBlock(int err) {
    return err == WSAEWOULDBLOCK || err == WSAEINTR || err == WSAEINPROGRESS;
}

sockaddr_in MakeAddress(Ipv4Address address, int port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<u_short>(port));
    sa.sin_addr.s_addr = address;
    return sa;
}

int ClampToInt(size_t n) {
    return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

}  // namespace

bool ResolveIpv4(const std::string& host, Ipv4Address& address) {
    if (host.empty() || host.find('\0') != std::string::npos)
        return false;
    // gethostbyname keeps its result per thread in Windows Sockets, so workers do not clash.
    const hostent* entry = ::gethostbyname(host.c_str());
    if (entry && entry->h_addrtype == AF_INET && entry->h_length == 4 && entry->h_addr_list &&
        entry->h_addr_list[0]) {
        Ipv4Address a = 0;
        memcpy(&a, entry->h_addr_list[0], sizeof a);
        address = a;
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
    u_long on = 1;
    return ::ioctlsocket(Sock(h), FIONBIO, &on) == 0;
}

CTcpSocket CTcpSocket::Create() {
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return CTcpSocket();
    CTcpSocket sock(static_cast<Handle>(s));
    if (!MakeNonBlocking(sock.m_hSocket))
        return CTcpSocket();
    return sock;
}

void CTcpSocket::Close() {
    if (m_hSocket == kInvalid)
        return;
    ::closesocket(Sock(m_hSocket));
    m_hSocket = kInvalid;
}

bool CTcpSocket::Connect(Ipv4Address address, int port, int timeoutMs) {
    if (!IsValid() || port < 1 || port > 65535)
        return false;
    const sockaddr_in sa = MakeAddress(address, port);
    if (::connect(Sock(m_hSocket), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0) {
        return true;
    }
    if (!WouldBlock(::WSAGetLastError()))
        return false;
    if (!WaitFor(Sock(m_hSocket), WaitKind::Connect, timeoutMs))
        return false;
    int err = 0;
    int len = sizeof err;
    if (::getsockopt(Sock(m_hSocket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&err), &len) !=
        0) {
        return false;
    }
    return err == 0;
}

bool CTcpSocket::SendAll(const char* data, size_t size, int timeoutMs) {
    if (!IsValid())
        return false;
    size_t sent = 0;
    while (sent < size) {
        const int n = ::send(Sock(m_hSocket), data + sent, ClampToInt(size - sent), 0);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n == SOCKET_ERROR && !WouldBlock(::WSAGetLastError()))
            return false;
        if (!WaitFor(Sock(m_hSocket), WaitKind::Write, timeoutMs))
            return false;
    }
    return true;
}

long CTcpSocket::Receive(char* buffer, size_t size, int timeoutMs) {
    if (!IsValid())
        return kReceiveFailed;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        const int n = ::recv(Sock(m_hSocket), buffer, ClampToInt(size), 0);
        if (n >= 0)
            return n;
        if (!WouldBlock(::WSAGetLastError()))
            return kReceiveFailed;
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return kReceiveTimedOut;
            wait = static_cast<int>(left.count());
        }
        if (!WaitFor(Sock(m_hSocket), WaitKind::Read, wait))
            return kReceiveTimedOut;
    }
}

void CTcpSocket::ShutdownReceive() {
    if (IsValid())
        ::shutdown(Sock(m_hSocket), SD_RECEIVE);
}

void CTcpSocket::ShutdownSend() {
    if (IsValid())
        ::shutdown(Sock(m_hSocket), SD_SEND);
}

bool CTcpSocket::Bind(Ipv4Address address, int port) {
    if (!IsValid() || port < 0 || port > 65535)
        return false;
    const BOOL on = TRUE;
    ::setsockopt(Sock(m_hSocket), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on),
                 sizeof on);
    const sockaddr_in sa = MakeAddress(address, port);
    return ::bind(Sock(m_hSocket), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0;
}

bool CTcpSocket::Listen(int backlog) {
    return IsValid() && ::listen(Sock(m_hSocket), backlog) == 0;
}

int CTcpSocket::LocalPort() const {
    if (!IsValid())
        return -1;
    sockaddr_in sa{};
    int len = sizeof sa;
    if (::getsockname(Sock(m_hSocket), reinterpret_cast<sockaddr*>(&sa), &len) != 0)
        return -1;
    return ntohs(sa.sin_port);
}

CTcpSocket CTcpSocket::Accept(int timeoutMs) {
    if (!IsValid())
        return CTcpSocket();
    if (!WaitFor(Sock(m_hSocket), WaitKind::Read, timeoutMs))
        return CTcpSocket();
    const SOCKET s = ::accept(Sock(m_hSocket), nullptr, nullptr);
    if (s == INVALID_SOCKET)
        return CTcpSocket();
    CTcpSocket sock(static_cast<Handle>(s));
    if (!MakeNonBlocking(sock.m_hSocket))
        return CTcpSocket();
    return sock;
}

bool CTcpSocket::SetAbortiveClose() {
    if (!IsValid())
        return false;
    linger l{};
    l.l_onoff = 1;
    l.l_linger = 0;
    return ::setsockopt(Sock(m_hSocket), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l),
                        sizeof l) == 0;
}
