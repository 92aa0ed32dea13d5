#include "cli/settings_source.h"

#include <cstdlib>

#include "cli/cli_options.h"
#include "cli/ini_settings_store.h"

bool CliUsesIniSettings() {
    return true;
}

std::string DefaultSettingsPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/')
        return std::string(xdg) + "/quorvix/settings.ini";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/quorvix/settings.ini";
}

std::shared_ptr<ISettingsStore> OpenCliSettings(const std::string& settingsFile, std::string& error,
                                                std::string& warning) {
    error.clear();
    warning.clear();
    const bool named = !settingsFile.empty();
    const std::string path = named ? settingsFile : DefaultSettingsPath();
    auto store = std::make_shared<CIniSettingsStore>();
    int badLine = 0;
    switch (LoadIniSettingsFile(path, *store, badLine)) {
        case SettingsFileResult::Loaded:
            if (badLine > 0) {
                warning = path + ": line " + std::to_string(badLine) + " is not understood";
            }
            return store;
        case SettingsFileResult::Missing:
            // Without a file the built-in table and the defaults apply, as with an empty registry.
            if (!named)
                return store;
            error = "cannot read settings file " + path + ": no such file";
            return nullptr;
        case SettingsFileResult::TooLarge:
            error = "settings file " + path + " is larger than 1 MiB";
            return nullptr;
        case SettingsFileResult::Unreadable:
        default:
            error = "cannot read settings file " + path;
            return nullptr;
    }
}
