// quorvix-cli check: looks names up through the desktop program's scheduler decisions.
#pragma once

#include "cli/cli_app.h"
#include "cli/cli_options.h"

// Environment values for tests: the scheduler tick in milliseconds (default 2500) and the WHOIS
// port (default 43). Values that are not whole numbers in range are ignored.
inline constexpr const char* kTickEnvironment = "QUORVIX_CLI_TICK_MS";
inline constexpr const char* kPortEnvironment = "QUORVIX_CLI_WHOIS_PORT";

int RunCheck(const CliOptions& options, const CliStreams& streams);

// Value of a numeric environment variable within [low, high], else `def`.
int EnvironmentInt(const char* name, int low, int high, int def);
