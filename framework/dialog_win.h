// Dialog windows built from dialog templates. One static dialog procedure finds the C++ object
// (stored at WM_INITDIALOG) and routes each message: the creation hook and initialisation,
// the message table of the class, OK and Cancel, owner-draw reflection to subclassed controls, and
// default dialog processing for whatever nobody handles. No exception leaves the procedure.
//
// CModalDialog runs a template with DialogBoxParamA; CModelessDialog creates it with
// CreateDialogParamA and lives until destroyed (or until the object goes).
#pragma once

#include <windows.h>

#include <string>

#include "framework/message_table_win.h"
#include "framework/window_win.h"

class CDataExchange;

class CDialogBase : public CWindow {
public:
    explicit CDialogBase(UINT templateId) : m_nTemplateId(templateId) {}
    virtual ~CDialogBase();
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    UINT GetTemplateId() const { return m_nTemplateId; }

    // Moves values between members and controls (DoDataExchange) in one pass. Saving stops at the
    // first refused control; false then, and GetRefusedControlId() names it.
    bool UpdateData(bool save);
    int GetRefusedControlId() const { return m_nRefusedId; }

    // Ends the dialog: EndDialog for a modal one (DoModal returns `result`), DestroyWindow for a
    // modeless one.
    virtual void EndWith(INT_PTR result) = 0;

    // Called by CDataExchange for a refused value: by default the message box (captioned with the
    // application name) and then the focus on the refusing control, its text selected.
    virtual void OnDataRefused(int controlId, const std::string& message);
    // Focus on a control, selecting an edit control's whole text.
    void FocusControl(int controlId) const;

protected:
    // Runs after the window exists and before its controls are initialised (where placement is
    // restored). Returning false ends the dialog with -1.
    virtual bool OnCreate() { return true; }
    // The default binds and shows the members (UpdateData(false)) and lets the system place the
    // focus (true). Return false after setting the focus yourself.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange&) {}
    // Command IDOK (the Enter key, a default button): the default saves the data and, when
    // nothing was refused, ends with IDOK.
    virtual void OnOK();
    // Command IDCANCEL (Escape, the close box): the default ends with IDCANCEL.
    virtual void OnCancel();
    // After the last message of the window; m_hWnd is already null.
    virtual void OnDestroyed() {}

    // The class's message table; consulted before OK/Cancel and default processing.
    virtual const CMessageTable& GetMessageTable() const { return CMessageTable::Empty(); }

    static INT_PTR CALLBACK StaticDialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam);
    bool Route(CMessage& m);
    bool ReflectOwnerDraw(CMessage& m) const;

    UINT m_nTemplateId;
    int m_nRefusedId = 0;
};

class CModalDialog : public CDialogBase {
public:
    using CDialogBase::CDialogBase;

    // Runs the dialog until it ends; the EndDialog result, or -1 when it could not be created.
    INT_PTR DoModal(HWND owner = nullptr);
    void EndWith(INT_PTR result) override;
};

class CModelessDialog : public CDialogBase {
public:
    using CDialogBase::CDialogBase;
    ~CModelessDialog() override;

    // Creates the window with `owner`; false when it already exists or creation failed.
    bool Create(HWND owner = nullptr);
    // Destroys the window if it exists.
    void Destroy();
    void EndWith(INT_PTR result) override;
    // Handles `msg` when it is a dialog message of this window (keyboard navigation).
    bool IsDialogMessage(MSG* msg) const;
};
