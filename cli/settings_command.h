// quorvix-cli settings: the effective WHOIS settings of every configured or built-in extension.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "cli/cli_options.h"

class ISettingsStore;

struct EffectiveExtension {
    std::string extension;
    std::string server;
    std::string queryPrefix;
    std::string availableToken;
    int maxConnections = 0;
    int connectionInterval = 0;
};

// The extensions of the "Domains" list in its order (up to the first missing or empty value),
// then the built-in ones not listed there, each as the lookup engine would use it.
std::vector<EffectiveExtension> CollectEffectiveSettings(const ISettingsStore& store);

// TSV: extension, server, query prefix, available token, max connections, connection interval.
std::string FormatEffectiveSettings(const std::vector<EffectiveExtension>& rows,
                                    OutputFormat format);

int RunSettings(const CliOptions& options, const CliStreams& streams);
