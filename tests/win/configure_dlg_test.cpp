// The Configure dialog against an in-memory settings store, driven inside its modal loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/settings_store.h"
#include "res/resource.h"
#include "tests/win/modal_driver.h"
#include "ui/configure_dlg_win.h"
#include "whois/extension_table.h"

namespace {

// Records refusals instead of showing the message box, and moves the focus as the box would.
class CTestConfigureDlg : public CConfigureDlg {
public:
    using CConfigureDlg::CConfigureDlg;
    struct Refusal {
        int control;
        std::string message;
    };
    std::vector<Refusal> refusals;

    void OnDataRefused(int controlId, const std::string& message) override {
        refusals.push_back({controlId, message});
        FocusControl(controlId);
    }
};

std::string Field(HWND h, int id) {
    char text[512] = {};
    ::GetDlgItemTextA(h, id, text, sizeof text);
    return text;
}

void SetField(HWND h, int id, const std::string& text) {
    ::SetDlgItemTextA(h, id, text.c_str());
}

int SelectedRow(HWND h) {
    return static_cast<int>(::SendDlgItemMessageA(h, IDC_EXTENSION_LIST, LB_GETCURSEL, 0, 0));
}

// Selects a row the way a click does: the selection moves, then the dialog hears of it.
void SelectRow(HWND h, int row) {
    HWND list = ::GetDlgItem(h, IDC_EXTENSION_LIST);
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_EXTENSION_LIST, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
}

int RowOf(CConfigureDlg& dlg, const std::string& extension) {
    for (int i = 0; i < dlg.GetExtensionCount(); ++i) {
        if (dlg.GetExtension(i) == extension)
            return i;
    }
    return -1;
}

struct Shown {
    std::string server, prefix, token, connections, interval;
};

Shown ShownFields(HWND h) {
    return {Field(h, IDC_SERVER), Field(h, IDC_QUERY_PREFIX), Field(h, IDC_AVAILABLE_TOKEN),
            Field(h, IDC_MAX_CONNECTIONS), Field(h, IDC_INTERVAL)};
}

// Runs the dialog with `action` inside it; `action` leaves it open, the helper closes it.
void RunConfigure(CTestConfigureDlg& dlg, const std::function<void(HWND)>& action) {
    CModalDriver driver("Configure", [&](HWND h) {
        action(h);
        if (::IsWindowVisible(h))
            ::SendMessageA(h, WM_COMMAND, IDCANCEL, 0);
    });
    dlg.DoModal();
    EXPECT_TRUE(driver.Ran());
}

}  // namespace

TEST(ConfigureDlg, FirstOpeningSeedsTheStoreAndShowsNoValues) {
    CMemorySettingsStore store;
    CTestConfigureDlg dlg(store);
    std::vector<std::string> rows;
    Shown shown;
    int selected = 0;
    RunConfigure(dlg, [&](HWND h) {
        for (int i = 0; i < dlg.GetExtensionCount(); ++i) rows.push_back(dlg.GetExtension(i));
        shown = ShownFields(h);
        selected = SelectedRow(h);
    });
    const std::vector<std::string> expected = {"com",  "net", "org",  "edu",  "uk",   "au", "in",
                                               "info", "biz", "aero", "coop", "name", "ws", "nl",
                                               "nu",   "de",  "ca",   "nz",   "us",   "fr", "tw"};
    EXPECT_EQ(rows, expected);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(store.GetString("Domains", std::to_string(i + 1)), expected[i]);
    }
    EXPECT_EQ(selected, LB_ERR);
    EXPECT_EQ(shown.server, "");
    EXPECT_EQ(shown.token, "");
    EXPECT_EQ(shown.connections, "0");
    EXPECT_EQ(shown.interval, "0");
}

