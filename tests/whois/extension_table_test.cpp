#include "whois/extension_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "domains/ser_string_array.h"
#include "framework/settings_store.h"

namespace {

const char* const kServerA = "whois.verisign-grs.com";

struct ExpectedRow {
    const char* extension;
    const char* prefix;
    const char* token;
};

// The rows as the lookups and the analysis rely on them, in table order.
const ExpectedRow kExpected[] = {
    {"com", "domain", "No match for"},
    {"net", "domain", "No match for"},
    {"org", "", "NOT FOUND"},
    {"edu", "domain", "No match for"},
    {"uk", "", "No match for"},
    {"au", "", "No Data Found"},
    {"in", "", "No match found"},
    {"info", "", "NOT FOUND"},
    {"biz", "", "Not found"},
    {"aero", "", "is not registered and may"},
    {"coop", "", "No Objects Found"},
    {"name", "", "No match."},
    {"ws", "", "No match for"},
    {"nl", "", "is not a registered domain"},
    {"nu", "", "NO MATCH for domain"},
    {"de", "", "No entries found for the selected source"},
    {"ca", "", "AVAIL"},
    {"nz", "", "220 Available"},
    {"us", "", "Not found"},
    {"fr", "", "No entries found for the selected source"},
    {"tw", "", "NO MATCH: This domain is available!"},
};

}  // namespace

TEST(ExtensionTable, BuiltinRowsKeepOrderPrefixesAndTokens) {
    static_assert(sizeof(kExpected) / sizeof(kExpected[0]) == kBuiltinExtensionCount);
    const ExtensionRow* rows = BuiltinExtensions();
    for (int i = 0; i < kBuiltinExtensionCount; ++i) {
        SCOPED_TRACE(kExpected[i].extension);
        EXPECT_STREQ(rows[i].extension, kExpected[i].extension);
        EXPECT_STREQ(rows[i].queryPrefix, kExpected[i].prefix);
        EXPECT_STREQ(rows[i].availableToken, kExpected[i].token);
        ASSERT_NE(rows[i].server, nullptr);
        EXPECT_NE(std::string(rows[i].server).find('.'), std::string::npos);
    }
}

TEST(ExtensionTable, OnlyComNetEduShareOneServerSoLimitsAreNotMixedUp) {
    const ExtensionRow* rows = BuiltinExtensions();
    std::set<std::string> others;
    for (int i = 0; i < kBuiltinExtensionCount; ++i) {
        const std::string ext = rows[i].extension;
        if (ext == "com" || ext == "net" || ext == "edu") {
            EXPECT_STREQ(rows[i].server, kServerA) << ext;
        } else {
            EXPECT_STRNE(rows[i].server, kServerA) << ext;
            EXPECT_TRUE(others.insert(rows[i].server).second) << "duplicate host for " << ext;
        }
    }
    EXPECT_EQ(others.size(), static_cast<size_t>(kBuiltinExtensionCount - 3));
}

TEST(ExtensionTable, ExtensionOfTakesTextAfterLastDotTrimmed) {
    struct Case {
        const char* name;
        const char* extension;
    } cases[] = {
        {"example.com", "com"},
        {"a.b.c.NET", "NET"},
        {" example.org \t\r\n", "org"},
        {"example.com.", ""},
        {"example", ""},
        {"", ""},
        {".", ""},
        {"x. info ", "info"},
        {"www.example.co.uk", "uk"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtensionOf(c.name), c.extension) << '"' << c.name << '"';
    }
}

