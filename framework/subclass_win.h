// A C++ object bound to an existing control window (a dialog item), seeing its messages before
// the control's own window procedure. Owner-drawing and measuring requests that the control's
// parent receives are reflected back to it by the dialog base as kReflectedDrawItem and
// kReflectedMeasureItem.
#pragma once

#include <windows.h>

#include "framework/window_win.h"

// Reflected owner-draw requests: lParam is the DRAWITEMSTRUCT* or MEASUREITEMSTRUCT*, and a
// control that handled one returns TRUE. Private range of the program, seen only by subclassed
// controls.
constexpr UINT kReflectedDrawItem = WM_APP + 0x3000 + WM_DRAWITEM;
constexpr UINT kReflectedMeasureItem = WM_APP + 0x3000 + WM_MEASUREITEM;

class CSubclassWindow : public CWindow {
public:
    CSubclassWindow() = default;
    virtual ~CSubclassWindow();
    CSubclassWindow(const CSubclassWindow&) = delete;
    CSubclassWindow& operator=(const CSubclassWindow&) = delete;

    // Binds the object to the window; false when the window is null, the object is already bound
    // or the system refuses.
    bool Subclass(HWND hWnd);
    bool SubclassDlgItem(HWND dialog, int id) { return Subclass(::GetDlgItem(dialog, id)); }
    // Gives the window back its own procedure; done by the destructor and when the window dies.
    void Unsubclass();
    bool IsSubclassed() const { return m_bSubclassed; }

protected:
    // Every message of the window. The default passes it on to the control.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The control's own handling of the message being processed.
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR idSubclass, DWORD_PTR refData);
    bool m_bSubclassed = false;
};
