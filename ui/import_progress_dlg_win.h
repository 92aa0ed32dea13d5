// The small modeless window with a status line and a Cancel button that the name intake shows
// while it works. It disables its owner while it exists.
#pragma once

#include <windows.h>

#include <string>

#include "domains/intake.h"
#include "framework/dialog_win.h"

class CImportProgressDlg : public CModelessDialog, public IImportProgress {
public:
    CImportProgressDlg();
    ~CImportProgressDlg() override;

    // Disables `owner` (the active window when null) if it is enabled and creates the window.
    // False when the window could not be created; the owner is then enabled again.
    bool Start(HWND owner = nullptr);
    // Enables the owner again if this window disabled it, then destroys the window.
    void Close();

    // Status line (control 123); nothing without a window.
    void ShowStatus(const std::string& text) override;
    // Hides the progress bar and its percentage text.
    void HideProgressBar();
    // Serves every waiting message of the thread (this window's dialog messages as such), then
    // returns whether Cancel was pressed since the last call and forgets it. False without a
    // window. A quit request found in the queue is put back and counts as Cancel.
    bool PollCancel() override;

    UINT m_nTitleId = 0;  // string resource of the window title; 0 for none
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nStep = 10;

protected:
    bool OnInitDialog() override;
    void OnCancel() override;  // a request only; the window stays

private:
    HWND m_hOwner = nullptr;
    bool m_bOwnerDisabled = false;
    bool m_bCancelRequested = false;
};
