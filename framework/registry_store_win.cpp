#include <vector>

#include "framework/registry_store.h"

CRegistryKey& CRegistryKey::operator=(CRegistryKey&& other) noexcept {
    if (this != &other) {
        Close();
        m_hKey = other.m_hKey;
        other.m_hKey = nullptr;
    }
    return *this;
}

bool CRegistryKey::Open(HKEY parent, const std::string& path, REGSAM access) {
    Close();
    HKEY h = nullptr;
    if (RegOpenKeyExA(parent, path.c_str(), 0, access, &h) != ERROR_SUCCESS)
        return false;
    m_hKey = h;
    return true;
}

bool CRegistryKey::Create(HKEY parent, const std::string& path, REGSAM access) {
    Close();
    HKEY h = nullptr;
    if (RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                        &h, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    m_hKey = h;
    return true;
}

void CRegistryKey::Close() {
    if (m_hKey)
        RegCloseKey(m_hKey);
    m_hKey = nullptr;
}

namespace {

// Names go to the system as C strings: one with a zero byte would name something else.
bool IsUsableName(const std::string& name) {
    return name.find('\0') == std::string::npos;
}

}  // namespace

CRegistrySettingsStore::CRegistrySettingsStore(std::string company, std::string application)
    : m_strCompany(std::move(company)), m_strApplication(std::move(application)) {}

std::string CRegistrySettingsStore::SectionKeyPath(const std::string& section) const {
    return ProfileKeyPath(m_strCompany, m_strApplication, section);
}

std::string CRegistrySettingsStore::GetString(const std::string& section, const std::string& entry,
                                              const std::string& def) const {
    if (section.empty() || !IsUsableName(section) || !IsUsableName(entry))
        return def;
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, SectionKeyPath(section), KEY_QUERY_VALUE))
        return def;

    // One read into a buffer one byte larger than any accepted text: a longer value (or one that
    // grew meanwhile) reports ERROR_MORE_DATA instead of being read half.
    std::vector<char> data(kMaxProfileTextBytes + 2, '\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size() - 1);
    const LONG rc = RegQueryValueExA(key.Get(), entry.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(data.data()), &size);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return def;
    if (size == 0 || size > kMaxProfileTextBytes + 1)
        return def;
    // Text written without its terminating zero is damaged; never read past what was stored.
    if (data[size - 1] != '\0')
        return def;
    return std::string(data.data());  // up to the first zero, as the stored C string reads
}

int CRegistrySettingsStore::GetInt(const std::string& section, const std::string& entry,
                                   int def) const {
    if (section.empty() || !IsUsableName(section) || !IsUsableName(entry))
        return def;
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, SectionKeyPath(section), KEY_QUERY_VALUE))
        return def;
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    const LONG rc = RegQueryValueExA(key.Get(), entry.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(&value), &size);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
        return def;
    return static_cast<int>(value);
}

bool CRegistrySettingsStore::WriteString(const std::string& section, const std::string& entry,
                                         const std::string& value) {
    if (section.empty() || !IsUsableName(section) || !IsUsableName(entry))
        return false;
    if (!IsUsableName(value) || value.size() > kMaxProfileTextBytes)
        return false;
    CRegistryKey key;
    if (!key.Create(HKEY_CURRENT_USER, SectionKeyPath(section), KEY_SET_VALUE))
        return false;
    return RegSetValueExA(key.Get(), entry.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool CRegistrySettingsStore::WriteInt(const std::string& section, const std::string& entry,
                                      int value) {
    if (section.empty() || !IsUsableName(section) || !IsUsableName(entry))
        return false;
    CRegistryKey key;
    if (!key.Create(HKEY_CURRENT_USER, SectionKeyPath(section), KEY_SET_VALUE))
        return false;
    const DWORD data = static_cast<DWORD>(value);
    return RegSetValueExA(key.Get(), entry.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}