TEST(ExtensionTable, ServerAndPrefixFromBuiltinTableWhenStoreIsEmpty) {
    CMemorySettingsStore store;
    struct Case {
        const char* name;
        const char* server;
        const char* prefix;
    } cases[] = {
        {"example.com", kServerA, "domain"},
        {"EXAMPLE.COM", kServerA, "domain"},
        {"www.sub.example.com", kServerA, "domain"},
        {"  example.net  ", kServerA, "domain"},
        {"school.Edu", kServerA, "domain"},
        {"example.org", "whois.pir.org", ""},
        {"example.com.", "", ""},  // ends in a dot: empty extension
        {"example", "", ""},       // no dot at all
        {"", "", ""},
        {"example.xyz", "", ""},  // neither stored nor built in
    };
    for (const Case& c : cases) {
        std::string prefix = "left over";
        EXPECT_EQ(GetWhoisServer(store, c.name, prefix), c.server) << c.name;
        EXPECT_EQ(prefix, c.prefix) << c.name;
    }
}

TEST(ExtensionTable, StoredServerWithoutPrefixDoesNotBorrowTablePrefix) {
    CMemorySettingsStore store;
    store.WriteString("com", kValueServer, "whois.example.test");
    std::string prefix = "x";
    EXPECT_EQ(GetWhoisServer(store, "example.COM", prefix), "whois.example.test");
    EXPECT_EQ(prefix, "");
}

TEST(ExtensionTable, StoredPrefixWithoutServerIsIgnoredForTableServer) {
    CMemorySettingsStore store;
    store.WriteString("com", kValueQueryPrefix, "stored-prefix");
    std::string prefix;
    EXPECT_EQ(GetWhoisServer(store, "example.com", prefix), kServerA);
    EXPECT_EQ(prefix, "domain");

    store.WriteString("org", kValueQueryPrefix, "stored-prefix");
    EXPECT_EQ(GetWhoisServer(store, "example.org", prefix), "whois.pir.org");
    EXPECT_EQ(prefix, "");
}

TEST(ExtensionTable, StoreServesExtensionsTheTableDoesNotKnow) {
    CMemorySettingsStore store;
    store.WriteString("xyz", kValueServer, "whois.nic.xyz");
    store.WriteString("xyz", kValueQueryPrefix, "=");
    store.WriteString("xyz", kValueAvailableToken, "DOMAIN NOT FOUND");
    std::string prefix;
    EXPECT_EQ(GetWhoisServer(store, "Example.XYZ", prefix), "whois.nic.xyz");
    EXPECT_EQ(prefix, "=");
    EXPECT_EQ(GetAvailableToken(store, "example.XYZ"), "DOMAIN NOT FOUND");
}

TEST(ExtensionTable, EmptyStoredServerFallsBackToTable) {
    CMemorySettingsStore store;
    store.WriteString("org", kValueServer, "");
    store.WriteString("org", kValueQueryPrefix, "ignored");
    std::string prefix;
    EXPECT_EQ(GetWhoisServer(store, "example.org", prefix), "whois.pir.org");
    EXPECT_EQ(prefix, "");
}

TEST(ExtensionTable, TokenFallsBackOnItsOwn) {
    struct Case {
        const char* what;
        const char* section;
        const char* entry;
        const char* value;
        const char* name;
        const char* token;
    } cases[] = {
        {"empty stored token", "org", kValueAvailableToken, "", "example.org", "NOT FOUND"},
        {"stored token wins", "com", kValueAvailableToken, "FREE!", "example.com", "FREE!"},
        {"stored server only", "com", kValueServer, "whois.example.test", "example.com",
         "No match for"},
        {"capital extension", "", "", "", "EXAMPLE.ORG", "NOT FOUND"},
        {"blanks around name", "", "", "", "  example.tw ", "NO MATCH: This domain is available!"},
        {"ends in a dot", "", "", "", "example.org.", ""},
        {"no dot", "", "", "", "example", ""},
        {"unknown extension", "", "", "", "example.xyz", ""},
    };
    for (const Case& c : cases) {
        CMemorySettingsStore store;
        if (*c.section)
            store.WriteString(c.section, c.entry, c.value);
        EXPECT_EQ(GetAvailableToken(store, c.name), c.token) << c.what;
    }
}

