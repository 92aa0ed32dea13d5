#include "cli/console.h"

#include <io.h>
#include <windows.h>

#include <atomic>

namespace {

std::atomic<bool> g_interrupted{false};

BOOL WINAPI OnConsoleControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT)
        return FALSE;
    // The first press asks for a clean stop; a second one gets the default handling (the end).
    if (g_interrupted.exchange(true))
        return FALSE;
    return TRUE;
}

}  // namespace

void InstallInterruptHandler() {
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool InterruptRequested() {
    return g_interrupted.load();
}

void RequestInterrupt() {
    g_interrupted = true;
}

bool IsTerminal(std::FILE* stream) {
    return stream && _isatty(_fileno(stream)) != 0;
}
