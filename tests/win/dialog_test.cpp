// The dialog framework driven with real window messages: modal results, the message table's
// routing, OK/Cancel defaults, reflection of owner-draw requests and the creation hook.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/data_exchange_win.h"
#include "framework/dialog_win.h"
#include "framework/subclass_win.h"
#include "res/resource.h"

namespace {

constexpr UINT_PTR kTestTimerId = 7;

// A modeless main-window template with a table covering every kind of entry.
class CRoutingDlg : public CModelessDialog {
public:
    CRoutingDlg() : CModelessDialog(IDD_CHECKER_DIALOG) {}

    std::vector<std::string> calls;
    LRESULT notifyAnswer = 0;
    bool declineSysCommand = true;

    void OnNew() { calls.push_back("new"); }
    void OnLookup() { calls.push_back("lookup"); }
    void OnListSetFocus() { calls.push_back("list-setfocus"); }
    LRESULT OnColumnClick(NMHDR* hdr) {
        calls.push_back("columnclick:" + std::to_string(hdr->idFrom));
        return notifyAnswer;
    }
    void OnTimerTick() { calls.push_back("timer"); }
    void OnUserMessage(CMessage& m) {
        calls.push_back("user:" + std::to_string(m.wParam) + ":" + std::to_string(m.lParam));
        m.result = 99;
    }
    void OnSysCommand(CMessage& m) {
        calls.push_back("syscommand");
        m.handled = !declineSysCommand;
    }
    void OnOK() override { calls.push_back("ok"); }
    void OnCancel() override { calls.push_back("cancel"); }

protected:
    const CMessageTable& GetMessageTable() const override {
        static const CMessageTable table{
            CommandEntry(IDC_NEW, &CRoutingDlg::OnNew),
            CommandEntry(IDC_LOOKUP, &CRoutingDlg::OnLookup),
            ControlEntry(IDC_DOMAIN_LIST, 0x100, &CRoutingDlg::OnListSetFocus),
            NotifyEntry(IDC_DOMAIN_LIST, LVN_COLUMNCLICK, &CRoutingDlg::OnColumnClick),
            TimerEntry(kTestTimerId, &CRoutingDlg::OnTimerTick),
            MessageEntry(WM_USER, &CRoutingDlg::OnUserMessage),
            MessageEntry(WM_SYSCOMMAND, &CRoutingDlg::OnSysCommand),
        };
        return table;
    }
};

LRESULT SendCommand(HWND dlg, int id, int code = BN_CLICKED, HWND from = nullptr) {
    return ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(from));
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

TEST(DialogRouting, CommandReachesOnlyItsOwnHandler) {
    CRoutingDlg dlg;
    ASSERT_TRUE(dlg.Create());
    SendCommand(dlg.GetHandle(), IDC_NEW);
    SendCommand(dlg.GetHandle(), IDC_LOOKUP);
    // An id without an entry goes nowhere.
    SendCommand(dlg.GetHandle(), IDC_STOP);
    EXPECT_EQ(dlg.calls, (std::vector<std::string>{"new", "lookup"}));
}

TEST(DialogRouting, ControlNotificationCodeIsNotMistakenForClick) {
    CRoutingDlg dlg;
    ASSERT_TRUE(dlg.Create());
    HWND list = ::GetDlgItem(dlg.GetHandle(), IDC_DOMAIN_LIST);
    SendCommand(dlg.GetHandle(), IDC_NEW, 0x100, list);  // not a click: no "new"
    SendCommand(dlg.GetHandle(), IDC_DOMAIN_LIST, 0x100, list);
    // Code 1 from a control is a notification such as LBN_SELCHANGE, not an accelerator.
    SendCommand(dlg.GetHandle(), IDC_NEW, 1, list);
    // Code 1 without a control is an accelerator and counts as the command.
    SendCommand(dlg.GetHandle(), IDC_LOOKUP, 1, nullptr);
    EXPECT_EQ(dlg.calls, (std::vector<std::string>{"list-setfocus", "lookup"}));
}

TEST(DialogRouting, NotificationResultTravelsThroughMsgResult) {
    CRoutingDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.notifyAnswer = 1234;
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = ::GetDlgItem(dlg.GetHandle(), IDC_DOMAIN_LIST);
    nm.hdr.idFrom = IDC_DOMAIN_LIST;
    nm.hdr.code = LVN_COLUMNCLICK;
    const LRESULT r =
        ::SendMessageA(dlg.GetHandle(), WM_NOTIFY, IDC_DOMAIN_LIST, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(r, 1234);
    EXPECT_EQ(::GetWindowLongPtrA(dlg.GetHandle(), DWLP_MSGRESULT), 1234);
    // The same code from another control has no entry.
    nm.hdr.idFrom = IDC_QUEUE_STATUS;
    ::SendMessageA(dlg.GetHandle(), WM_NOTIFY, IDC_QUEUE_STATUS, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(dlg.calls, (std::vector<std::string>{"columnclick:1000"}));
}

TEST(DialogRouting, TimerAndUserMessagesReachHandlers) {
    CRoutingDlg dlg;
    ASSERT_TRUE(dlg.Create());
    ::SendMessageA(dlg.GetHandle(), WM_TIMER, kTestTimerId, 0);
    ::SendMessageA(dlg.GetHandle(), WM_TIMER, kTestTimerId + 1, 0);  // another timer: ignored
    EXPECT_EQ(::SendMessageA(dlg.GetHandle(), WM_USER, 1, 42), 99);
    // A posted message from the queue is routed as well.
    ASSERT_TRUE(::PostMessageA(dlg.GetHandle(), WM_USER, 2, 0));
    PumpMessages();
    EXPECT_EQ(dlg.calls, (std::vector<std::string>{"timer", "user:1:42", "user:2:0"}));
}

TEST(DialogRouting, RealTimerTicksArrive) {
    CRoutingDlg dlg;
    ASSERT_TRUE(dlg.Create());
    ASSERT_NE(::SetTimer(dlg.GetHandle(), kTestTimerId, 10, nullptr), 0u);
    const DWORD start = ::GetTickCount();
    while (dlg.calls.empty() && ::GetTickCount() - start < 5000) {
        PumpMessages();
        ::Sleep(5);
    }
    ::KillTimer(dlg.GetHandle(), kTestTimerId);
    ASSERT_FALSE(dlg.calls.empty());
    EXPECT_EQ(dlg.calls.front(), "timer");
}

TEST(DialogRouting, DeclinedMessageGetsDefaultProcessing) {
    CRoutingDlg dlg;
    ASSERT_TRUE(dlg.Create());
    // SC_MINIMIZE, declined by the handler: the default processing minimizes the window.
    dlg.declineSysCommand = true;
    ::SendMessageA(dlg.GetHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::IsIconic(dlg.GetHandle()));
    ::ShowWindow(dlg.GetHandle(), SW_RESTORE);
    // Handled: nothing else happens.
    dlg.declineSysCommand = false;
    ::SendMessageA(dlg.GetHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(::IsIconic(dlg.GetHandle()));
    EXPECT_EQ(dlg.calls, (std::vector<std::string>{"syscommand", "syscommand"}));
}

TEST(DialogRouting, OkAndCancelReachVirtuals) {
    CRoutingDlg dlg;
    ASSERT_TRUE(dlg.Create());
    SendCommand(dlg.GetHandle(), IDOK);
    SendCommand(dlg.GetHandle(), IDCANCEL);
    // The close box asks for IDCANCEL through the default processing (posted).
    ::SendMessageA(dlg.GetHandle(), WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_EQ(dlg.calls, (std::vector<std::string>{"ok", "cancel", "cancel"}));
    EXPECT_TRUE(dlg.IsWindow());
}

// Modal dialog that ends itself from a message posted during initialisation.
class CSelfEndingDlg : public CModalDialog {
public:
    explicit CSelfEndingDlg(UINT templateId) : CModalDialog(templateId) {}
    int commandToPost = IDOK;
    bool createResult = true;
    bool createSawNoInit = false;
    bool initialised = false;

    void OnStop() { EndWith(4242); }

protected:
    bool OnCreate() override {
        createSawNoInit = !initialised && m_hWnd != nullptr;
        return createResult;
    }
    bool OnInitDialog() override {
        initialised = true;
        Post(WM_COMMAND, MAKEWPARAM(commandToPost, BN_CLICKED), 0);
        return CModalDialog::OnInitDialog();
    }
    const CMessageTable& GetMessageTable() const override {
        static const CMessageTable table{CommandEntry(IDC_STOP, &CSelfEndingDlg::OnStop)};
        return table;
    }
};

TEST(ModalDialog, DoModalReturnsEndDialogResult) {
    struct Case {
        int command;
        INT_PTR expected;
    };
    const Case cases[] = {{IDC_STOP, 4242}, {IDOK, IDOK}, {IDCANCEL, IDCANCEL}};
    for (const Case& c : cases) {
        CSelfEndingDlg dlg(IDD_CHECKER_DIALOG);
        dlg.commandToPost = c.command;
        EXPECT_EQ(dlg.DoModal(), c.expected) << c.command;
        EXPECT_TRUE(dlg.createSawNoInit);
        EXPECT_EQ(dlg.GetHandle(), nullptr);  // the window is gone and forgotten
    }
}

TEST(ModalDialog, RefusedCreationEndsWithMinusOne) {
    CSelfEndingDlg dlg(IDD_ABOUTBOX);
    dlg.createResult = false;
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(dlg.initialised);
}

TEST(ModalDialog, MissingTemplateFailsWithoutCrash) {
    CSelfEndingDlg dlg(4711);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(dlg.initialised);
}

// Subclassed control that answers reflected owner-draw requests.
class CReflectingControl : public CSubclassWindow {
public:
    int draws = 0;
    int measures = 0;
    UINT measuredHeight = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kReflectedDrawItem) {
            ++draws;
            return TRUE;
        }
        if (msg == kReflectedMeasureItem) {
            ++measures;
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 31;
            return TRUE;
        }
        return CSubclassWindow::WindowProc(msg, wParam, lParam);
    }
};

class CReflectDlg : public CModelessDialog {
public:
    CReflectDlg() : CModelessDialog(IDD_CHECKER_DIALOG) {}
    CReflectingControl list;
    int tableDraws = 0;
    void OnDrawItem(CMessage& m) {
        ++tableDraws;
        m.result = TRUE;
    }

protected:
    void DoDataExchange(CDataExchange& dx) override { dx.Control(IDC_DOMAIN_LIST, list); }
    const CMessageTable& GetMessageTable() const override {
        static const CMessageTable table{MessageEntry(WM_DRAWITEM, &CReflectDlg::OnDrawItem)};
        return table;
    }
};

TEST(OwnerDrawReflection, DrawAndMeasureReachTheSubclassedChild) {
    CReflectDlg dlg;
    ASSERT_TRUE(dlg.Create());
    ASSERT_TRUE(dlg.list.IsSubclassed());
    const int drawsBefore = dlg.list.draws;
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_LISTVIEW;
    dis.CtlID = IDC_DOMAIN_LIST;
    dis.hwndItem = dlg.list.GetHandle();
    EXPECT_EQ(::SendMessageA(dlg.GetHandle(), WM_DRAWITEM, IDC_DOMAIN_LIST,
                             reinterpret_cast<LPARAM>(&dis)),
              TRUE);
    EXPECT_EQ(dlg.list.draws, drawsBefore + 1);
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_LISTVIEW;
    mis.CtlID = IDC_DOMAIN_LIST;
    ::SendMessageA(dlg.GetHandle(), WM_MEASUREITEM, IDC_DOMAIN_LIST,
                   reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(mis.itemHeight, 31u);
    // A draw request from a child that is not ours falls through to the table.
    dis.CtlID = IDC_NEW;
    dis.hwndItem = ::GetDlgItem(dlg.GetHandle(), IDC_NEW);
    ::SendMessageA(dlg.GetHandle(), WM_DRAWITEM, IDC_NEW, reinterpret_cast<LPARAM>(&dis));
    EXPECT_EQ(dlg.tableDraws, 1);
}

TEST(OwnerDrawReflection, ControlOutlivedByObjectIsReleased) {
    CReflectingControl control;
    {
        CReflectDlg dlg;
        ASSERT_TRUE(dlg.Create());
        ASSERT_TRUE(control.Subclass(::GetDlgItem(dlg.GetHandle(), IDC_NEW)));
    }
    // The window died first; the object forgot it and may be destroyed safely.
    EXPECT_FALSE(control.IsSubclassed());
    EXPECT_EQ(control.GetHandle(), nullptr);
}

// Throws from a handler: the dialog procedure must swallow it.
class CThrowingDlg : public CModelessDialog {
public:
    CThrowingDlg() : CModelessDialog(IDD_ABOUTBOX) {}
    void OnThrow() { throw std::runtime_error("handler failed"); }

protected:
    const CMessageTable& GetMessageTable() const override {
        static const CMessageTable table{CommandEntry(IDC_STOP, &CThrowingDlg::OnThrow)};
        return table;
    }
};

TEST(DialogRouting, ExceptionInHandlerDoesNotCrossTheProcedure) {
    CThrowingDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(SendCommand(dlg.GetHandle(), IDC_STOP), 0);
    EXPECT_TRUE(dlg.IsWindow());
}

}  // namespace
