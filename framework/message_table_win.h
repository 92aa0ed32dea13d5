// Declarative message table of a dialog: command ids, control notifications, WM_NOTIFY codes,
// timer ids and window messages mapped to member handlers of the dialog class. A table belongs to
// one dialog class; it may chain to the table of the class it derives from.
//
//   const CMessageTable& CMyDlg::GetMessageTable() const {
//       static const CMessageTable table{
//           CommandEntry(IDC_NEW, &CMyDlg::OnNew),
//           ControlEntry(IDC_EXTENSION_LIST, LBN_SELCHANGE, &CMyDlg::OnSelChange),
//           NotifyEntry(IDC_DOMAIN_LIST, LVN_GETDISPINFOA, &CMyDlg::OnGetDispInfo),
//           TimerEntry(LOOKUP_TIMER_ID, &CMyDlg::OnLookupTimer),
//           MessageEntry(WM_SIZE, &CMyDlg::OnSize),
//       };
//       return table;
//   }
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

class CDialogBase;

// One window message as the dialog procedure received it. A handler stores its answer in
// `result`, or clears `handled` to let the default dialog processing run.
struct CMessage {
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool handled = true;
};

class CMessageTable {
public:
    enum class Kind {
        Command,  // WM_COMMAND from a menu, an accelerator or a button click
        Control,  // WM_COMMAND with a given notification code from a given control
        Notify,   // WM_NOTIFY with a given code from a given control
        Timer,    // WM_TIMER with a given timer id
        Message,  // any other window message
    };

    struct Entry {
        Kind kind;
        UINT code;    // message (Message), notification code (Control, Notify)
        UINT_PTR id;  // command, control or timer id
        std::function<void(CDialogBase&, CMessage&)> handler;
    };

    CMessageTable(std::initializer_list<Entry> entries, const CMessageTable* base = nullptr)
        : m_entries(entries), m_base(base) {}

    // The first matching entry of this table, then of the chained ones; null when none matches.
    const Entry* Find(const CMessage& m) const;
    // Runs the matching handler; false when no entry matched or the handler declined.
    bool Dispatch(CDialogBase& dialog, CMessage& m) const;

    static const CMessageTable& Empty();

private:
    std::vector<Entry> m_entries;
    const CMessageTable* m_base;
};

// Entry factories; the dialog class is deduced from the member pointer.

template <class TDialog>
CMessageTable::Entry CommandEntry(UINT id, void (TDialog::*handler)()) {
    return {CMessageTable::Kind::Command, 0, id,
            [handler](CDialogBase& d, CMessage&) { (static_cast<TDialog&>(d).*handler)(); }};
}

template <class TDialog>
CMessageTable::Entry ControlEntry(UINT id, UINT code, void (TDialog::*handler)()) {
    return {CMessageTable::Kind::Control, code, id,
            [handler](CDialogBase& d, CMessage&) { (static_cast<TDialog&>(d).*handler)(); }};
}

// The handler's result goes back to the control (DWLP_MSGRESULT).
template <class TDialog>
CMessageTable::Entry NotifyEntry(UINT id, UINT code, LRESULT (TDialog::*handler)(NMHDR*)) {
    return {CMessageTable::Kind::Notify, code, id, [handler](CDialogBase& d, CMessage& m) {
                m.result = (static_cast<TDialog&>(d).*handler)(reinterpret_cast<NMHDR*>(m.lParam));
            }};
}

template <class TDialog>
CMessageTable::Entry TimerEntry(UINT_PTR timerId, void (TDialog::*handler)()) {
    return {CMessageTable::Kind::Timer, WM_TIMER, timerId,
            [handler](CDialogBase& d, CMessage&) { (static_cast<TDialog&>(d).*handler)(); }};
}

template <class TDialog>
CMessageTable::Entry MessageEntry(UINT msg, void (TDialog::*handler)(CMessage&)) {
    return {CMessageTable::Kind::Message, msg, 0,
            [handler](CDialogBase& d, CMessage& m) { (static_cast<TDialog&>(d).*handler)(m); }};
}
