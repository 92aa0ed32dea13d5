#include "framework/registry_store.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "domains/ser_string_array.h"
#include "whois/extension_table.h"

TEST(RegistryStore, ApplicationNameIsBaseNameWithoutExtension) {
    struct Case {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\Program Files\\Quorvix\\quorvix.exe", "quorvix"},
        {"C:\\Tools.v2\\Checker", "Checker"},
        {"D:/mixed\\slashes/app.EXE", "app"},
        {"quorvix.exe", "quorvix"},
        {"archive.tar.exe", "archive.tar"},
        {"quorvix", "quorvix"},
        {"quorvix.", "quorvix"},
        {"C:\\dir\\.exe", ".exe"},  // never an empty key level for a name that has one
        {"C:\\dir\\", ""},
        {"", ""},
        {"\\\\server\\share\\tool.exe", "tool"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ApplicationNameFromExePath(c.path), c.name) << c.path;
    }
}

TEST(RegistryStore, ProfileKeyPathNestsCompanyApplicationSection) {
    EXPECT_EQ(ProfileKeyPath("Corvane Technologies", "quorvix", "Domains"),
              "Software\\Corvane Technologies\\quorvix\\Domains");
    EXPECT_EQ(ProfileKeyPath("Corvane Technologies", "quorvix", "whois.verisign-grs.com"),
              "Software\\Corvane Technologies\\quorvix\\whois.verisign-grs.com");
    EXPECT_EQ(ProfileKeyPath("Corvane Technologies", "quorvix"),
              "Software\\Corvane Technologies\\quorvix");
}

#ifdef _WIN32

namespace {

const char* const kCompany = "Corvane Technologies";

// A fresh application name per fixture, removed with everything below it afterwards.
class RegistryStoreTest : public ::testing::Test {
protected:
    RegistryStoreTest()
        : m_strApp("QuorvixRegistryTest" + std::to_string(GetCurrentProcessId()) + "_" +
                   std::to_string(s_nCounter++)),
          m_store(kCompany, m_strApp) {}
    void SetUp() override { RemoveAll(); }
    void TearDown() override { RemoveAll(); }

    void RemoveAll() {
        RegDeleteTreeA(HKEY_CURRENT_USER, ProfileKeyPath(kCompany, m_strApp).c_str());
    }

    // Writes a raw value below the section, as another program (or damage) could have left it.
    void Plant(const std::string& section, const std::string& entry, DWORD type,
               const std::string& bytes) {
        CRegistryKey key;
        ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, ProfileKeyPath(kCompany, m_strApp, section),
                               KEY_SET_VALUE));
        ASSERT_EQ(RegSetValueExA(key.Get(), entry.c_str(), 0, type,
                                 reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }

    // The raw type and bytes below the section, read straight from the registry.
    bool Raw(const std::string& section, const std::string& entry, DWORD& type,
             std::string& bytes) {
        HKEY h = nullptr;
        const std::string path = "Software\\Corvane Technologies\\" + m_strApp + "\\" + section;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &h) !=
            ERROR_SUCCESS) {
            return false;
        }
        DWORD size = 0;
        LONG rc = RegQueryValueExA(h, entry.c_str(), nullptr, &type, nullptr, &size);
        bytes.assign(size, '\0');
        if (rc == ERROR_SUCCESS && size > 0) {
            rc = RegQueryValueExA(h, entry.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(bytes.data()), &size);
            bytes.resize(size);
        }
        RegCloseKey(h);
        return rc == ERROR_SUCCESS;
    }

    static inline int s_nCounter = 0;
    std::string m_strApp;
    CRegistrySettingsStore m_store;
};

std::string Dword(DWORD v) {
    return std::string(reinterpret_cast<const char*>(&v), sizeof v);
}

}  // namespace

