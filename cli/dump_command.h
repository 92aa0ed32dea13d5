// quorvix-cli dump: prints the records of a data file and tells plainly when it is damaged.
#pragma once

#include "cli/cli_app.h"
#include "cli/cli_options.h"

int RunDump(const CliOptions& options, const CliStreams& streams);
