#include "whois/extension_table.h"

#include "domains/ser_string_array.h"
#include "framework/settings_store.h"
#include "framework/text.h"

namespace {

// .com, .net and .edu are all answered by the same registry host, so they share its limits.
constexpr const char* kServerA = "whois.verisign-grs.com";

constexpr ExtensionRow kRows[kBuiltinExtensionCount] = {
    {"com", "domain", kServerA, "No match for"},
    {"net", "domain", kServerA, "No match for"},
    {"org", "", "whois.pir.org", "NOT FOUND"},
    {"edu", "domain", kServerA, "No match for"},
    {"uk", "", "whois.nic.uk", "No match for"},
    {"au", "", "whois.auda.org.au", "No Data Found"},
    {"in", "", "whois.registry.in", "No match found"},
    {"info", "", "whois.nic.info", "NOT FOUND"},
    {"biz", "", "whois.nic.biz", "Not found"},
    {"aero", "", "whois.aero", "is not registered and may"},
    {"coop", "", "whois.nic.coop", "No Objects Found"},
    {"name", "", "whois.nic.name", "No match."},
    {"ws", "", "whois.website.ws", "No match for"},
    {"nl", "", "whois.domain-registry.nl", "is not a registered domain"},
    {"nu", "", "whois.iis.nu", "NO MATCH for domain"},
    {"de", "", "whois.denic.de", "No entries found for the selected source"},
    {"ca", "", "whois.cira.ca", "AVAIL"},
    {"nz", "", "whois.srs.net.nz", "220 Available"},
    {"us", "", "whois.nic.us", "Not found"},
    {"fr", "", "whois.nic.fr", "No entries found for the selected source"},
    {"tw", "", "whois.twnic.net.tw", "NO MATCH: This domain is available!"},
};

const ExtensionRow* FindBuiltinRow(std::string_view extension) {
    for (const ExtensionRow& row : kRows) {
        if (EqualsNoCase(row.extension, extension))
            return &row;
    }
    return nullptr;
}

bool SharesServerA(std::string_view extension) {
    return extension == "com" || extension == "net" || extension == "edu";
}

}  // namespace

const ExtensionRow* BuiltinExtensions() {
    return kRows;
}

std::string_view ExtensionOf(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return std::string_view();
    return TrimWhite(name.substr(dot + 1));
}

std::string GetWhoisServer(const ISettingsStore& store, std::string_view name,
                           std::string& prefix) {
    prefix.clear();
    const std::string lowered = ToLower(name);
    const std::string extension(ExtensionOf(lowered));
    // A name ending in a dot has an empty extension: treat it like a name without one rather
    // than reading a section with an empty name.
    if (extension.empty())
        return std::string();

    prefix = store.GetString(extension, kValueQueryPrefix);
    const std::string server = store.GetString(extension, kValueServer);
    if (!server.empty())
        return server;

    // The prefix travels with the server it came from, so a table server takes the table prefix.
    if (const ExtensionRow* row = FindBuiltinRow(extension)) {
        prefix = row->queryPrefix;
        return row->server;
    }
    return std::string();
}

void GetConnectionLimits(const ISettingsStore& store, std::string_view name, int& maxConnections,
                         int& interval) {
    maxConnections = kDefaultMaxConnections;
    interval = kDefaultConnectionInterval;
    std::string prefix;
    const std::string server = GetWhoisServer(store, name, prefix);
    // Without a server there is no section to read; an empty section name would address the
    // application's own key.
    if (server.empty())
        return;
    maxConnections = store.GetInt(server, kValueMaxConnections, kDefaultMaxConnections);
    interval = store.GetInt(server, kValueConnectionInterval, kDefaultConnectionInterval);
}

std::string GetAvailableToken(const ISettingsStore& store, std::string_view name) {
    const std::string extension(ExtensionOf(name));
    if (extension.empty())
        return std::string();
    std::string token = store.GetString(extension, kValueAvailableToken);
    if (!token.empty())
        return token;
    if (const ExtensionRow* row = FindBuiltinRow(extension))
        return row->availableToken;
    return std::string();
}

void SeedExtensionSettings(ISettingsStore& store, CSerStringArray& list) {
    for (int i = 0; i < kBuiltinExtensionCount; ++i) {
        const ExtensionRow& row = kRows[i];
        store.WriteString(kSectionDomains, std::to_string(i + 1), row.extension);
        store.WriteString(row.extension, kValueQueryPrefix, row.queryPrefix);
        store.WriteString(row.extension, kValueServer, row.server);
        store.WriteString(row.extension, kValueAvailableToken, row.availableToken);
        const bool busy = SharesServerA(row.extension);
        store.WriteInt(row.server, kValueMaxConnections, busy ? 4 : 1);
        store.WriteInt(row.server, kValueConnectionInterval, busy ? 5 : 12);
        list.Add(row.extension);
    }
}
