// Process-wide helpers of the Windows program: where resources come from, the application name
// that captions every message box, the message box itself, common controls and the wait cursor.
#pragma once

#include <windows.h>

#include <string>

// The module whose resources the dialogs, menus, icons and strings are loaded from: the
// executable (the test programs embed the same resources).
HINSTANCE GetResourceInstance();

// Full path of the running executable, however long it is; empty on failure.
std::string GetModulePath();
// The executable's base name without extension ("quorvix"), at most 255 characters.
std::string GetAppName();

// Registers the list view, progress bar and the other common controls; cheap to call again.
bool InitCommonControlsOnce();

// String resource `id`; empty when it does not exist.
std::string LoadResourceString(UINT id);

// MessageBoxA captioned with the application name, with the exclamation icon added to `type`.
// A null owner means the active window of this thread, so the box stays modal to the dialog
// the user is looking at.
int AppMessageBox(HWND owner, const std::string& text, UINT type = MB_OK);

// The hourglass while the object lives; the previous cursor comes back at destruction.
class CWaitCursor {
public:
    CWaitCursor() : m_hPrevious(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_hPrevious); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hPrevious;
};
