// Where quorvix-cli finds the WHOIS settings: the desktop program's registry values on Windows, an
// INI file with the same section and value names elsewhere.
#pragma once

#include <memory>
#include <string>

#include "framework/settings_store.h"

// The store for this run. `settingsFile` is the --settings value (INI builds only; empty: the
// default file, which may be missing). Null with `error` set when a named file is missing or a
// file cannot be read; `warning` tells of a line that was skipped.
std::shared_ptr<ISettingsStore> OpenCliSettings(const std::string& settingsFile, std::string& error,
                                                std::string& warning);

// The default INI file: $XDG_CONFIG_HOME/quorvix/settings.ini, else ~/.config/quorvix/settings.ini.
std::string DefaultSettingsPath();
