// A thin, move-only TCP/IPv4 socket over POSIX sockets or Windows Sockets. Every wait is bounded
// by a time-out given per call, so a silent or stalled peer costs time, never a hung thread.
// The socket is non-blocking throughout; the waits are done with poll (POSIX) or select (Windows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// An IPv4 address in network byte order, as it sits in a socket address.
using Ipv4Address = std::uint32_t;

// Reads a dotted IPv4 text of exactly four decimal parts ("127.0.0.5") without any name service.
// False for anything else, including trailing text and a zero byte.
bool ParseDottedIpv4(const std::string& text, Ipv4Address& address);
// False for an empty text and for one holding a blank or a control byte (a zero byte would
// otherwise silently cut the name short).
bool IsPlausibleHostText(const std::string& host);
// Resolves the text as a host name first and takes its first IPv4 address; otherwise reads it as
// a dotted address. False when neither works and for an implausible text (above).
bool ResolveIpv4(const std::string& host, Ipv4Address& address);
// The address 127.x.y.z for n = x * 65536 + y * 256 + z, for tests and loopback servers.
Ipv4Address LoopbackIpv4(int n);

// Receive results other than a byte count.
constexpr long kReceiveClosed = 0;
constexpr long kReceiveTimedOut = -1;
constexpr long kReceiveFailed = -2;

// Time-outs are in milliseconds; a negative time-out waits without limit.
class CTcpSocket {
public:
    using Handle = std::uintptr_t;
    static constexpr Handle kInvalid = ~Handle(0);

    CTcpSocket() = default;
    ~CTcpSocket() { Close(); }
    CTcpSocket(const CTcpSocket&) = delete;
    CTcpSocket& operator=(const CTcpSocket&) = delete;
    CTcpSocket(CTcpSocket&& other) noexcept : m_hSocket(other.m_hSocket) {
        other.m_hSocket = kInvalid;
    }
    CTcpSocket& operator=(CTcpSocket&& other) noexcept;

    // A new IPv4 stream socket in non-blocking mode; invalid when the system refuses one.
    static CTcpSocket Create();

    bool IsValid() const { return m_hSocket != kInvalid; }
    void Close();

    // False when refused, on any error, for a port outside 1..65535, or when the connection is
    // not made within the time.
    bool Connect(Ipv4Address address, int port, int timeoutMs);
    // Sends every byte, continuing partial sends. False on error or when the peer accepts no
    // byte for `timeoutMs` (the time-out applies to each wait, not to the whole send).
    bool SendAll(const char* data, size_t size, int timeoutMs);
    // Receives up to `size` bytes: the count, kReceiveClosed when the peer ended the connection,
    // kReceiveTimedOut when nothing arrived within the time, kReceiveFailed on error.
    long Receive(char* buffer, size_t size, int timeoutMs);
    void ShutdownReceive();
    void ShutdownSend();

    // Server side. Bind allows reuse of an address still in its closing wait, so a test server
    // can take port 43 again at once. Port 0 asks the system for a free port.
    bool Bind(Ipv4Address address, int port);
    bool Listen(int backlog);
    // The bound local port, or -1.
    int LocalPort() const;
    // The next connection (non-blocking), or an invalid socket when none came within the time.
    CTcpSocket Accept(int timeoutMs);
    // Closing afterwards resets the connection instead of ending it gracefully.
    bool SetAbortiveClose();

private:
    explicit CTcpSocket(Handle h) : m_hSocket(h) {}
    static bool MakeNonBlocking(Handle h);

    Handle m_hSocket = kInvalid;
};