TEST(ExtensionTable, LimitsDefaultToOneAndTwelveUntilSeeded) {
    CMemorySettingsStore store;
    struct Case {
        const char* name;
        int maxBefore, intervalBefore, maxAfter, intervalAfter;
    } cases[] = {
        {"example.com", 1, 12, 4, 5},  {"example.NET", 1, 12, 4, 5},   {"example.edu", 1, 12, 4, 5},
        {"example.org", 1, 12, 1, 12}, {"example.info", 1, 12, 1, 12}, {"example", 1, 12, 1, 12},
        {"example.xyz", 1, 12, 1, 12},
    };
    for (const Case& c : cases) {
        int max = -7, interval = -7;
        GetConnectionLimits(store, c.name, max, interval);
        EXPECT_EQ(max, c.maxBefore) << c.name;
        EXPECT_EQ(interval, c.intervalBefore) << c.name;
    }
    CSerStringArray list;
    SeedExtensionSettings(store, list);
    for (const Case& c : cases) {
        int max = -7, interval = -7;
        GetConnectionLimits(store, c.name, max, interval);
        EXPECT_EQ(max, c.maxAfter) << c.name;
        EXPECT_EQ(interval, c.intervalAfter) << c.name;
    }
}

TEST(ExtensionTable, ServerALimitChangeReachesComNetAndEduAtOnce) {
    CMemorySettingsStore store;
    store.WriteInt(kServerA, kValueMaxConnections, 9);
    store.WriteInt(kServerA, kValueConnectionInterval, 2);
    for (const char* name : {"a.com", "b.net", "c.edu"}) {
        int max = 0, interval = 0;
        GetConnectionLimits(store, name, max, interval);
        EXPECT_EQ(max, 9) << name;
        EXPECT_EQ(interval, 2) << name;
    }
    int max = 0, interval = 0;
    GetConnectionLimits(store, "d.org", max, interval);
    EXPECT_EQ(max, 1);
    EXPECT_EQ(interval, 12);
}

TEST(ExtensionTable, LimitsFollowTheStoredServerNotTheExtension) {
    CMemorySettingsStore store;
    store.WriteInt("com", kValueMaxConnections, 30);  // keyed by extension: must be ignored
    store.WriteInt(kServerA, kValueMaxConnections, 4);
    store.WriteString("com", kValueServer, "whois.example.test");
    store.WriteInt("whois.example.test", kValueMaxConnections, 2);
    int max = 0, interval = 0;
    GetConnectionLimits(store, "x.com", max, interval);
    EXPECT_EQ(max, 2);
    EXPECT_EQ(interval, 12);
}

TEST(ExtensionTable, EveryCallReadsTheStoreAfresh) {
    CMemorySettingsStore store;
    std::string prefix;
    EXPECT_EQ(GetWhoisServer(store, "x.com", prefix), kServerA);
    store.WriteString("com", kValueServer, "whois.one.test");
    EXPECT_EQ(GetWhoisServer(store, "x.com", prefix), "whois.one.test");
    store.WriteString("com", kValueServer, "whois.two.test");
    EXPECT_EQ(GetWhoisServer(store, "x.com", prefix), "whois.two.test");
    store.Remove("com", kValueServer);
    EXPECT_EQ(GetWhoisServer(store, "x.com", prefix), kServerA);

    store.WriteString("com", kValueAvailableToken, "one");
    EXPECT_EQ(GetAvailableToken(store, "x.com"), "one");
    store.WriteString("com", kValueAvailableToken, "two");
    EXPECT_EQ(GetAvailableToken(store, "x.com"), "two");
}

