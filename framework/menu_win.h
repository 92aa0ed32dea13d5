// Owned menu handles and the popup-menu helper of the context and drop-down menus.
#pragma once

#include <windows.h>

#include <utility>

// A menu loaded from the resources (or created), destroyed with the owner. Submenus taken with
// GetSubMenu are borrowed and die with it.
class CMenuHandle {
public:
    CMenuHandle() = default;
    explicit CMenuHandle(HMENU h) : m_h(h) {}
    ~CMenuHandle() { Reset(); }
    CMenuHandle(const CMenuHandle&) = delete;
    CMenuHandle& operator=(const CMenuHandle&) = delete;
    CMenuHandle(CMenuHandle&& other) noexcept : m_h(std::exchange(other.m_h, nullptr)) {}
    CMenuHandle& operator=(CMenuHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_h = std::exchange(other.m_h, nullptr);
        }
        return *this;
    }

    // Loads menu resource `id` of the program; empty when it does not exist.
    static CMenuHandle Load(UINT id);

    HMENU Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
    // Popup at `index`, or null.
    HMENU GetSubMenu(int index) const {
        return m_h != nullptr ? ::GetSubMenu(m_h, index) : nullptr;
    }
    void Reset() {
        if (m_h != nullptr)
            ::DestroyMenu(m_h);
        m_h = nullptr;
    }

private:
    HMENU m_h = nullptr;
};

// Shows `popup` at screen point (x, y), tracking the left and the right button; the chosen
// command is sent to `owner` as WM_COMMAND. False when nothing could be shown.
bool TrackPopup(HMENU popup, int x, int y, HWND owner, UINT alignFlags = TPM_LEFTALIGN);
