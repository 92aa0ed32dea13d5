#include "framework/message_table_win.h"

namespace {

bool Matches(const CMessageTable::Entry& e, const CMessage& m) {
    switch (e.kind) {
        case CMessageTable::Kind::Command: {
            if (m.msg != WM_COMMAND || LOWORD(m.wParam) != e.id)
                return false;
            const UINT code = HIWORD(m.wParam);
            // Code 1 from a control is a notification (LBN_SELCHANGE); without one, an accelerator.
            return code == 0 || (code == 1 && m.lParam == 0);
        }
        case CMessageTable::Kind::Control:
            return m.msg == WM_COMMAND && LOWORD(m.wParam) == e.id && HIWORD(m.wParam) == e.code;
        case CMessageTable::Kind::Notify: {
            if (m.msg != WM_NOTIFY || m.lParam == 0)
                return false;
            const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
            return hdr->idFrom == e.id && hdr->code == e.code;
        }
        case CMessageTable::Kind::Timer:
            return m.msg == WM_TIMER && m.wParam == e.id;
        case CMessageTable::Kind::Message:
            return m.msg == e.code;
    }
    return false;
}

}  // namespace

const CMessageTable::Entry* CMessageTable::Find(const CMessage& m) const {
    for (const CMessageTable* t = this; t != nullptr; t = t->m_base) {
        for (const Entry& e : t->m_entries) {
            if (Matches(e, m))
                return &e;
        }
    }
    return nullptr;
}

bool CMessageTable::Dispatch(CDialogBase& dialog, CMessage& m) const {
    const Entry* e = Find(m);
    if (e == nullptr || !e->handler)
        return false;
    m.handled = true;
    e->handler(dialog, m);
    return m.handled;
}

const CMessageTable& CMessageTable::Empty() {
    static const CMessageTable empty{};
    return empty;
}
