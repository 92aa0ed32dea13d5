#include "framework/dialog_win.h"

#include "framework/app_win.h"
#include "framework/data_exchange_win.h"
#include "framework/subclass_win.h"

namespace {

// Messages whose answer is the dialog procedure's return value itself, not DWLP_MSGRESULT.
bool ReturnsDirectly(UINT msg) {
    switch (msg) {
        case WM_CHARTOITEM:
        case WM_COMPAREITEM:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_INITDIALOG:
        case WM_QUERYDRAGICON:
        case WM_VKEYTOITEM:
            return true;
        default:
            return false;
    }
}

}  // namespace

CDialogBase::~CDialogBase() {
    // A window still alive must not call back into a dead object.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
}

bool CDialogBase::UpdateData(bool save) {
    CDataExchange dx(*this, save);
    DoDataExchange(dx);
    m_nRefusedId = dx.GetRefusedControlId();
    return !dx.Failed();
}

void CDialogBase::OnDataRefused(int controlId, const std::string& message) {
    AppMessageBox(m_hWnd, message, MB_OK);
    FocusControl(controlId);
}

void CDialogBase::FocusControl(int controlId) const {
    HWND control = ::GetDlgItem(m_hWnd, controlId);
    if (control == nullptr)
        return;
    ::SetFocus(control);
    // Whatever accepts EM_SETSEL (edit controls) gets its text selected for retyping.
    if ((::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0)
        ::SendMessageA(control, EM_SETSEL, 0, -1);
}

bool CDialogBase::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialogBase::OnOK() {
    if (UpdateData(true))
        EndWith(IDOK);
}

void CDialogBase::OnCancel() {
    EndWith(IDCANCEL);
}

INT_PTR CALLBACK CDialogBase::StaticDialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CDialogBase* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialogBase*>(lParam);
        if (self == nullptr)
            return FALSE;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        self->m_hWnd = hWnd;
    } else {
        self = reinterpret_cast<CDialogBase*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, ...) and after the object went: default.
    if (self == nullptr)
        return FALSE;
    try {
        return self->DialogProc(msg, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR CDialogBase::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        if (!OnCreate()) {
            EndWith(-1);
            return FALSE;
        }
        return OnInitDialog() ? TRUE : FALSE;
    }
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        m_hWnd = nullptr;
        OnDestroyed();
        return FALSE;
    }
    CMessage m;
    m.msg = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    if (!Route(m))
        return FALSE;
    if (ReturnsDirectly(msg))
        return static_cast<INT_PTR>(m.result);
    if (m_hWnd != nullptr)
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, m.result);
    return TRUE;
}

bool CDialogBase::Route(CMessage& m) {
    if ((m.msg == WM_DRAWITEM || m.msg == WM_MEASUREITEM) && ReflectOwnerDraw(m))
        return true;
    if (GetMessageTable().Dispatch(*this, m))
        return true;
    if (m.msg == WM_COMMAND && HIWORD(m.wParam) == BN_CLICKED) {
        if (LOWORD(m.wParam) == IDOK) {
            OnOK();
            return true;
        }
        if (LOWORD(m.wParam) == IDCANCEL) {
            OnCancel();
            return true;
        }
    }
    return false;
}

bool CDialogBase::ReflectOwnerDraw(CMessage& m) const {
    HWND child = nullptr;
    UINT reflected = 0;
    if (m.msg == WM_DRAWITEM) {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam);
        if (dis == nullptr || dis->CtlType == ODT_MENU)
            return false;
        child = dis->hwndItem;
        reflected = kReflectedDrawItem;
    } else {
        const auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(m.lParam);
        if (mis == nullptr || mis->CtlType == ODT_MENU)
            return false;
        child = ::GetDlgItem(m_hWnd, static_cast<int>(mis->CtlID));
        reflected = kReflectedMeasureItem;
    }
    if (child == nullptr)
        return false;
    if (::SendMessageA(child, reflected, m.wParam, m.lParam) == 0)
        return false;
    m.result = TRUE;
    return true;
}

INT_PTR CModalDialog::DoModal(HWND owner) {
    InitCommonControlsOnce();
    return ::DialogBoxParamA(GetResourceInstance(), MAKEINTRESOURCEA(GetTemplateId()), owner,
                             &StaticDialogProc, reinterpret_cast<LPARAM>(this));
}

void CModalDialog::EndWith(INT_PTR result) {
    if (m_hWnd != nullptr)
        ::EndDialog(m_hWnd, result);
}

CModelessDialog::~CModelessDialog() {
    Destroy();
}

bool CModelessDialog::Create(HWND owner) {
    if (m_hWnd != nullptr)
        return false;
    InitCommonControlsOnce();
    HWND h = ::CreateDialogParamA(GetResourceInstance(), MAKEINTRESOURCEA(GetTemplateId()), owner,
                                  &StaticDialogProc, reinterpret_cast<LPARAM>(this));
    return h != nullptr && m_hWnd == h;
}

void CModelessDialog::Destroy() {
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

void CModelessDialog::EndWith(INT_PTR) {
    Destroy();
}

bool CModelessDialog::IsDialogMessage(MSG* msg) const {
    return m_hWnd != nullptr && msg != nullptr && ::IsDialogMessageA(m_hWnd, msg) != FALSE;
}
