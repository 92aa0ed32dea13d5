// The application's profile: named sections holding text and integer values. On Windows it is the
// registry under HKEY_CURRENT_USER\Software\Corvane Technologies\<application>\<section>; tests use
// the in-memory store. Section and value names compare without regard to case, as in the registry.
#pragma once

#include <map>
#include <mutex>
#include <string>

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;

    // The stored text, or `def` when the value is missing or not text.
    virtual std::string GetString(const std::string& section, const std::string& entry,
                                  const std::string& def = std::string()) const = 0;
    // The stored integer, or `def` when the value is missing or not an integer.
    virtual int GetInt(const std::string& section, const std::string& entry, int def) const = 0;

    // False when the value could not be written; the store is then unchanged.
    virtual bool WriteString(const std::string& section, const std::string& entry,
                             const std::string& value) = 0;
    virtual bool WriteInt(const std::string& section, const std::string& entry, int value) = 0;
};

// Thread-safe store in memory; lookup workers read it while the user interface writes.
class CMemorySettingsStore : public ISettingsStore {
public:
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& def = std::string()) const override;
    int GetInt(const std::string& section, const std::string& entry, int def) const override;
    bool WriteString(const std::string& section, const std::string& entry,
                     const std::string& value) override;
    bool WriteInt(const std::string& section, const std::string& entry, int value) override;

    // Removes one value; true when it existed.
    bool Remove(const std::string& section, const std::string& entry);
    size_t Count() const;

private:
    struct Value {
        bool isInt = false;
        int n = 0;
        std::string str;
    };
    static std::string Key(const std::string& section, const std::string& entry);

    mutable std::mutex m_mutex;
    std::map<std::string, Value> m_values;
};
