// quorvix-cli as a function: parses the command line and runs one command.
#pragma once

#include <cstdio>
#include <string>

struct CliStreams {
    std::FILE* in = stdin;
    std::FILE* out = stdout;
    std::FILE* err = stderr;
};

// The exit status of the run (see exit_codes.h). Never throws.
int RunCli(int argc, const char* const* argv, const CliStreams& streams);

// "quorvix-cli: <message>" and a line end on the error stream.
void ReportProblem(const CliStreams& streams, const std::string& message);
// Writes all bytes; false when the stream refused any of them.
bool WriteText(std::FILE* stream, const std::string& text);
