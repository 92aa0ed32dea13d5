#include <winsock2.h>

#include "framework/socket_library.h"

CSocketLibrary::CSocketLibrary() {
    WSADATA data{};
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0)
        return;
    // A layer that offers only something else than 1.1 is refused, and must be released again.
    if (!IsSocketsVersion11(data.wVersion)) {
        WSACleanup();
        return;
    }
    m_bStarted = true;
}

CSocketLibrary::~CSocketLibrary() {
    if (m_bStarted)
        WSACleanup();
}
