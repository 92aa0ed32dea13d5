#include "framework/menu_win.h"

#include "framework/app_win.h"

CMenuHandle CMenuHandle::Load(UINT id) {
    return CMenuHandle(::LoadMenuA(GetResourceInstance(), MAKEINTRESOURCEA(id)));
}

bool TrackPopup(HMENU popup, int x, int y, HWND owner, UINT alignFlags) {
    if (popup == nullptr)
        return false;
    return ::TrackPopupMenu(popup, alignFlags | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr) != FALSE;
}
