#include "framework/subclass_win.h"

#include <commctrl.h>

namespace {

// One id for every object of this kind; the object itself travels as reference data.
constexpr UINT_PTR kSubclassId = 0x51564357;  // "QVCW"

}  // namespace

CSubclassWindow::~CSubclassWindow() {
    Unsubclass();
}

bool CSubclassWindow::Subclass(HWND hWnd) {
    if (hWnd == nullptr || m_bSubclassed)
        return false;
    if (!::SetWindowSubclass(hWnd, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hWnd = hWnd;
    m_bSubclassed = true;
    return true;
}

void CSubclassWindow::Unsubclass() {
    if (m_bSubclassed && m_hWnd != nullptr)
        ::RemoveWindowSubclass(m_hWnd, &SubclassProc, kSubclassId);
    m_bSubclassed = false;
    m_hWnd = nullptr;
}

LRESULT CSubclassWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(msg, wParam, lParam);
}

LRESULT CSubclassWindow::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(m_hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CSubclassWindow::SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR, DWORD_PTR refData) {
    auto* self = reinterpret_cast<CSubclassWindow*>(refData);
    if (msg == WM_NCDESTROY) {
        // The window dies; let the control clean up, then forget it.
        const LRESULT r = ::DefSubclassProc(hWnd, msg, wParam, lParam);
        if (self != nullptr && self->m_hWnd == hWnd) {
            ::RemoveWindowSubclass(hWnd, &SubclassProc, kSubclassId);
            self->m_bSubclassed = false;
            self->m_hWnd = nullptr;
        }
        return r;
    }
    if (self == nullptr)
        return ::DefSubclassProc(hWnd, msg, wParam, lParam);
    try {
        return self->WindowProc(msg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's window procedure.
        return 0;
    }
}
