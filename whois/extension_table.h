// Which WHOIS server to ask for each extension, what goes before the name in the query, what text
// in an answer means "free", and how hard a server may be used. Every call reads the store afresh,
// so a change made in the Configure dialog is in force at the next decision.
#pragma once

#include <string>
#include <string_view>

class CSerStringArray;
class ISettingsStore;

struct ExtensionRow {
    const char* extension;  // lower case, without the dot
    const char* queryPrefix;
    const char* server;
    const char* availableToken;
};

// The 21 built-in rows in table order.
constexpr int kBuiltinExtensionCount = 21;
const ExtensionRow* BuiltinExtensions();

// Section and value names of the store.
inline constexpr const char* kSectionDomains = "Domains";
inline constexpr const char* kValueQueryPrefix = "Query Prefix";
inline constexpr const char* kValueServer = "Server";
inline constexpr const char* kValueAvailableToken = "Available Token";
inline constexpr const char* kValueMaxConnections = "Max Connections";
inline constexpr const char* kValueConnectionInterval = "Connection Interval";
constexpr int kDefaultMaxConnections = 1;
constexpr int kDefaultConnectionInterval = 12;

// The text after the last dot with white space trimmed, or empty when there is no dot.
std::string_view ExtensionOf(std::string_view name);

// Server host for the name's extension (empty: none known); `prefix` receives the query prefix
// that travels with that server.
std::string GetWhoisServer(const ISettingsStore& store, std::string_view name, std::string& prefix);
// "Max Connections" and "Connection Interval" of the name's server; both always written.
void GetConnectionLimits(const ISettingsStore& store, std::string_view name, int& maxConnections,
                         int& interval);
// Availability token for the name's extension; empty when none is known.
std::string GetAvailableToken(const ISettingsStore& store, std::string_view name);
// Writes the whole built-in table into the store and appends each extension to `list`.
void SeedExtensionSettings(ISettingsStore& store, CSerStringArray& list);
