// The application's start-up: a sockets layer that is not version 1.1 ends the program with its
// message and no window; otherwise the main window runs on the registry profile under the key
// word and the executable's name. Also the main window on that registry profile itself.
#include "tests/win/checker_dlg_test_fixture.h"

#include "app/checker_app_win.h"
#include "framework/app_win.h"
#include "framework/registry_store.h"
#include "framework/socket_library.h"
#include "tests/support/fake_whois_server.h"
#include "ui/window_placement.h"
#include "whois/extension_table.h"

namespace {

class CScriptedApp : public CCheckerApp {
public:
    explicit CScriptedApp(bool socketsWork)
        : CCheckerApp(::GetModuleHandleA(nullptr)), m_bSocketsWork(socketsWork) {}

    std::vector<std::string> alerts;
    int windowsRun = 0;
    std::string settingsKey;

protected:
    bool SocketsStarted(const CSocketLibrary& sockets) const override {
        return m_bSocketsWork && CCheckerApp::SocketsStarted(sockets);
    }
    void Alert(const std::string& text) override { alerts.push_back(text); }
    void RunMainWindow(std::shared_ptr<ISettingsStore> store) override {
        ++windowsRun;
        if (auto* registry = dynamic_cast<CRegistrySettingsStore*>(store.get()))
            settingsKey = registry->SectionKeyPath(kSectionSettings);
    }

private:
    bool m_bSocketsWork;
};

TEST(CheckerAppTest, SocketsFailureShowsItsMessageAndOpensNoWindow) {
    CScriptedApp app(false);
    EXPECT_EQ(app.Run(), 1);
    EXPECT_EQ(app.alerts, std::vector<std::string>{"Unable to Initialize WinSock"});
    EXPECT_EQ(app.windowsRun, 0);
}

TEST(CheckerAppTest, MainWindowRunsOnTheProfileOfTheKeyWordAndTheProgramName) {
    CScriptedApp app(true);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(app.alerts.empty());
    EXPECT_EQ(app.windowsRun, 1);
    EXPECT_EQ(app.settingsKey, "Software\\Corvane Technologies\\" + GetAppName() + "\\Settings");
}

// ---- the main window on a registry profile of its own ----

constexpr const char* kTestApp = "QuorvixWindowTest";

std::string ReadRegistryText(const std::string& path, const char* value) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<no key>";
    char buffer[256] = {};
    DWORD size = sizeof(buffer) - 1;
    DWORD type = 0;
    const LONG rc =
        ::RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return "<no value>";
    return buffer;
}

class CheckerDlgRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveProfile(); }
    void TearDown() override {
        m_dlg.reset();
        PumpMessages();
        RemoveProfile();
    }
    static void RemoveProfile() {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, ProfileKeyPath(kRegistryKeyWord, kTestApp).c_str());
    }

    CTempDir m_dir;
    std::unique_ptr<CCheckerDlg> m_dlg;
};

TEST_F(CheckerDlgRegistryTest, CloseWritesWindowPosUnderTheApplicationsKey) {
    auto store = std::make_shared<CRegistrySettingsStore>(kRegistryKeyWord, kTestApp);
    m_dlg = std::make_unique<CCheckerDlg>(store, m_dir.File("quorvix.dcd"));
    ASSERT_TRUE(m_dlg->CreateModeless());
    ::SetWindowPos(m_dlg->GetHandle(), nullptr, 40, 50, 640, 420, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageA(m_dlg->GetHandle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PumpMessages();
    ASSERT_EQ(m_dlg->GetHandle(), nullptr);
    const std::string stored = ReadRegistryText(
        "Software\\Corvane Technologies\\QuorvixWindowTest\\Settings", "WindowPos");
    CPlacementRecord placement;
    ASSERT_TRUE(ParsePlacement(stored, placement)) << stored;
    EXPECT_EQ(placement.m_nLeft, 40);
    EXPECT_EQ(placement.m_nTop, 50);
    EXPECT_EQ(placement.m_nRight, 680);
    EXPECT_EQ(placement.m_nBottom, 470);

    // The next window opens where this one was closed.
    m_dlg = std::make_unique<CCheckerDlg>(store, m_dir.File("quorvix.dcd"));
    ASSERT_TRUE(m_dlg->CreateModeless());
    RECT rc;
    ::GetWindowRect(m_dlg->GetHandle(), &rc);
    EXPECT_EQ(rc.left, 40);
    EXPECT_EQ(rc.top, 50);
    EXPECT_EQ(rc.right - rc.left, 640);
}

TEST_F(CheckerDlgRegistryTest, StrayRegistryValueTypeForWindowPosIsIgnored) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER,
                                "Software\\Corvane Technologies\\QuorvixWindowTest\\Settings", 0,
                                nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD number = 12345;
    ::RegSetValueExA(key, "WindowPos", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                     sizeof(number));
    ::RegCloseKey(key);
    auto store = std::make_shared<CRegistrySettingsStore>(kRegistryKeyWord, kTestApp);
    m_dlg = std::make_unique<CCheckerDlg>(store, m_dir.File("quorvix.dcd"));
    ASSERT_TRUE(m_dlg->CreateModeless());
    EXPECT_TRUE(::IsWindowVisible(m_dlg->GetHandle()));
    // Centred, at the template's size.
    RECT rc;
    ::GetWindowRect(m_dlg->GetHandle(), &rc);
    EXPECT_LE(std::abs((rc.left + rc.right) / 2 - ::GetSystemMetrics(SM_CXSCREEN) / 2), 1);
}

TEST_F(CheckerDlgRegistryTest, WorkersAskTheServerNamedInTheRegistryProfile) {
    constexpr const char* kServer = "127.0.0.72";
    auto store = std::make_shared<CRegistrySettingsStore>(kRegistryKeyWord, kTestApp);
    ASSERT_TRUE(store->WriteString("com", kValueServer, kServer));
    ASSERT_TRUE(store->WriteString("com", kValueQueryPrefix, "domain"));
    ASSERT_TRUE(store->WriteInt(kServer, kValueMaxConnections, 4));
    ASSERT_TRUE(store->WriteInt(kServer, kValueConnectionInterval, 0));
    FakeServerOptions options;
    options.address = kServer;
    options.port = 43;
    options.maxConnections = 2;
    options.timeLimitMs = 20000;
    CFakeWhoisServer server(options, {FakeReply::Answer("No match for \"FREE-REG.COM\".\r\n")});
    ASSERT_TRUE(server.IsRunning());

    m_dlg = std::make_unique<CCheckerDlg>(store, m_dir.File("quorvix.dcd"));
    ASSERT_TRUE(m_dlg->CreateModeless());
    m_dlg->GetDomains().AddName("free-reg.com");
    m_dlg->GetList().SetItemCount(1);
    ::SendMessageA(m_dlg->GetHandle(), WM_COMMAND, MAKEWPARAM(IDC_LOOKUP_ALL, BN_CLICKED), 0);
    ASSERT_TRUE(
        PumpUntil([&] { return m_dlg->GetDomains().GetRecord(0)->m_nState == STATE_FREE; }, 10000));
    ASSERT_EQ(server.ConnectionCount(), 1);
    EXPECT_EQ(server.Connections()[0].query, "domain free-reg.com");
}

}  // namespace
