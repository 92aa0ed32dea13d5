// Data exchange between dialog members and controls: both directions in the listed order, a
// refused integer stops the transfer at its control, names it and gets the focus, and texts of
// any length and content survive the round trip.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "framework/data_exchange_win.h"
#include "framework/dialog_win.h"
#include "framework/window_win.h"
#include "res/resource.h"

namespace {

// Digits only, at least one; enough to tell accepted from refused.
bool AcceptDigits(std::string_view text, int& value) {
    if (text.empty() || text.size() > 9)
        return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    value = v;
    return true;
}

constexpr char kRefusal[] = "Please enter an integer.";

// The Configure template with members bound in the order that dialog uses.
class CExchangeDlg : public CModelessDialog {
public:
    CExchangeDlg() : CModelessDialog(IDD_CONFIGURE) {}

    CWindow m_listBox;
    std::string m_strAvailableToken;
    int m_nInterval = 0;
    int m_nMaxConnections = 0;
    std::string m_strQueryPrefix;
    std::string m_strServer;
    int m_nSel = -1;
    std::string m_strNewExtension;

    struct Refusal {
        int id;
        std::string message;
    };
    std::vector<Refusal> refusals;

    void OnDataRefused(int controlId, const std::string& message) override {
        refusals.push_back({controlId, message});
        FocusControl(controlId);  // what the user would see, without the message box
    }

    void SetItem(int id, const std::string& text) { SetItemText(id, text); }

protected:
    void DoDataExchange(CDataExchange& dx) override {
        dx.Control(IDC_EXTENSION_LIST, m_listBox);
        dx.Text(IDC_AVAILABLE_TOKEN, m_strAvailableToken);
        dx.Int(IDC_INTERVAL, m_nInterval, AcceptDigits, kRefusal);
        dx.Int(IDC_MAX_CONNECTIONS, m_nMaxConnections, AcceptDigits, kRefusal);
        dx.Text(IDC_QUERY_PREFIX, m_strQueryPrefix);
        dx.Text(IDC_SERVER, m_strServer);
        dx.ListBoxIndex(IDC_EXTENSION_LIST, m_nSel);
        dx.Text(IDC_NEW_EXTENSION, m_strNewExtension);
    }
};

void AddRows(HWND listBox, std::initializer_list<const char*> rows) {
    for (const char* r : rows)
        ::SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(r));
}

TEST(DataExchange, LoadShowsMembersAndInitialisationBindsControls) {
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    // Initialisation showed the defaults: empty texts, "0" in the number fields.
    EXPECT_EQ(dlg.GetItemText(IDC_INTERVAL), "0");
    EXPECT_EQ(dlg.GetItemText(IDC_MAX_CONNECTIONS), "0");
    EXPECT_EQ(dlg.GetItemText(IDC_SERVER), "");
    EXPECT_EQ(dlg.m_listBox.GetHandle(), ::GetDlgItem(dlg.GetHandle(), IDC_EXTENSION_LIST));

    AddRows(dlg.m_listBox.GetHandle(), {"com", "net", "org"});
    dlg.m_strServer = "whois.example.net";
    dlg.m_nInterval = -12;
    dlg.m_nMaxConnections = 2147483647;
    dlg.m_nSel = 2;
    ASSERT_TRUE(dlg.UpdateData(false));
    EXPECT_EQ(dlg.GetItemText(IDC_SERVER), "whois.example.net");
    EXPECT_EQ(dlg.GetItemText(IDC_INTERVAL), "-12");
    EXPECT_EQ(dlg.GetItemText(IDC_MAX_CONNECTIONS), "2147483647");
    EXPECT_EQ(dlg.m_listBox.Send(LB_GETCURSEL), 2);
}

TEST(DataExchange, SaveReadsEveryControlBack) {
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    AddRows(dlg.m_listBox.GetHandle(), {"com", "net"});
    dlg.SetItem(IDC_AVAILABLE_TOKEN, "No match for");
    dlg.SetItem(IDC_INTERVAL, "5");
    dlg.SetItem(IDC_MAX_CONNECTIONS, "4");
    dlg.SetItem(IDC_QUERY_PREFIX, "domain");
    dlg.SetItem(IDC_SERVER, "whois.example.com");
    dlg.SetItem(IDC_NEW_EXTENSION, " biz ");
    dlg.m_listBox.Send(LB_SETCURSEL, 1);
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.GetRefusedControlId(), 0);
    EXPECT_EQ(dlg.m_strAvailableToken, "No match for");
    EXPECT_EQ(dlg.m_nInterval, 5);
    EXPECT_EQ(dlg.m_nMaxConnections, 4);
    EXPECT_EQ(dlg.m_strQueryPrefix, "domain");
    EXPECT_EQ(dlg.m_strServer, "whois.example.com");
    EXPECT_EQ(dlg.m_nSel, 1);
    EXPECT_EQ(dlg.m_strNewExtension, " biz ");  // texts are taken as typed
    // No selection reads as -1.
    dlg.m_listBox.Send(LB_SETCURSEL, static_cast<WPARAM>(-1));
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.m_nSel, -1);
}

