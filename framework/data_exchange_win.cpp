#include "framework/data_exchange_win.h"

#include <cstdio>

#include "framework/dialog_win.h"
#include "framework/subclass_win.h"
#include "framework/window_win.h"

HWND CDataExchange::Item(int id) const {
    return ::GetDlgItem(m_dialog.GetHandle(), id);
}

void CDataExchange::Control(int id, CWindow& window) {
    if (Skip())
        return;
    window.Attach(Item(id));
}

void CDataExchange::Control(int id, CSubclassWindow& window) {
    if (Skip() || window.IsSubclassed())
        return;
    window.Subclass(Item(id));
}

void CDataExchange::Text(int id, std::string& value) {
    if (Skip())
        return;
    HWND item = Item(id);
    if (item == nullptr)
        return;
    if (m_bSave)
        value = GetWindowTextString(item);
    else
        SetWindowTextString(item, value);
}

void CDataExchange::Int(int id, int& value, IntegerAcceptor accept, const char* refusal) {
    if (Skip())
        return;
    HWND item = Item(id);
    if (item == nullptr)
        return;
    if (!m_bSave) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", value);
        ::SetWindowTextA(item, text);
        return;
    }
    int parsed = 0;
    if (accept != nullptr && accept(GetWindowTextString(item), parsed)) {
        value = parsed;
        return;
    }
    Fail(id, refusal != nullptr ? refusal : "");
}

void CDataExchange::ListBoxIndex(int id, int& index) {
    if (Skip())
        return;
    HWND item = Item(id);
    if (item == nullptr)
        return;
    if (m_bSave) {
        const LRESULT sel = ::SendMessageA(item, LB_GETCURSEL, 0, 0);
        index = sel == LB_ERR ? -1 : static_cast<int>(sel);
    } else {
        ::SendMessageA(item, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void CDataExchange::Fail(int id, const std::string& message) {
    if (Skip())
        return;
    // 0 is no control id a template uses for an input; keep "refused" visible regardless.
    m_nRefusedId = id != 0 ? id : -1;
    m_dialog.OnDataRefused(id, message);
}