TEST_F(RegistryStoreTest, ValuesLandUnderTheProfileKeyAsSzAndDword) {
    ASSERT_TRUE(m_store.WriteString("Domains", "1", "com"));
    ASSERT_TRUE(m_store.WriteInt("whois.verisign-grs.com", "Max Connections", 4));
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(Raw("Domains", "1", type, bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, std::string("com", 4));  // terminating zero included
    ASSERT_TRUE(Raw("whois.verisign-grs.com", "Max Connections", type, bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(bytes, Dword(4));
}

TEST_F(RegistryStoreTest, TextAndIntegersReadBackWithTheSameNames) {
    const std::string longest(kMaxProfileTextBytes, 'L');
    struct TextCase {
        const char* section;
        const char* entry;
        std::string value;
    } texts[] = {
        {"com", "Query Prefix", "domain"},
        {"org", "Query Prefix", ""},  // empty is a value, not a missing one
        {"tw", "Available Token", "NO MATCH: This domain is available!"},
        {"File Path", "txt", "C:\\Users\\me\\Desktop\\"},
        {"Settings", "WindowPos", std::string("\x01\x7f\xe9\xff text", 9)},
        {"big", "longest", longest},
    };
    for (const TextCase& c : texts) {
        ASSERT_TRUE(m_store.WriteString(c.section, c.entry, c.value)) << c.entry;
        EXPECT_EQ(m_store.GetString(c.section, c.entry, "default"), c.value) << c.entry;
    }
    for (int v : {0, 1, 12, -1, INT_MAX, INT_MIN}) {
        ASSERT_TRUE(m_store.WriteInt("host.example", "Connection Interval", v));
        EXPECT_EQ(m_store.GetInt("host.example", "Connection Interval", 99), v);
    }
}

TEST_F(RegistryStoreTest, NamesCompareWithoutRegardToCase) {
    ASSERT_TRUE(m_store.WriteString("COM", "Server", "whois.example.test"));
    EXPECT_EQ(m_store.GetString("com", "SERVER"), "whois.example.test");
    ASSERT_TRUE(m_store.WriteInt("Whois.Example.Test", "max connections", 3));
    EXPECT_EQ(m_store.GetInt("whois.example.test", "Max Connections", 1), 3);
}

TEST_F(RegistryStoreTest, MissingKeyOrValueGivesTheDefault) {
    EXPECT_EQ(m_store.GetString("nosuchsection", "Server", "def"), "def");
    EXPECT_EQ(m_store.GetInt("nosuchsection", "Max Connections", 12), 12);
    ASSERT_TRUE(m_store.WriteString("com", "Server", "x"));
    EXPECT_EQ(m_store.GetString("com", "Query Prefix", "def"), "def");
    EXPECT_EQ(m_store.GetInt("com", "Max Connections", 7), 7);
}

TEST_F(RegistryStoreTest, OddTextValuesFallBackToTheDefault) {
    struct Case {
        const char* what;
        DWORD type;
        std::string bytes;
        const char* expected;
    } cases[] = {
        {"binary", REG_BINARY, std::string("abc\0", 4), "default"},
        {"dword", REG_DWORD, Dword(7), "default"},
        {"multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5), "default"},
        {"expand", REG_EXPAND_SZ, std::string("%TEMP%\0", 7), "default"},
        {"no bytes at all", REG_SZ, "", "default"},
        {"huge", REG_SZ, std::string(1 << 20, 'h') + '\0', "default"},
        {"just past the limit", REG_SZ, std::string(kMaxProfileTextBytes + 1, 'p') + '\0',
         "default"},
        {"zero inside", REG_SZ, std::string("ab\0cd\0", 6), "ab"},
    };
    for (const Case& c : cases) {
        Plant("odd", c.what, c.type, c.bytes);
        EXPECT_EQ(m_store.GetString("odd", c.what, "default"), c.expected) << c.what;
    }
}

TEST_F(RegistryStoreTest, UnterminatedTextIsNeverReadPastItsBytes) {
    // The ANSI query may hand the text back terminated (Wine does) or not; either way nothing
    // beyond the stored bytes may appear, whatever lay in memory after them.
    for (size_t n : {size_t(1), size_t(3), size_t(100), kMaxProfileTextBytes}) {
        const std::string text(n, 'u');
        Plant("odd", "unterminated", REG_SZ, text);
        const std::string got = m_store.GetString("odd", "unterminated", "default");
        EXPECT_TRUE(got == text || got == "default") << n << ": " << got.size();
    }
}

TEST_F(RegistryStoreTest, OddIntegerValuesFallBackToTheDefault) {
    struct Case {
        const char* what;
        DWORD type;
        std::string bytes;
        int expected;
    } cases[] = {
        {"text", REG_SZ, std::string("4\0", 2), -5},
        {"binary of four bytes", REG_BINARY, Dword(4), -5},
        {"short dword", REG_DWORD, std::string("\x04\x00", 2), -5},
        {"empty dword", REG_DWORD, "", -5},
        {"qword", REG_QWORD, Dword(4) + Dword(0), -5},
        {"big endian", REG_DWORD_BIG_ENDIAN, Dword(4), -5},
        {"all ones", REG_DWORD, Dword(0xffffffffu), -1},
    };
    for (const Case& c : cases) {
        Plant("odd", c.what, c.type, c.bytes);
        EXPECT_EQ(m_store.GetInt("odd", c.what, -5), c.expected) << c.what;
    }
}

TEST_F(RegistryStoreTest, RefusedWritesLeaveTheStoredValue) {
    ASSERT_TRUE(m_store.WriteString("com", "Server", "kept"));
    EXPECT_FALSE(m_store.WriteString("com", "Server", std::string("cut\0off", 7)));
    EXPECT_FALSE(m_store.WriteString("com", "Server", std::string(kMaxProfileTextBytes + 1, 'x')));
    EXPECT_FALSE(m_store.WriteString("com", std::string("Ser\0ver", 7), "other"));
    EXPECT_FALSE(m_store.WriteString(std::string("com\0x", 5), "Server", "other"));
    EXPECT_EQ(m_store.GetString("com", "Server"), "kept");
    // An empty section would be the application's own key.
    EXPECT_FALSE(m_store.WriteString("", "Server", "x"));
    EXPECT_FALSE(m_store.WriteInt("", "Max Connections", 3));
    EXPECT_EQ(m_store.GetString("", "Server", "def"), "def");
    DWORD type = 0;
    std::string bytes;
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, ProfileKeyPath(kCompany, m_strApp).c_str(), 0,
                            KEY_QUERY_VALUE, &h),
              ERROR_SUCCESS);
    EXPECT_NE(RegQueryValueExA(h, "Server", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    RegCloseKey(h);
}

TEST_F(RegistryStoreTest, ApplicationsDoNotSeeEachOthersValues) {
    CRegistrySettingsStore other(kCompany, m_strApp + "_other");
    ASSERT_TRUE(m_store.WriteString("com", "Server", "mine"));
    EXPECT_EQ(other.GetString("com", "Server", "def"), "def");
    RegDeleteTreeA(HKEY_CURRENT_USER, ProfileKeyPath(kCompany, m_strApp + "_other").c_str());
}

TEST_F(RegistryStoreTest, SeededTableReadsBackThroughTheLookups) {
    CSerStringArray list;
    SeedExtensionSettings(m_store, list);
    EXPECT_EQ(list.GetSize(), kBuiltinExtensionCount);
    int max = 0, interval = 0;
    GetConnectionLimits(m_store, "example.com", max, interval);
    EXPECT_EQ(max, 4);
    EXPECT_EQ(interval, 5);
    GetConnectionLimits(m_store, "example.org", max, interval);
    EXPECT_EQ(max, 1);
    EXPECT_EQ(interval, 12);
    std::string prefix;
    EXPECT_EQ(GetWhoisServer(m_store, "EXAMPLE.NET", prefix), "whois.verisign-grs.com");
    EXPECT_EQ(prefix, "domain");
    EXPECT_EQ(m_store.GetString("Domains", "21"), "tw");
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(Raw("whois.verisign-grs.com", "Connection Interval", type, bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(bytes, Dword(5));
}

TEST_F(RegistryStoreTest, KeyWrapperMovesOwnership) {
    CRegistryKey a;
    ASSERT_TRUE(a.Create(HKEY_CURRENT_USER, ProfileKeyPath(kCompany, m_strApp, "move"),
                         KEY_SET_VALUE | KEY_QUERY_VALUE));
    const HKEY h = a.Get();
    CRegistryKey b(std::move(a));
    EXPECT_FALSE(a.IsOpen());
    EXPECT_EQ(b.Get(), h);
    CRegistryKey c;
    c = std::move(b);
    EXPECT_FALSE(b.IsOpen());
    EXPECT_EQ(c.Get(), h);
    EXPECT_FALSE(
        c.Open(HKEY_CURRENT_USER, ProfileKeyPath(kCompany, m_strApp, "absent"), KEY_QUERY_VALUE));
    EXPECT_FALSE(c.IsOpen());
}

#endif  // _WIN32
