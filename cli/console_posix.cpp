#include "cli/console.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace {

volatile sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) {
    g_interrupted = 1;
}

}  // namespace

void InstallInterruptHandler() {
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    // The handler runs once; a second Ctrl-C finds the default action and ends the process.
    sa.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);

    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

bool InterruptRequested() {
    return g_interrupted != 0;
}

void RequestInterrupt() {
    g_interrupted = 1;
}

bool IsTerminal(std::FILE* stream) {
    return stream && isatty(fileno(stream)) == 1;
}