TEST(DataExchange, RefusedIntegerStopsTheTransferAndNamesTheControl) {
    struct Case {
        const char* interval;
        const char* connections;
        int refusedId;
    };
    const Case cases[] = {
        {"x", "4", IDC_INTERVAL},
        {"", "4", IDC_INTERVAL},  // an empty field is refused as well
        {"5", "4 ", IDC_MAX_CONNECTIONS},
        {"5", "-", IDC_MAX_CONNECTIONS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.interval) + "|" + c.connections);
        CExchangeDlg dlg;
        ASSERT_TRUE(dlg.Create());
        ::ShowWindow(dlg.GetHandle(), SW_SHOW);
        ::SetForegroundWindow(dlg.GetHandle());
        dlg.m_nInterval = 111;
        dlg.m_nMaxConnections = 222;
        dlg.m_strQueryPrefix = "kept";
        dlg.m_strServer = "kept.example";
        dlg.SetItem(IDC_AVAILABLE_TOKEN, "NOT FOUND");
        dlg.SetItem(IDC_INTERVAL, c.interval);
        dlg.SetItem(IDC_MAX_CONNECTIONS, c.connections);
        dlg.SetItem(IDC_QUERY_PREFIX, "changed");
        dlg.SetItem(IDC_SERVER, "changed.example");

        EXPECT_FALSE(dlg.UpdateData(true));
        EXPECT_EQ(dlg.GetRefusedControlId(), c.refusedId);
        ASSERT_EQ(dlg.refusals.size(), 1u) << "one message per transfer";
        EXPECT_EQ(dlg.refusals[0].id, c.refusedId);
        EXPECT_EQ(dlg.refusals[0].message, kRefusal);
        EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), c.refusedId);
        // Members before the refused control were read; the refused one and those after it not.
        EXPECT_EQ(dlg.m_strAvailableToken, "NOT FOUND");
        if (c.refusedId == IDC_INTERVAL) {
            EXPECT_EQ(dlg.m_nInterval, 111);
            EXPECT_EQ(dlg.m_nMaxConnections, 222);
        } else {
            EXPECT_EQ(dlg.m_nInterval, 5);
            EXPECT_EQ(dlg.m_nMaxConnections, 222);
        }
        EXPECT_EQ(dlg.m_strQueryPrefix, "kept");
        EXPECT_EQ(dlg.m_strServer, "kept.example");
        // A later good transfer clears the refusal.
        dlg.SetItem(IDC_INTERVAL, "1");
        dlg.SetItem(IDC_MAX_CONNECTIONS, "2");
        EXPECT_TRUE(dlg.UpdateData(true));
        EXPECT_EQ(dlg.GetRefusedControlId(), 0);
    }
}

// OK saves before ending; a refusal keeps the dialog open.
class COkDlg : public CExchangeDlg {
public:
    INT_PTR ended = 0;
    void EndWith(INT_PTR result) override { ended = result; }
};

TEST(DataExchange, OkWithRefusedValueKeepsTheDialogOpen) {
    COkDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.SetItem(IDC_INTERVAL, "twelve");
    ::SendMessageA(dlg.GetHandle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(dlg.ended, 0);
    EXPECT_EQ(dlg.refusals.size(), 1u);
    dlg.SetItem(IDC_INTERVAL, "12");
    ::SendMessageA(dlg.GetHandle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(dlg.ended, IDOK);
    EXPECT_EQ(dlg.m_nInterval, 12);
}

TEST(DataExchange, LongAndBinaryTextsSurviveTheRoundTrip) {
    std::string big(40000, 'a');
    for (size_t i = 0; i < big.size(); i += 97) big[i] = static_cast<char>(0x80 + (i % 120));
    big += "\t<#FF0000>\x01\x7f end";
    const std::string cases[] = {std::string(), "x", std::string(255, 'w'), std::string(256, 'w'),
                                 big};
    for (const std::string& text : cases) {
        CExchangeDlg dlg;
        ASSERT_TRUE(dlg.Create());
        // The edit controls of the template cap input at 30000 characters by default; lift it.
        ::SendDlgItemMessageA(dlg.GetHandle(), IDC_SERVER, EM_SETLIMITTEXT, 0, 0);
        dlg.m_strServer = text;
        ASSERT_TRUE(dlg.UpdateData(false));
        dlg.m_strServer = "overwritten";
        ASSERT_TRUE(dlg.UpdateData(true));
        EXPECT_EQ(dlg.m_strServer.size(), text.size());
        EXPECT_TRUE(dlg.m_strServer == text);
    }
}

TEST(WindowText, NullAndDestroyedWindowsReadEmpty) {
    EXPECT_EQ(GetWindowTextString(nullptr), "");
    EXPECT_FALSE(SetWindowTextString(nullptr, "x"));
    EXPECT_EQ(GetClassNameString(nullptr), "");
    HWND gone = nullptr;
    {
        CExchangeDlg dlg;
        ASSERT_TRUE(dlg.Create());
        gone = dlg.GetHandle();
    }
    EXPECT_FALSE(::IsWindow(gone));
    EXPECT_EQ(GetWindowTextString(gone), "");
    CWindow none;
    EXPECT_FALSE(none.IsWindow());
    EXPECT_EQ(none.GetItemText(IDC_SERVER), "");
}

TEST(DataExchange, MissingControlIsSkippedNotRefused) {
    // A member bound to an id the template lacks changes nothing and refuses nothing.
    class CMissingDlg : public CModelessDialog {
    public:
        CMissingDlg() : CModelessDialog(IDD_ABOUTBOX) {}
        std::string text = "unchanged";
        int number = 7;
        int sel = 3;

    protected:
        void DoDataExchange(CDataExchange& dx) override {
            dx.Text(IDC_SERVER, text);
            dx.Int(IDC_INTERVAL, number, AcceptDigits, kRefusal);
            dx.ListBoxIndex(IDC_EXTENSION_LIST, sel);
        }
    };
    CMissingDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.text, "unchanged");
    EXPECT_EQ(dlg.number, 7);
    EXPECT_EQ(dlg.sel, 3);
}

}  // namespace
