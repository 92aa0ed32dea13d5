#include <winsock2.h>

#include <climits>
#include <cstring>

#include "framework/tcp_socket.h"
#include "framework/tcp_socket_os.h"

namespace {

SOCKET Sock(CTcpSocket::Handle h) {
    return static_cast<SOCKET>(h);
}

CTcpSocket::Handle FromSocket(SOCKET s) {
    return s == INVALID_SOCKET ? CTcpSocket::kInvalid : static_cast<CTcpSocket::Handle>(s);
}

sockaddr_in MakeAddress(Ipv4Address address, int port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<u_short>(port));
    sa.sin_addr.s_addr = address;
    return sa;
}

// Windows Sockets counts bytes in int.
int ClampToInt(size_t n) {
    return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

bool WouldBlock(int err) {
    return err == WSAEWOULDBLOCK || err == WSAEINTR || err == WSAEINPROGRESS;
}

}  // namespace

bool CTcpSocket::MakeNonBlocking(Handle h) {
    u_long on = 1;
    return ::ioctlsocket(Sock(h), FIONBIO, &on) == 0;
}

namespace tcp_socket_detail {

// Waits with select, which takes any socket value on Windows (fd_set is a counted list). A
// failed non-blocking connect shows up in the exception set, so Connect waits on both.
bool WaitFor(Handle h, WaitKind kind, int timeoutMs) {
    const SOCKET s = Sock(h);
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

bool LookUpIpv4(const std::string& host, Ipv4Address& address) {
    // gethostbyname keeps its result per thread in Windows Sockets, so workers do not clash.
    const hostent* entry = ::gethostbyname(host.c_str());
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list ||
        !entry->h_addr_list[0]) {
        return false;
    }
    Ipv4Address a = 0;
    memcpy(&a, entry->h_addr_list[0], sizeof a);
    address = a;
    return true;
}

Handle OpenStream() {
    return FromSocket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
}

Handle AcceptOn(Handle listener) {
    return FromSocket(::accept(Sock(listener), nullptr, nullptr));
}

void CloseSocket(Handle h) {
    ::closesocket(Sock(h));
}

ConnectStart StartConnect(Handle h, Ipv4Address address, int port) {
    const sockaddr_in sa = MakeAddress(address, port);
    if (::connect(Sock(h), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0)
        return ConnectStart::Connected;
    return WouldBlock(::WSAGetLastError()) ? ConnectStart::Pending : ConnectStart::Failed;
}

bool HasNoPendingError(Handle h) {
    int err = 0;
    int len = sizeof err;
    return ::getsockopt(Sock(h), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&err), &len) == 0 &&
           err == 0;
}

long SendSome(Handle h, const char* data, size_t size) {
    const int n = ::send(Sock(h), data, ClampToInt(size), 0);
    return n == SOCKET_ERROR ? -1 : n;
}

long ReceiveSome(Handle h, char* buffer, size_t size) {
    const int n = ::recv(Sock(h), buffer, ClampToInt(size), 0);
    return n == SOCKET_ERROR ? -1 : n;
}

bool LastCallWouldBlock() {
    return WouldBlock(::WSAGetLastError());
}

void Shutdown(Handle h, bool receive) {
    ::shutdown(Sock(h), receive ? SD_RECEIVE : SD_SEND);
}

bool BindReusable(Handle h, Ipv4Address address, int port) {
    const BOOL on = TRUE;
    ::setsockopt(Sock(h), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
    const sockaddr_in sa = MakeAddress(address, port);
    return ::bind(Sock(h), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0;
}

bool StartListening(Handle h, int backlog) {
    return ::listen(Sock(h), backlog) == 0;
}

int BoundPort(Handle h) {
    sockaddr_in sa{};
    int len = sizeof sa;
    if (::getsockname(Sock(h), reinterpret_cast<sockaddr*>(&sa), &len) != 0)
        return -1;
    return ntohs(sa.sin_port);
}

bool SetZeroLinger(Handle h) {
    linger l{};
    l.l_onoff = 1;
    l.l_linger = 0;
    return ::setsockopt(Sock(h), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l),
                        sizeof l) == 0;
}

}  // namespace tcp_socket_detail
