#include "cli/ini_settings_store.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

#include "tests/support/temp_dir.h"
#include "whois/extension_table.h"

namespace {

using namespace std::string_literals;

struct IntCase {
    const char* text;
    bool ok;
    int value;
};

void PrintTo(const IntCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class IniIntegerTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(IniIntegerTest, OnlyWholeNumbersInRangeAreIntegers) {
    int v = 12345;
    EXPECT_EQ(ParseIniInteger(GetParam().text, v), GetParam().ok) << GetParam().text;
    if (GetParam().ok)
        EXPECT_EQ(v, GetParam().value) << GetParam().text;
    else
        EXPECT_EQ(v, 12345) << "a refused text must leave the value alone";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IniIntegerTest,
    ::testing::Values(IntCase{"4", true, 4}, IntCase{" 12 ", true, 12}, IntCase{"-3", true, -3},
                      IntCase{"+7", true, 7}, IntCase{"0", true, 0},
                      IntCase{"2147483647", true, INT_MAX}, IntCase{"-2147483648", true, INT_MIN},
                      IntCase{"2147483648", false, 0}, IntCase{"-2147483649", false, 0},
                      IntCase{"99999999999999999999999", false, 0}, IntCase{"", false, 0},
                      IntCase{"-", false, 0}, IntCase{"4x", false, 0}, IntCase{"0x10", false, 0},
                      IntCase{"1 2", false, 0}, IntCase{"five", false, 0}));

struct LookupCase {
    const char* what;
    std::string ini;
    const char* section;
    const char* entry;
    const char* expected;  // nullptr: missing
};

// Readable test names: the case's description.
void PrintTo(const LookupCase& c, std::ostream* os) {
    *os << c.what;
}

class IniLookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(IniLookupTest, ValuesReadAsTheRegistryWouldHoldThem) {
    const LookupCase& c = GetParam();
    CIniSettingsStore store;
    store.LoadText(c.ini);
    const std::string got = store.GetString(c.section, c.entry, "<missing>");
    EXPECT_EQ(got, c.expected ? c.expected : "<missing>") << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniLookupTest,
    ::testing::Values(
        LookupCase{"section and value names ignore case", "[COM]\nserver=whois.a.test\n", "com",
                   "Server", "whois.a.test"},
        LookupCase{"blanks around the equals sign", "[com]\nQuery Prefix  =  domain \n", "com",
                   "Query Prefix", "domain"},
        LookupCase{"indented line is a value of its own, not a continuation",
                   "[com]\nQuery Prefix=domain\n    Server=whois.b.test\n", "com", "Server",
                   "whois.b.test"},
        LookupCase{"indented line leaves the previous value whole",
                   "[com]\nQuery Prefix=domain\n    Server=whois.b.test\n", "com", "Query Prefix",
                   "domain"},
        LookupCase{"semicolon inside a token is kept", "[nz]\nAvailable Token=220 ; Available\n",
                   "nz", "Available Token", "220 ; Available"},
        LookupCase{"later value of the same name wins", "[com]\nServer=one\nServer=two\n", "com",
                   "Server", "two"},
        LookupCase{"CR LF line ends", "[org]\r\nServer=whois.c.test\r\n", "org", "Server",
                   "whois.c.test"},
        LookupCase{"comment lines are skipped", "; Server=x\n# Server=y\n[org]\n", "org", "Server",
                   nullptr},
        LookupCase{"value before any section is not in a named section", "Server=x\n[org]\n", "org",
                   "Server", nullptr},
        LookupCase{"bad line skipped, later lines still read",
                   "[com]\nthis line has no equals sign\nServer=whois.d.test\n", "com", "Server",
                   "whois.d.test"},
        LookupCase{"UTF-8 byte-order mark at the start", "\xEF\xBB\xBF[com]\nServer=bom.test\n",
                   "com", "Server", "bom.test"},
        LookupCase{"zero byte ends the line's text", "[com]\nServer=ab\0cd\nQuery Prefix=p\n"s,
                   "com", "Query Prefix", "p"}));

TEST(IniSettingsStoreTest, VeryLongTokenLineIsReadWholeAndDoesNotSpillIntoANewLine) {
    const std::string longToken(50000, 'x');
    // Had the line been cut at a fixed length, its tail "Server=evil" would have become a value.
    const std::string ini = "[com]\nAvailable Token=" + longToken + "Server=evil\n";
    CIniSettingsStore store;
    EXPECT_EQ(store.LoadText(ini), 0);
    EXPECT_EQ(store.GetString("com", "Available Token"), longToken + "Server=evil");
    EXPECT_EQ(store.GetString("com", "Server", "none"), "none");
}

TEST(IniSettingsStoreTest, LineLongerThanAnyFileIsSkippedWholeAndReported) {
    // Only a text larger than the largest file read can hold such a line.
    const std::string ini = "[com]\nServer=" + std::string(kMaxSettingsFileBytes + 10, 'y') +
                            "Server=evil\nQuery Prefix=kept\n";
    CIniSettingsStore store;
    EXPECT_EQ(store.LoadText(ini), 2);
    EXPECT_EQ(store.GetString("com", "Server", "none"), "none");
    EXPECT_EQ(store.GetString("com", "Query Prefix"), "kept");
}

TEST(IniSettingsStoreTest, FirstBadLineNumberIsReported) {
    CIniSettingsStore store;
    EXPECT_EQ(store.LoadText("[com]\nServer=a\n[broken\nQuery Prefix=x\n"), 3);
}

TEST(IniSettingsStoreTest, OddIntegerValuesFallBackToTheDefaults) {
    CIniSettingsStore store;
    store.LoadText("[whois.a.test]\nMax Connections=lots\nConnection Interval=99999999999\n");
    EXPECT_EQ(store.GetInt("whois.a.test", "Max Connections", 1), 1);
    EXPECT_EQ(store.GetInt("whois.a.test", "Connection Interval", 12), 12);
}

TEST(IniSettingsStoreTest, LimitsAreKeyedByTheServerHostAsInTheRegistry) {
    CIniSettingsStore store;
    store.LoadText(
        "[com]\nServer=127.0.0.160\n[net]\nServer=127.0.0.160\n"
        "[127.0.0.160]\nMax Connections=3\nConnection Interval=0\n");
    int maxConnections = 0, interval = 0;
    GetConnectionLimits(store, "a.net", maxConnections, interval);
    EXPECT_EQ(maxConnections, 3);
    EXPECT_EQ(interval, 0);
    GetConnectionLimits(store, "a.org", maxConnections, interval);
    EXPECT_EQ(maxConnections, kDefaultMaxConnections);
    EXPECT_EQ(interval, kDefaultConnectionInterval);
}

TEST(IniSettingsStoreTest, BinaryGarbageLoadsWithoutHarm) {
    std::string garbage;
    unsigned x = 12345;
    for (int i = 0; i < 200000; ++i) {
        x = x * 1103515245u + 12345u;
        garbage.push_back(static_cast<char>(x >> 16));
    }
    CIniSettingsStore store;
    store.LoadText(garbage);
    std::string prefix;
    // Whatever it made of the bytes, lookups still answer.
    GetWhoisServer(store, "a.com", prefix);
    SUCCEED();
}

struct FileCase {
    const char* what;
    int kind;  // 0 missing, 1 directory, 2 too large, 3 good
    SettingsFileResult expected;
};

// Readable test names: the case's description.
void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.what;
}

class IniFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(IniFileTest, FileProblemsAreToldApart) {
    CTempDir dir;
    std::string path = dir.File("settings.ini");
    switch (GetParam().kind) {
        case 0:
            break;
        case 1:
            path = dir.Path();
            break;
        case 2:
            WriteFileBytes(path, std::string(kMaxSettingsFileBytes + 1, ';'));
            break;
        case 3:
            WriteFileBytes(path, "[com]\nServer=x\n");
            break;
    }
    CIniSettingsStore store;
    int badLine = -1;
    EXPECT_EQ(LoadIniSettingsFile(path, store, badLine), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Files, IniFileTest,
                         ::testing::Values(FileCase{"missing", 0, SettingsFileResult::Missing},
                                           FileCase{"a folder", 1, SettingsFileResult::Unreadable},
                                           FileCase{"over 1 MiB", 2, SettingsFileResult::TooLarge},
                                           FileCase{"good", 3, SettingsFileResult::Loaded}));

}  // namespace
