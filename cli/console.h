// The console around quorvix-cli: Ctrl-C, terminals, and the streams' modes.
#pragma once

#include <cstdio>

// Ctrl-C (and, on Linux, SIGTERM) sets a flag instead of ending the process; a second one ends it
// at once. A closed pipe on standard output becomes a write error instead of ending the process,
// so that the data file is still saved.
void InstallInterruptHandler();
bool InterruptRequested();
// For tests of the loop: behaves as if Ctrl-C had been pressed.
void RequestInterrupt();

bool IsTerminal(std::FILE* stream);
