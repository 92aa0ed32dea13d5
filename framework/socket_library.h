// Starts the platform's sockets layer for the lifetime of one object. On Windows that is Windows
// Sockets 1.1 (WSAStartup / WSACleanup, reference-counted by the system, so nested objects are
// fine); elsewhere there is nothing to start and the object always reports success.
#pragma once

// True only for exactly version 1.1: the low byte is the major version, the high byte the minor,
// as Windows Sockets reports it.
constexpr bool IsSocketsVersion11(unsigned version) {
    return version == 0x0101;
}

class CSocketLibrary {
public:
    CSocketLibrary();
    ~CSocketLibrary();
    CSocketLibrary(const CSocketLibrary&) = delete;
    CSocketLibrary& operator=(const CSocketLibrary&) = delete;
    CSocketLibrary(CSocketLibrary&& other) noexcept : m_bStarted(other.m_bStarted) {
        other.m_bStarted = false;
    }
    CSocketLibrary& operator=(CSocketLibrary&&) = delete;

    // False when the layer could not be started or reported another version than 1.1; the
    // layer is then already shut down again.
    bool IsStarted() const { return m_bStarted; }

private:
    bool m_bStarted = false;
};
