// The application name and folder derived from the executable's path: they name the registry key
// and the data file's folder, so odd paths must still give sensible names.
#include "framework/module_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(AppNameFromModulePath, BaseNameWithoutExtension) {
    struct Case {
        std::string path;
        std::string name;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Quorvix\\quorvix.exe", "quorvix"},
        {"C:\\Tools\\Quorvix.EXE", "Quorvix"},
        {"quorvix.exe", "quorvix"},
        {"Z:/tmp/build/tests/win/win_tests.exe", "win_tests"},
        {"C:\\a.b\\name.with.dots.exe", "name.with.dots"},  // only the last extension goes
        {"C:\\dir.ext\\noext", "noext"},                    // a dot in the folder is no extension
        {"C:\\dir\\.exe", ".exe"},                          // nothing but an extension: kept
        {"C:\\dir\\", ""},
        {"", ""},
        {"\\\\server\\share\\q.exe", "q"},
    };
    for (const Case& c : cases) EXPECT_EQ(AppNameFromModulePath(c.path), c.name) << c.path;
}

TEST(AppNameFromModulePath, OverlongNameIsCutTo255) {
    const std::string name(400, 'n');
    EXPECT_EQ(AppNameFromModulePath("C:\\x\\" + name + ".exe"), std::string(255, 'n'));
}

TEST(AppNameFromModulePath, BinaryBytesPassThrough) {
    const std::string odd = std::string("C:\\\x01\xff\\") + std::string("\x80\xfe\x7f", 3) + ".exe";
    EXPECT_EQ(AppNameFromModulePath(odd), std::string("\x80\xfe\x7f", 3));
}

TEST(FolderOfPath, KeepsTheLastSeparator) {
    struct Case {
        std::string path;
        std::string folder;
    };
    const Case cases[] = {
        {"C:\\Quorvix\\quorvix.exe", "C:\\Quorvix\\"},
        {"C:\\quorvix.exe", "C:\\"},
        {"Z:/tmp/quorvix.exe", "Z:/tmp/"},
        {"quorvix.exe", "\\"},  // no separator at all
        {"", "\\"},
    };
    for (const Case& c : cases) EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
}

}  // namespace
