// The settings store of quorvix-cli on Linux: an INI file with the registry's section and value
// names ([Domains] 1=com ..., [com] Server=..., [whois.example.net] Max Connections=4), read once.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "framework/settings_store.h"

// Largest settings file read; the real one holds a few dozen lines.
constexpr size_t kMaxSettingsFileBytes = 1024 * 1024;

class CIniSettingsStore : public ISettingsStore {
public:
    // Parses INI text. Indented lines are ordinary lines (no continuation values), ";" inside a
    // value is part of it, a later value of the same name replaces an earlier one, and names
    // compare without regard to case. Returns the number of the first line that is not
    // understood or too long (it is skipped), or 0.
    int LoadText(std::string_view text);

    // Text values as stored; an integer is read from text that is a decimal number (optional
    // sign) within the range of int, otherwise `def` applies.
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& def = std::string()) const override;
    int GetInt(const std::string& section, const std::string& entry, int def) const override;
    // Changes this run's copy only; the file is never written.
    bool WriteString(const std::string& section, const std::string& entry,
                     const std::string& value) override;
    bool WriteInt(const std::string& section, const std::string& entry, int value) override;

    size_t Count() const { return m_values.size(); }

private:
    static std::string Key(std::string_view section, std::string_view entry);
    static int Handler(void* user, const char* section, const char* name, const char* value);

    std::map<std::string, std::string> m_values;
};

// Whole-number text as the INI store reads it; false for anything else.
bool ParseIniInteger(std::string_view text, int& value);

enum class SettingsFileResult { Loaded, Missing, Unreadable, TooLarge };
// Reads and parses the file. `badLine` receives LoadText's result.
SettingsFileResult LoadIniSettingsFile(const std::string& path, CIniSettingsStore& store,
                                       int& badLine);
