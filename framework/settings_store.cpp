#include "framework/settings_store.h"

#include "framework/text.h"

std::string CMemorySettingsStore::Key(const std::string& section, const std::string& entry) {
    // A zero byte cannot occur in a registry name, so it separates the two parts safely.
    std::string key = ToLower(section);
    key.push_back('\0');
    key += ToLower(entry);
    return key;
}

std::string CMemorySettingsStore::GetString(const std::string& section, const std::string& entry,
                                            const std::string& def) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_values.find(Key(section, entry));
    if (it == m_values.end() || it->second.isInt)
        return def;
    return it->second.str;
}

int CMemorySettingsStore::GetInt(const std::string& section, const std::string& entry,
                                 int def) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_values.find(Key(section, entry));
    if (it == m_values.end() || !it->second.isInt)
        return def;
    return it->second.n;
}

bool CMemorySettingsStore::WriteString(const std::string& section, const std::string& entry,
                                       const std::string& value) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Value& v = m_values[Key(section, entry)];
    v.isInt = false;
    v.str = value;
    return true;
}

bool CMemorySettingsStore::WriteInt(const std::string& section, const std::string& entry,
                                    int value) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Value& v = m_values[Key(section, entry)];
    v.isInt = true;
    v.n = value;
    v.str.clear();
    return true;
}

bool CMemorySettingsStore::Remove(const std::string& section, const std::string& entry) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_values.erase(Key(section, entry)) > 0;
}

size_t CMemorySettingsStore::Count() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_values.size();
}
