// Saving the list's text to a file the user names.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/file_io.h"
#include "framework/settings_store.h"
#include "tests/support/temp_dir.h"
#include "ui/export_win.h"
#include "ui/file_prompt_win.h"

namespace {

class CChosenPath {
public:
    CChosenPath(bool answer, std::string path) {
        m_previous = SetFileDialogHook(
            [=, this](bool open, const std::string&, const std::string& title, std::string& out) {
                sawOpen = open;
                sawTitle = title;
                if (answer)
                    out = path;
                return answer;
            });
    }
    ~CChosenPath() { SetFileDialogHook(std::move(m_previous)); }
    bool sawOpen = true;
    std::string sawTitle;

private:
    FileDialogHook m_previous;
};

}  // namespace

TEST(ExportToFile, WritesEveryByteOfTheText) {
    CTempDir dir;
    const std::string path = dir.File("export.txt");
    const std::string cases[] = {
        "a.com\t?\t\t\t\t\t\t\t\r\nb.com\t?\t\t\t\t\t\t\t\r\n",
        std::string("zero\0inside\r\n", 13),
        std::string(2 << 20, 'e'),
        "",
    };
    for (const std::string& text : cases) {
        ASSERT_TRUE(WriteFileBytes(path, "an older, longer file that must be replaced"));
        CChosenPath chosen(true, path);
        CMemorySettingsStore store;
        std::vector<std::string> reports;
        EXPECT_TRUE(
            SaveTextToFile(store, text, [&](const std::string& m) { reports.push_back(m); }));
        EXPECT_EQ(ReadFileBytes(path), text);
        EXPECT_TRUE(reports.empty());
        EXPECT_FALSE(chosen.sawOpen);
        EXPECT_EQ(chosen.sawTitle, "Save File Name");
        EXPECT_FALSE(FileExists(path + ".tmp"));
    }
}

TEST(ExportToFile, CancelWritesNothing) {
    CTempDir dir;
    CChosenPath chosen(false, dir.File("never.txt"));
    CMemorySettingsStore store;
    int reports = 0;
    EXPECT_FALSE(SaveTextToFile(store, "x", [&](const std::string&) { ++reports; }));
    EXPECT_FALSE(FileExists(dir.File("never.txt")));
    EXPECT_EQ(reports, 0);
}

TEST(ExportToFile, FileThatCannotBeWrittenIsReportedByNameAndTheOldOneKept) {
    CTempDir dir;
    const std::string existing = dir.File("kept.txt");
    ASSERT_TRUE(WriteFileBytes(existing, "old contents"));
    struct Case {
        const char* what;
        std::string path;
        CFileFaults faults;
    } cases[] = {
        {"folder that does not exist", dir.File("no\\such\\folder\\x.txt"), {}},
        {"disk full half way", existing, {3, false, false}},
        {"file cannot be replaced", existing, {-1, false, true}},
    };
    for (const Case& c : cases) {
        CChosenPath chosen(true, c.path);
        CMemorySettingsStore store;
        std::vector<std::string> reports;
        SetFileFaultsForTesting(&c.faults);
        const bool ok = SaveTextToFile(store, "new text that is longer",
                                       [&](const std::string& m) { reports.push_back(m); });
        SetFileFaultsForTesting(nullptr);
        EXPECT_FALSE(ok) << c.what;
        ASSERT_EQ(reports.size(), 1u) << c.what;
        EXPECT_NE(reports[0].find(c.path), std::string::npos) << reports[0];
        EXPECT_EQ(ReadFileBytes(existing), "old contents") << c.what;
        EXPECT_FALSE(FileExists(c.path + ".tmp")) << c.what;
    }
}

TEST(ExportToFile, SaveRemembersTheFolder) {
    CTempDir dir;
    const std::string path = dir.File("out.txt");
    CChosenPath chosen(true, path);
    CMemorySettingsStore store;
    ASSERT_TRUE(SaveTextToFile(store, "x", nullptr));
    EXPECT_EQ(store.GetString("File Path", "txt"), RememberedFolderPattern(path, "txt"));
}