TEST(ExtensionTable, SeedingWritesWholeTableAndAppendsEachExtension) {
    CMemorySettingsStore store;
    CSerStringArray list;
    SeedExtensionSettings(store, list);
    const ExtensionRow* rows = BuiltinExtensions();
    ASSERT_EQ(list.GetSize(), kBuiltinExtensionCount);
    for (int i = 0; i < kBuiltinExtensionCount; ++i) {
        const ExtensionRow& row = rows[i];
        SCOPED_TRACE(row.extension);
        EXPECT_EQ(store.GetString(kSectionDomains, std::to_string(i + 1)), row.extension);
        EXPECT_EQ(list.GetString(i), row.extension);
        EXPECT_EQ(store.GetString(row.extension, kValueQueryPrefix, "missing"), row.queryPrefix);
        EXPECT_EQ(store.GetString(row.extension, kValueServer), row.server);
        EXPECT_EQ(store.GetString(row.extension, kValueAvailableToken), row.availableToken);
    }
    EXPECT_EQ(store.GetString(kSectionDomains, "0", "missing"), "missing");
    EXPECT_EQ(store.GetString(kSectionDomains, "22", "missing"), "missing");
    // Written as integers, so a profile reader of integers sees them.
    EXPECT_EQ(store.GetInt(kServerA, kValueMaxConnections, -1), 4);
    EXPECT_EQ(store.GetInt(kServerA, kValueConnectionInterval, -1), 5);
    EXPECT_EQ(store.GetInt("whois.pir.org", kValueMaxConnections, -1), 1);
    EXPECT_EQ(store.GetInt("whois.pir.org", kValueConnectionInterval, -1), 12);
    // Seeding the shared host three times leaves one value per name: 21 extensions with three
    // values each, 21 "Domains" entries, 19 hosts with two values each.
    EXPECT_EQ(store.Count(), static_cast<size_t>(21 * 3 + 21 + 19 * 2));
}

TEST(ExtensionTable, SeedingOverwritesEditsAndRefusesDuplicateListEntries) {
    CMemorySettingsStore store;
    store.WriteString("com", kValueServer, "whois.example.test");
    store.WriteInt(kServerA, kValueMaxConnections, 50);
    store.WriteString(kSectionDomains, "1", "xyz");
    CSerStringArray list;
    list.Add("COM");
    list.Add("xyz");
    SeedExtensionSettings(store, list);
    EXPECT_EQ(store.GetString("com", kValueServer), kServerA);
    EXPECT_EQ(store.GetInt(kServerA, kValueMaxConnections, -1), 4);
    EXPECT_EQ(store.GetString(kSectionDomains, "1"), "com");
    // "com" was already present (in other case): 2 kept + 20 appended.
    EXPECT_EQ(list.GetSize(), 2 + kBuiltinExtensionCount - 1);
    EXPECT_EQ(list.GetString(0), "COM");
    EXPECT_EQ(list.GetString(1), "xyz");
    EXPECT_EQ(list.GetString(2), "net");
}

TEST(ExtensionTable, HostileNamesGiveEmptyResultsWithoutOverrun) {
    CMemorySettingsStore store;
    const std::string huge(1 << 20, 'a');
    std::string withZero("example\0.com", 12);
    std::string binary;
    for (int i = 0; i < 256; ++i) binary.push_back(static_cast<char>(i));
    struct Case {
        std::string name;
        const char* server;
    } cases[] = {
        {huge, ""},
        {huge + ".com", kServerA},
        {"x." + huge, ""},
        {withZero, kServerA},
        {binary, ""},  // the last dot is followed by '/', '0'..'9' and so on
        {std::string("x.\xff\xfe"), ""},
        {std::string("x.C\0M", 5), ""},
    };
    for (const Case& c : cases) {
        std::string prefix;
        EXPECT_EQ(GetWhoisServer(store, c.name, prefix), c.server) << c.name.size();
        EXPECT_EQ(GetAvailableToken(store, c.name).empty(), *c.server == '\0');
        int max = 0, interval = 0;
        GetConnectionLimits(store, c.name, max, interval);
        EXPECT_EQ(max, 1);
        EXPECT_EQ(interval, 12);
    }
}
