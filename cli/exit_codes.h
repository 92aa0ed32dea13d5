// What quorvix-cli tells its caller through the exit status.
#pragma once

enum CliExitCode : int {
    kExitOk = 0,            // every name got a verdict (free or taken); the file was written
    kExitSomeFailed = 1,    // some names ended in error or without a verdict
    kExitBadInput = 2,      // bad usage, an unreadable or damaged input file, or output that failed
    kExitInterrupted = 130  // stopped by Ctrl-C (128 + SIGINT, as shells report it)
};
