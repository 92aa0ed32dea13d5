// The few calls CTcpSocket needs from the system's sockets layer, one definition each in
// tcp_socket_posix.cpp and tcp_socket_win.cpp. Every check, loop and time calculation that is the
// same on both systems stays in tcp_socket.cpp; these calls only translate.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "framework/tcp_socket.h"

namespace tcp_socket_detail {

using Handle = CTcpSocket::Handle;

// The time left of a wait of `timeoutMs` that started when the object was made.
class CWaitDeadline {
public:
    explicit CWaitDeadline(int timeoutMs);
    // Milliseconds left, 0 once the time is over; -1 (no limit) for a negative time-out.
    int MillisecondsLeft() const;

private:
    std::chrono::steady_clock::time_point m_dtDeadline;
    bool m_bUnlimited;
};

enum class WaitKind { Read, Write, Connect };

// True when the socket became ready for `kind` within the time (negative: no limit). A connect
// that failed does not count as ready.
bool WaitFor(Handle h, WaitKind kind, int timeoutMs);

// The system's first IPv4 address for a host name; false when the name service knows none.
bool LookUpIpv4(const std::string& host, Ipv4Address& address);

// A new IPv4 stream socket not inherited by child processes, or CTcpSocket::kInvalid.
Handle OpenStream();
// The next waiting connection on a listening socket, or CTcpSocket::kInvalid.
Handle AcceptOn(Handle listener);
void CloseSocket(Handle h);

enum class ConnectStart { Connected, Pending, Failed };
ConnectStart StartConnect(Handle h, Ipv4Address address, int port);
// True when the socket's pending error, as left by a finished connect, is none.
bool HasNoPendingError(Handle h);

// One send or receive call, clamped to what the system takes: the byte count, or -1 on error.
long SendSome(Handle h, const char* data, size_t size);
long ReceiveSome(Handle h, char* buffer, size_t size);
// Whether the error of the last SendSome / ReceiveSome only means "not now".
bool LastCallWouldBlock();

void Shutdown(Handle h, bool receive);
// Binds with reuse of an address still in its closing wait.
bool BindReusable(Handle h, Ipv4Address address, int port);
bool StartListening(Handle h, int backlog);
// The bound local port, or -1.
int BoundPort(Handle h);
// Linger on with no time: closing resets the connection.
bool SetZeroLinger(Handle h);

}  // namespace tcp_socket_detail
