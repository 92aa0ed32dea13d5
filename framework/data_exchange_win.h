// One transfer between a dialog's members and its controls, in the order DoDataExchange lists
// them: loading shows the members, saving reads the controls back. Saving stops at the first
// control that refuses its value; the dialog is told (OnDataRefused) and the later controls are
// left alone.
//
//   void CMyDlg::DoDataExchange(CDataExchange& dx) {
//       dx.Control(IDC_DOMAIN_LIST, m_list);
//       dx.Text(IDC_SERVER, m_strServer);
//       dx.Int(IDC_INTERVAL, m_nInterval, ParseIntegerField, "Please enter an integer.");
//       dx.ListBoxIndex(IDC_EXTENSION_LIST, m_nSel);
//   }
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

class CDialogBase;
class CSubclassWindow;
class CWindow;

// Accepts a control's text as an integer (true, `value` set) or refuses it (false).
using IntegerAcceptor = bool (*)(std::string_view text, int& value);

class CDataExchange {
public:
    CDataExchange(CDialogBase& dialog, bool save) : m_dialog(dialog), m_bSave(save) {}

    bool IsSaving() const { return m_bSave; }
    bool Failed() const { return m_nRefusedId != 0; }
    // The control that refused its value; 0 while none has.
    int GetRefusedControlId() const { return m_nRefusedId; }

    // Binds a member window to the control (both directions; once is enough).
    void Control(int id, CWindow& window);
    // Subclasses the control on the first transfer.
    void Control(int id, CSubclassWindow& window);

    // The control's whole text.
    void Text(int id, std::string& value);
    // Saving runs `accept` on the control's text; a refusal reports `refusal`. Loading shows the
    // value in decimal.
    void Int(int id, int& value, IntegerAcceptor accept, const char* refusal);
    // Selected row of a list box (-1 for none).
    void ListBoxIndex(int id, int& index);

    // Refuses the transfer at control `id` with `message` (for checks of the dialog's own).
    void Fail(int id, const std::string& message);

private:
    bool Skip() const { return Failed(); }
    HWND Item(int id) const;

    CDialogBase& m_dialog;
    bool m_bSave;
    int m_nRefusedId = 0;
};
