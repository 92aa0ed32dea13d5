#include "framework/socket_library.h"

// POSIX sockets need no start; a broken connection is kept from raising SIGPIPE per send call.
CSocketLibrary::CSocketLibrary() : m_bStarted(true) {}

CSocketLibrary::~CSocketLibrary() = default;
