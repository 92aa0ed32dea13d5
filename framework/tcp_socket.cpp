#include <cstring>

#include "framework/tcp_socket.h"

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