TEST(ConfigureDlg, SelectingARowShowsItsStoredValues) {
    CMemorySettingsStore store;
    CTestConfigureDlg dlg(store);
    Shown com, org;
    RunConfigure(dlg, [&](HWND h) {
        SelectRow(h, RowOf(dlg, "com"));
        com = ShownFields(h);
        SelectRow(h, RowOf(dlg, "org"));
        org = ShownFields(h);
    });
    EXPECT_EQ(com.server, "whois.verisign-grs.com");
    EXPECT_EQ(com.prefix, "domain");
    EXPECT_EQ(com.token, "No match for");
    EXPECT_EQ(com.connections, "4");
    EXPECT_EQ(com.interval, "5");
    EXPECT_EQ(org.server, "whois.pir.org");
    EXPECT_EQ(org.prefix, "");
    EXPECT_EQ(org.token, "NOT FOUND");
    EXPECT_EQ(org.connections, "1");
    EXPECT_EQ(org.interval, "12");
}

TEST(ConfigureDlg, ServerLimitsAreSharedBetweenExtensionsOfOneServer) {
    CMemorySettingsStore store;
    CTestConfigureDlg dlg(store);
    Shown net;
    RunConfigure(dlg, [&](HWND h) {
        SelectRow(h, RowOf(dlg, "com"));
        SetField(h, IDC_MAX_CONNECTIONS, "2");
        SelectRow(h, RowOf(dlg, "net"));
        net = ShownFields(h);
    });
    EXPECT_EQ(net.connections, "2");
    EXPECT_EQ(store.GetInt("whois.verisign-grs.com", "Max Connections", -1), 2);
}

TEST(ConfigureDlg, EditsOfTheLastShownRowAreLostOnClose) {
    struct Case {
        const char* what;
        UINT command;
    } cases[] = {{"Close button", IDOK}, {"Escape", IDCANCEL}};
    for (const Case& c : cases) {
        CMemorySettingsStore store;
        CTestConfigureDlg dlg(store);
        INT_PTR result = 0;
        CModalDriver driver("Configure", [&](HWND h) {
            SelectRow(h, RowOf(dlg, "com"));
            SetField(h, IDC_INTERVAL, "9");
            SetField(h, IDC_AVAILABLE_TOKEN, "changed");
            CModalDriver::Click(h, static_cast<int>(c.command));
        });
        result = dlg.DoModal();
        EXPECT_EQ(result, static_cast<INT_PTR>(c.command)) << c.what;
        EXPECT_EQ(store.GetInt("whois.verisign-grs.com", "Connection Interval", -1), 5) << c.what;
        EXPECT_EQ(store.GetString("com", "Available Token"), "No match for") << c.what;
    }
}

TEST(ConfigureDlg, RefusedNumberStopsTheSelectionChangeAndKeepsTheEdits) {
    struct Case {
        const char* text;
        bool refused;
    } cases[] = {
        {"", true},    {"abc", true}, {"-0", true},   {"1.5", true},
        {"2 3", true}, {"0", false},  {" 7 ", false}, {"-3", false},
    };
    for (const Case& c : cases) {
        CMemorySettingsStore store;
        CTestConfigureDlg dlg(store);
        Shown after;
        int selected = -2, comRow = -1, orgRow = -1;
        HWND focus = nullptr, field = nullptr;
        RunConfigure(dlg, [&](HWND h) {
            comRow = RowOf(dlg, "com");
            orgRow = RowOf(dlg, "org");
            SelectRow(h, RowOf(dlg, "com"));
            SetField(h, IDC_QUERY_PREFIX, "edited");
            SetField(h, IDC_MAX_CONNECTIONS, c.text);
            SelectRow(h, RowOf(dlg, "org"));
            after = ShownFields(h);
            selected = SelectedRow(h);
            focus = ::GetFocus();
            field = ::GetDlgItem(h, IDC_MAX_CONNECTIONS);
        });
        if (c.refused) {
            ASSERT_EQ(dlg.refusals.size(), 1u) << c.text;
            EXPECT_EQ(dlg.refusals[0].control, IDC_MAX_CONNECTIONS);
            EXPECT_EQ(dlg.refusals[0].message, "Please enter an integer.");
            EXPECT_EQ(focus, field) << c.text;
            EXPECT_EQ(selected, comRow) << c.text;  // back on the row being edited
            EXPECT_EQ(after.prefix, "edited") << c.text;
            EXPECT_EQ(after.connections, c.text) << c.text;
            EXPECT_EQ(store.GetString("com", "Query Prefix"), "domain") << c.text;  // not stored
        } else {
            EXPECT_TRUE(dlg.refusals.empty()) << c.text;
            EXPECT_EQ(selected, orgRow) << c.text;
            EXPECT_EQ(after.server, "whois.pir.org") << c.text;
            EXPECT_EQ(store.GetString("com", "Query Prefix"), "edited") << c.text;
        }
    }
}

