#include "ui/import_progress_dlg_win.h"

#include <commctrl.h>

#include "framework/app_win.h"
#include "res/resource.h"

CImportProgressDlg::CImportProgressDlg() : CModelessDialog(IDD_IMPORT_PROGRESS) {}

CImportProgressDlg::~CImportProgressDlg() {
    Close();
}

bool CImportProgressDlg::Start(HWND owner) {
    if (m_hWnd != nullptr)
        return false;
    m_hOwner = owner != nullptr ? owner : ::GetActiveWindow();
    m_bCancelRequested = false;
    m_bOwnerDisabled = false;
    if (m_hOwner != nullptr && ::IsWindowEnabled(m_hOwner)) {
        ::EnableWindow(m_hOwner, FALSE);
        m_bOwnerDisabled = true;
    }
    if (Create(m_hOwner))
        return true;
    if (m_bOwnerDisabled)
        ::EnableWindow(m_hOwner, TRUE);
    m_bOwnerDisabled = false;
    return false;
}

void CImportProgressDlg::Close() {
    // The owner first, so that it and not some other program gets the activation back.
    if (m_bOwnerDisabled && m_hOwner != nullptr && ::IsWindow(m_hOwner))
        ::EnableWindow(m_hOwner, TRUE);
    m_bOwnerDisabled = false;
    Destroy();
}

bool CImportProgressDlg::OnInitDialog() {
    CModelessDialog::OnInitDialog();
    HWND bar = ::GetDlgItem(m_hWnd, IDC_PROGRESS_BAR);
    ::SendMessageA(bar, PBM_SETRANGE32, static_cast<WPARAM>(m_nLower), m_nUpper);
    ::SendMessageA(bar, PBM_SETSTEP, static_cast<WPARAM>(m_nStep), 0);
    ::SendMessageA(bar, PBM_SETPOS, 0, 0);
    if (m_nTitleId != 0)
        SetText(LoadResourceString(m_nTitleId));
    return true;
}

void CImportProgressDlg::OnCancel() {
    m_bCancelRequested = true;
}

void CImportProgressDlg::ShowStatus(const std::string& text) {
    if (m_hWnd != nullptr)
        SetItemText(IDC_PROGRESS_STATUS, text);
}

void CImportProgressDlg::HideProgressBar() {
    if (m_hWnd == nullptr)
        return;
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_PROGRESS_BAR), SW_HIDE);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_PROGRESS_PERCENT), SW_HIDE);
}

bool CImportProgressDlg::PollCancel() {
    if (m_hWnd == nullptr)
        return false;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The program is asked to end: leave the request for the main loop and stop here.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_bCancelRequested = true;
            break;
        }
        if (IsDialogMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        if (m_hWnd == nullptr)
            break;  // destroyed by a message it served
    }
    const bool cancel = m_bCancelRequested;
    m_bCancelRequested = false;
    return cancel;
}
