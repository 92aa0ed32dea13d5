// The application's profile in the registry: below HKEY_CURRENT_USER the key
// "Software\<company>\<application>\<section>", text as REG_SZ and integers as REG_DWORD, the way
// the classic profile functions keep them. Values of another type, unterminated or oversized text
// fall back to the default.
#pragma once

#include <cstddef>
#include <string>

#include "framework/settings_store.h"

// The executable's base name without its extension ("C:\Tools\quorvix.exe" gives "quorvix"):
// the application's name in the registry and in message-box captions.
std::string ApplicationNameFromExePath(const std::string& path);

// "Software\<company>\<application>\<section>" below HKEY_CURRENT_USER; without the section part
// when `section` is empty.
std::string ProfileKeyPath(const std::string& company, const std::string& application,
                           const std::string& section = std::string());

// Texts longer than this are not profile settings: reading one gives the default, writing one
// is refused, so what is written can always be read back.
constexpr size_t kMaxProfileTextBytes = 32 * 1024;

#ifdef _WIN32
#include <windows.h>

// Owns one open registry key.
class CRegistryKey {
public:
    CRegistryKey() = default;
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;
    CRegistryKey(CRegistryKey&& other) noexcept : m_hKey(other.m_hKey) { other.m_hKey = nullptr; }
    CRegistryKey& operator=(CRegistryKey&& other) noexcept;

    // Opens an existing key; false (and nothing open) when it does not exist or access fails.
    bool Open(HKEY parent, const std::string& path, REGSAM access);
    // Opens the key, creating it and any missing keys above it.
    bool Create(HKEY parent, const std::string& path, REGSAM access);
    void Close();
    bool IsOpen() const { return m_hKey != nullptr; }
    HKEY Get() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};

class CRegistrySettingsStore : public ISettingsStore {
public:
    // `company` is the registry key word ("Corvane Technologies"), `application` the application
    // name (see ApplicationNameFromExePath).
    CRegistrySettingsStore(std::string company, std::string application);

    // An empty section name, which would address the application's own key, reads as missing
    // and is refused for writing; so is text with a zero byte, which REG_SZ cannot hold.
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& def = std::string()) const override;
    int GetInt(const std::string& section, const std::string& entry, int def) const override;
    bool WriteString(const std::string& section, const std::string& entry,
                     const std::string& value) override;
    bool WriteInt(const std::string& section, const std::string& entry, int value) override;

    std::string SectionKeyPath(const std::string& section) const;

private:
    std::string m_strCompany;
    std::string m_strApplication;
};
#endif
