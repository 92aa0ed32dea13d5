// The data file passes between the Windows build and this one: quorvix-cli.exe (the Windows
// program's archive code, run under Wine) writes a list that this build's dump reads, and reads a
// list that this build wrote, and both builds print the same records. Needs the MinGW build tree
// and Wine; skipped without them. Fake server on 127.0.0.172.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/fake_whois_server.h"
#include "tests/support/temp_dir.h"

namespace {

const char kTaken[] =
    "Domain Name: TAKEN.COM\r\nRegistrar: EXAMPLE REGISTRAR, INC.\r\n"
    "Whois Server: whois.registrar.test\r\nStatus: ACTIVE\r\n"
    "Creation Date: 14-aug-1995\r\nExpiration Date: 2027-08-13\r\n";

std::string WithoutCarriageReturns(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// The records of a JSON dump without their checked-on times, which differ between two runs.
std::vector<nlohmann::json> RecordsWithoutCheckTimes(const std::string& dump) {
    std::vector<nlohmann::json> records;
    for (const std::string& line : SplitLines(WithoutCarriageReturns(dump))) {
        nlohmann::json o = nlohmann::json::parse(line);
        EXPECT_FALSE(o["checked"].is_null()) << line;
        o["checked"] = "<time>";
        records.push_back(o);
    }
    return records;
}

class CliWineExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        exe = QUORVIX_WINDOWS_CLI;
        if (!FileExists(exe))
            GTEST_SKIP() << "no Windows build at " << exe;
        if (RunProcess("/bin/sh", {"-c", "command -v wine"}).exitCode != 0) {
            GTEST_SKIP() << "Wine is not installed";
        }
        FakeServerOptions o;
        o.address = "127.0.0.172";
        o.timeLimitMs = 240000;
        o.maxConnections = 20;
        server = std::make_unique<CFakeWhoisServer>(
            o, std::vector<FakeReply>{FakeReply::PerQuery([](const std::string& q) {
                return q.find("taken") != std::string::npos
                           ? std::string(kTaken)
                           : std::string("No match for \"FREE.COM\".\r\n");
            })});
        ASSERT_TRUE(server->IsRunning());
        wineEnv = CliTestEnvironment(dir.Path(), server->Port(), 50);
        wineEnv.insert(wineEnv.end(),
                       {"WINEPREFIX=" + dir.File("prefix"), "WINEDEBUG=-all",
                        "WINEDLLOVERRIDES=mscoree,mshtml=", "QUORVIX_WINE_ENV=", "DISPLAY="});
    }

    void TearDown() override {
        if (!wineEnv.empty()) {
            ProcessOptions p;
            p.env = wineEnv;
            RunProcess("/usr/bin/wineserver", {"-k"}, p);
        }
    }

    // A Windows program (quorvix-cli.exe, or one of Wine's own such as reg) in the prefix.
    ProcessResult Wine(const std::vector<std::string>& all) {
        ProcessOptions p;
        p.env = wineEnv;
        p.inputFromNull = true;
        p.timeoutMs = 180000;
        return RunProcess(QUORVIX_WINE_RUN, all, p);
    }

    ProcessResult Native(const std::vector<std::string>& args) {
        ProcessOptions p;
        p.env = CliTestEnvironment(dir.Path(), server->Port(), 50);
        p.inputFromNull = true;
        return RunQuorvixCli(args, p);
    }

    ProcessResult WineCli(std::vector<std::string> args) {
        args.insert(args.begin(), exe);
        return Wine(args);
    }

    CTempDir dir;
    std::string exe;
    std::unique_ptr<CFakeWhoisServer> server;
    std::vector<std::string> wineEnv;
};

TEST_F(CliWineExchangeTest, FilesWrittenByEitherBuildReadTheSameInTheOther) {
    // The Windows program's settings live in the registry of the prefix, under the desktop
    // program's application name.
    const std::string reg = dir.File("settings.reg");
    WriteFileBytes(reg,
                   "REGEDIT4\r\n\r\n"
                   "[HKEY_CURRENT_USER\\Software\\Corvane Technologies\\quorvix\\com]\r\n"
                   "\"Server\"=\"127.0.0.172\"\r\n\r\n"
                   "[HKEY_CURRENT_USER\\Software\\Corvane Technologies\\quorvix\\127.0.0.172]\r\n"
                   "\"Max Connections\"=dword:00000008\r\n"
                   "\"Connection Interval\"=dword:00000000\r\n\r\n");
    const ProcessResult imported = Wine({"reg", "import", "Z:" + reg});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    const std::string ini = dir.File("settings.ini");
    WriteFileBytes(ini,
                   "[com]\nServer=127.0.0.172\n[127.0.0.172]\nMax Connections=8\n"
                   "Connection Interval=0\n");

    const std::string winFile = dir.File("windows.dcd");
    const std::string nativeFile = dir.File("native.dcd");
    const std::vector<std::string> names = {"taken.com", "free.com", "nodot"};

    std::vector<std::string> winArgs = {"check", "--data", "Z:" + winFile};
    winArgs.insert(winArgs.end(), names.begin(), names.end());
    const ProcessResult wrote = WineCli(winArgs);
    ASSERT_FALSE(wrote.timedOut);
    ASSERT_EQ(wrote.exitCode, 1) << "nodot ends in error; " << wrote.err;
    ASSERT_TRUE(FileExists(winFile)) << wrote.err;

    std::vector<std::string> nativeArgs = {"check", "--settings", ini, "--data", nativeFile};
    nativeArgs.insert(nativeArgs.end(), names.begin(), names.end());
    ASSERT_EQ(Native(nativeArgs).exitCode, 1);

    // Windows wrote, this build reads: the same records as this build's own file.
    const ProcessResult nativeReadsWin = Native({"dump", "--format", "json", "--whois", winFile});
    ASSERT_EQ(nativeReadsWin.exitCode, 0) << nativeReadsWin.err;
    const ProcessResult nativeReadsNative =
        Native({"dump", "--format", "json", "--whois", nativeFile});
    ASSERT_EQ(nativeReadsNative.exitCode, 0) << nativeReadsNative.err;
    EXPECT_EQ(RecordsWithoutCheckTimes(nativeReadsWin.out),
              RecordsWithoutCheckTimes(nativeReadsNative.out));
    ASSERT_EQ(SplitLines(nativeReadsWin.out).size(), 3u);

    // This build wrote, Windows reads: byte for byte what this build prints, in both formats.
    for (const std::vector<std::string>& format :
         {std::vector<std::string>{"--format", "json", "--whois"}, std::vector<std::string>{}}) {
        std::vector<std::string> winDump = {"dump"};
        winDump.insert(winDump.end(), format.begin(), format.end());
        std::vector<std::string> natDump = winDump;
        winDump.push_back("Z:" + nativeFile);
        natDump.push_back(nativeFile);
        const ProcessResult w = WineCli(winDump);
        ASSERT_EQ(w.exitCode, 0) << w.err;
        const ProcessResult n = Native(natDump);
        ASSERT_EQ(n.exitCode, 0) << n.err;
        EXPECT_EQ(WithoutCarriageReturns(w.out), n.out);
    }
}

}  // namespace