TEST(ConfigureDlg, NumbersBeyondTheRangeAreStoredClamped) {
    CMemorySettingsStore store;
    CTestConfigureDlg dlg(store);
    RunConfigure(dlg, [&](HWND h) {
        SelectRow(h, RowOf(dlg, "org"));
        SetField(h, IDC_MAX_CONNECTIONS, "99999999999999");
        SetField(h, IDC_INTERVAL, "-99999999999999");
        SelectRow(h, RowOf(dlg, "com"));
    });
    EXPECT_EQ(store.GetInt("whois.pir.org", "Max Connections", 0), INT_MAX);
    EXPECT_EQ(store.GetInt("whois.pir.org", "Connection Interval", 0), INT_MIN);
}

TEST(ConfigureDlg, ChangedServerTakesTheLimitsToTheNewHost) {
    CMemorySettingsStore store;
    CTestConfigureDlg dlg(store);
    RunConfigure(dlg, [&](HWND h) {
        SelectRow(h, RowOf(dlg, "com"));
        SetField(h, IDC_SERVER, "whois.example.test");
        SetField(h, IDC_MAX_CONNECTIONS, "3");
        SelectRow(h, RowOf(dlg, "org"));
    });
    EXPECT_EQ(store.GetString("com", "Server"), "whois.example.test");
    EXPECT_EQ(store.GetInt("whois.example.test", "Max Connections", -1), 3);
    EXPECT_EQ(store.GetInt("whois.verisign-grs.com", "Max Connections", -1), 4);
}

TEST(ConfigureDlg, EmptyServerStoresNoLimitsAnywhere) {
    CMemorySettingsStore store;
    CTestConfigureDlg dlg(store);
    Shown again;
    RunConfigure(dlg, [&](HWND h) {
        SelectRow(h, RowOf(dlg, "org"));
        SetField(h, IDC_SERVER, "");
        SetField(h, IDC_MAX_CONNECTIONS, "3");
        SelectRow(h, RowOf(dlg, "com"));
        SelectRow(h, RowOf(dlg, "org"));
        again = ShownFields(h);
    });
    EXPECT_EQ(store.GetString("org", "Server", "x"), "");
    EXPECT_EQ(store.GetInt("", "Max Connections", -1), -1);
    EXPECT_EQ(again.connections, "1");
    EXPECT_EQ(again.interval, "12");
}

TEST(ConfigureDlg, PlusSelectsAListedExtensionWhateverItsCase) {
    CMemorySettingsStore store;
    CTestConfigureDlg dlg(store);
    Shown shown;
    int selected = -1, comRow = -2;
    RunConfigure(dlg, [&](HWND h) {
        comRow = RowOf(dlg, "com");
        SelectRow(h, RowOf(dlg, "org"));
        SetField(h, IDC_AVAILABLE_TOKEN, "XYZ");
        SetField(h, IDC_NEW_EXTENSION, "  COM\t");
        CModalDriver::Click(h, IDC_ADD_EXTENSION);
        shown = ShownFields(h);
        selected = SelectedRow(h);
    });
    EXPECT_EQ(selected, comRow);
    EXPECT_EQ(shown.token, "No match for");
    EXPECT_EQ(store.GetString("org", "Available Token"), "XYZ");  // the row shown before
}

