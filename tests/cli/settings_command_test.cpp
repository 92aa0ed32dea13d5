#include "cli/settings_command.h"

#include <gtest/gtest.h>

#include "cli/ini_settings_store.h"
#include "tests/cli/cli_process.h"
#include "whois/extension_table.h"

namespace {

TEST(EffectiveSettingsTest, EmptyStoreListsTheBuiltInTableWithDefaultLimits) {
    CIniSettingsStore store;
    const auto rows = CollectEffectiveSettings(store);
    ASSERT_EQ(rows.size(), static_cast<size_t>(kBuiltinExtensionCount));
    EXPECT_EQ(rows[0].extension, "com");
    EXPECT_EQ(rows[0].queryPrefix, "domain");
    EXPECT_EQ(rows[0].availableToken, "No match for");
    EXPECT_FALSE(rows[0].server.empty());
    // Never seeded: 1 and 12 for every server, .com's included.
    EXPECT_EQ(rows[0].maxConnections, 1);
    EXPECT_EQ(rows[0].connectionInterval, 12);
    EXPECT_EQ(rows[2].extension, "org");
    EXPECT_EQ(rows[2].queryPrefix, "");
}

TEST(EffectiveSettingsTest, ConfiguredListComesFirstAndBuiltInsAreNotRepeated) {
    CIniSettingsStore store;
    store.LoadText(
        "[Domains]\n1=xyz\n2=COM\n4=org\n"
        "[xyz]\nServer=whois.xyz.test\nAvailable Token=free!\n"
        "[com]\nServer=127.0.0.161\n"
        "[127.0.0.161]\nMax Connections=4\nConnection Interval=5\n");
    const auto rows = CollectEffectiveSettings(store);
    ASSERT_EQ(rows.size(), static_cast<size_t>(kBuiltinExtensionCount) + 1);
    EXPECT_EQ(rows[0].extension, "xyz");
    EXPECT_EQ(rows[0].server, "whois.xyz.test");
    EXPECT_EQ(rows[0].availableToken, "free!");
    EXPECT_EQ(rows[1].extension, "COM");
    EXPECT_EQ(rows[1].server, "127.0.0.161");
    // A server from the store travels with the store's (missing) prefix, not the table's.
    EXPECT_EQ(rows[1].queryPrefix, "");
    EXPECT_EQ(rows[1].availableToken, "No match for");
    EXPECT_EQ(rows[1].maxConnections, 4);
    EXPECT_EQ(rows[1].connectionInterval, 5);
    // The list ends at the gap before "4": org comes from the built-in part, after com's row.
    EXPECT_EQ(rows[2].extension, "net");
}

TEST(EffectiveSettingsTest, TsvRowHasSixCellsAndHostileTokenStaysInOneLine) {
    CIniSettingsStore store;
    store.LoadText("[Domains]\n1=odd\n[odd]\nServer=s\nAvailable Token=a\\tb\n");
    store.WriteString("odd", "Available Token", "tab\there");
    const std::string out =
        FormatEffectiveSettings(CollectEffectiveSettings(store), OutputFormat::Tsv);
    const auto lines = SplitLines(out);
    ASSERT_EQ(lines.size(), static_cast<size_t>(kBuiltinExtensionCount) + 1);
    for (const std::string& line : lines) EXPECT_EQ(SplitTabs(line).size(), 6u) << line;
    EXPECT_EQ(lines[0], "odd\ts\t\ttab\\there\t1\t12");
}

}  // namespace
