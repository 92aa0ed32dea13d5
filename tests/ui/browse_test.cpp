#include "ui/browse.h"

#include <gtest/gtest.h>

#include <string>

TEST(Browse, AddressIsBuiltOnlyFromSafeNames) {
    struct Case {
        std::string name;
        std::string address;
    } cases[] = {
        {"example.com", "http://www.example.com"},
        {"www.example.com", "http://www.www.example.com"},
        {"caf\xe9-1.net", "http://www.caf\xe9-1.net"},
        {"%s%n.com", "http://www.%s%n.com"},  // taken as text, never as a format
        {"", ""},
        {"a b.com", ""},
        {"a\"b.com", ""},
        {"x.com\" --new-window \"evil", ""},
        {"a\tb.com", ""},
        {"a\r\nb.com", ""},
        {"a\x7f.com", ""},
        {"a\x1f.com", ""},
        {std::string("a\0b.com", 7), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(BuildBrowseAddress(c.name), c.address) << c.name;
}

TEST(Browse, OpenCommandKeyFollowsTheFileType) {
    EXPECT_EQ(OpenCommandKey("htmlfile"), "htmlfile\\shell\\open\\command");
    EXPECT_EQ(OpenCommandKey(""), "\\shell\\open\\command");
}

TEST(Browse, CommandLineCutsAtThePlaceholderAndQuotesTheAddress) {
    const std::string a = "http://www.example.com";
    struct Case {
        const char* what;
        std::string command;
        std::string line;
    } cases[] = {
        {"quoted placeholder: cut before its opening quote",
         "\"C:\\Program Files\\Browser\\browser.exe\" \"%1\"",
         "\"C:\\Program Files\\Browser\\browser.exe\"  \"" + a + "\""},
        {"what follows the placeholder is dropped", "\"C:\\b.exe\" -nohome \"%1\" -flag",
         "\"C:\\b.exe\" -nohome  \"" + a + "\""},
        {"bare placeholder", "C:\\b.exe %1 /dde", "C:\\b.exe  \"" + a + "\""},
        {"quoted placeholder wins over an earlier bare one", "C:\\b.exe %1 \"%1\"",
         "C:\\b.exe %1  \"" + a + "\""},
        {"no placeholder: appended at the end", "C:\\b.exe -url", "C:\\b.exe -url \"" + a + "\""},
        {"other numbered placeholders are not ours", "C:\\b.exe %2", "C:\\b.exe %2 \"" + a + "\""},
        {"empty command", "", " \"" + a + "\""},
        {"placeholder at the start", "\"%1\"", " \"" + a + "\""},
    };
    for (const Case& c : cases) EXPECT_EQ(BuildBrowserCommandLine(c.command, a), c.line) << c.what;
}
