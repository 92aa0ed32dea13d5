// One WHOIS exchange over TCP: connect, send one query line, read until the server closes.
#pragma once

#include <string>

// Limits that keep a hostile or broken server from pinning a worker or exhausting memory.
// A negative time-out means no limit.
struct WhoisLimits {
    int idleTimeoutMs = 30000;            // no data (or no progress connecting) for this long fails
    size_t maxAnswerBytes = 1024 * 1024;  // receiving more bytes than this fails
    int totalTimeoutMs = 180000;          // whole exchange: a slow drip cannot hold a worker
};

constexpr int kWhoisPort = 43;

// True when the server closed the connection after the whole query line was sent; `answer` then
// holds everything received (possibly empty; bytes after a zero byte within one read are dropped).
// False for every failure (empty server, no socket, unresolvable server, connect or send or
// receive error, time-out, answer too long); the caller ignores `answer` then.
bool WhoisQuery(const std::string& query, const std::string& server, std::string& answer,
                int port = kWhoisPort, const WhoisLimits& limits = WhoisLimits());
