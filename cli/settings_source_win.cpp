#include "cli/settings_source.h"

#include "cli/cli_options.h"
#include "framework/registry_store.h"

namespace {

// The desktop program's registry key word and application name: the companion shares its
// settings whatever its own executable is called.
constexpr const char* kCompanyKey = "Corvane Technologies";
constexpr const char* kDesktopApplication = "quorvix";

}  // namespace

bool CliUsesIniSettings() {
    return false;
}

std::string DefaultSettingsPath() {
    return std::string();
}

std::shared_ptr<ISettingsStore> OpenCliSettings(const std::string& settingsFile, std::string& error,
                                                std::string& warning) {
    error.clear();
    warning.clear();
    if (!settingsFile.empty()) {
        error = "--settings is not available here: the settings live in the registry";
        return nullptr;
    }
    return std::make_shared<CRegistrySettingsStore>(kCompanyKey, kDesktopApplication);
}