TEST(ConfigureDlg, PlusAppendsANewRowForThisOpeningOnly) {
    CMemorySettingsStore store;
    int countAfter = 0, countAgain = 0, selected = 0;
    std::string last, field;
    {
        CTestConfigureDlg dlg(store);
        RunConfigure(dlg, [&](HWND h) {
            SetField(h, IDC_NEW_EXTENSION, " xyz ");
            CModalDriver::Click(h, IDC_ADD_EXTENSION);
            countAfter = dlg.GetExtensionCount();
            last = dlg.GetExtension(countAfter - 1);
            selected = SelectedRow(h);
            field = Field(h, IDC_NEW_EXTENSION);
        });
    }
    {
        CTestConfigureDlg dlg(store);
        RunConfigure(dlg, [&](HWND) { countAgain = dlg.GetExtensionCount(); });
    }
    EXPECT_EQ(countAfter, 22);
    EXPECT_EQ(last, "xyz");
    EXPECT_EQ(selected, LB_ERR);
    EXPECT_EQ(field, " xyz ");  // the field keeps its text
    EXPECT_EQ(store.GetString("Domains", "22"), "");
    EXPECT_EQ(countAgain, 21);
}

TEST(ConfigureDlg, PlusWithABlankNameDoesNothing) {
    const char* cases[] = {"", "   ", "\t"};
    for (const char* text : cases) {
        CMemorySettingsStore store;
        CTestConfigureDlg dlg(store);
        int count = 0;
        RunConfigure(dlg, [&](HWND h) {
            SetField(h, IDC_NEW_EXTENSION, text);
            CModalDriver::Click(h, IDC_ADD_EXTENSION);
            count = dlg.GetExtensionCount();
        });
        EXPECT_EQ(count, 21) << "'" << text << "'";
    }
}

TEST(ConfigureDlg, StoredListIsShownWithoutSeedingAndWithoutRepeats) {
    CMemorySettingsStore store;
    store.WriteString("Domains", "1", "com");
    store.WriteString("Domains", "2", "NET");
    store.WriteString("Domains", "3", "Com");  // the same name again
    store.WriteString("Domains", "4", "zz");
    store.WriteString("Domains", "6", "org");  // after a gap: never read
    CTestConfigureDlg dlg(store);
    std::vector<std::string> rows;
    Shown zz;
    RunConfigure(dlg, [&](HWND h) {
        for (int i = 0; i < dlg.GetExtensionCount(); ++i) rows.push_back(dlg.GetExtension(i));
        SelectRow(h, RowOf(dlg, "zz"));
        zz = ShownFields(h);
    });
    EXPECT_EQ(rows, (std::vector<std::string>{"com", "NET", "zz"}));
    EXPECT_EQ(store.GetString("org", "Server"), "");  // nothing was seeded
    EXPECT_EQ(zz.server, "");
    EXPECT_EQ(zz.token, "");
    EXPECT_EQ(zz.connections, "1");
    EXPECT_EQ(zz.interval, "12");
}

TEST(ConfigureDlg, ValuesTypedBeforeAnySelectionAreNeverStored) {
    CMemorySettingsStore store;
    CTestConfigureDlg dlg(store);
    Shown com;
    RunConfigure(dlg, [&](HWND h) {
        SetField(h, IDC_SERVER, "typed.example");
        SetField(h, IDC_MAX_CONNECTIONS, "8");
        SelectRow(h, RowOf(dlg, "com"));
        com = ShownFields(h);
    });
    EXPECT_EQ(com.server, "whois.verisign-grs.com");
    EXPECT_EQ(store.GetInt("typed.example", "Max Connections", -1), -1);
}
