// The command line of quorvix-cli, parsed into plain values.
#pragma once

#include <string>
#include <vector>

enum class CliCommand { None, Check, Dump, Settings };
enum class OutputFormat { Tsv, Json };

struct CliOptions {
    CliCommand command = CliCommand::None;
    OutputFormat format = OutputFormat::Tsv;
    std::string dataFile;            // check --data, dump FILE
    std::string settingsFile;        // --settings (INI builds only); empty: the default file
    std::vector<std::string> names;  // check NAME...
    bool withWhois = false;          // dump --whois
    int maxAttempts = 5;             // check --attempts: failed exchanges per name before "Error"
    bool helpShown = false;          // --help was asked for: print helpText, nothing else
    std::string helpText;
};

// Parses argv. False for bad usage, with a one-line message naming the problem in `error`.
bool ParseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& error);

// True when this build reads its settings from an INI file (--settings is offered).
bool CliUsesIniSettings();
