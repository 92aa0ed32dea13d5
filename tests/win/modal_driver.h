// Drives modal windows from inside their own message loop: a thread timer waits for a visible
// window of this thread with the given caption, runs the test's action on it and makes sure the
// window ends. Nothing waits forever: after `timeoutMs` the timer gives up.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>

class CModalDriver {
public:
    // Arms the driver; the action runs once, on the first tick that finds the window.
    CModalDriver(std::string caption, std::function<void(HWND)> action, int timeoutMs = 5000)
        : m_strCaption(std::move(caption)),
          m_action(std::move(action)),
          m_deadline(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)) {
        Current() = this;
        m_nTimer = ::SetTimer(nullptr, 0, 10, &CModalDriver::Tick);
    }
    ~CModalDriver() {
        Stop();
        if (Current() == this)
            Current() = nullptr;
    }
    CModalDriver(const CModalDriver&) = delete;
    CModalDriver& operator=(const CModalDriver&) = delete;

    bool Ran() const { return m_bRan; }
    bool TimedOut() const { return m_bTimedOut; }

    // A visible top-level window of this thread with exactly this caption, or null.
    static HWND FindThreadWindow(const std::string& caption) {
        struct Search {
            const std::string* caption;
            HWND found;
        } search{&caption, nullptr};
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND h, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                char text[256] = {};
                ::GetWindowTextA(h, text, sizeof text);
                if (::IsWindowVisible(h) && *s->caption == text) {
                    s->found = h;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // Clicks a button of a dialog the way the user would (WM_COMMAND with BN_CLICKED).
    static void Click(HWND dialog, int id) {
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    }

private:
    static CModalDriver*& Current() {
        static CModalDriver* current = nullptr;
        return current;
    }

    void Stop() {
        if (m_nTimer != 0)
            ::KillTimer(nullptr, m_nTimer);
        m_nTimer = 0;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        CModalDriver* self = Current();
        if (self == nullptr || self->m_nTimer == 0)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (self->m_bRan) {
            // Watchdog: an action that left its dialog open must not leave the test hanging.
            if (!::IsWindow(self->m_hWindow) || !::IsWindowVisible(self->m_hWindow)) {
                self->Stop();
            } else if (now > self->m_deadline) {
                self->m_bTimedOut = true;
                self->Stop();
                ::EndDialog(self->m_hWindow, -2);
            }
            return;
        }
        HWND window = FindThreadWindow(self->m_strCaption);
        if (window == nullptr) {
            if (now > self->m_deadline) {
                self->m_bTimedOut = true;
                self->Stop();
            }
            return;
        }
        self->m_bRan = true;
        self->m_hWindow = window;
        self->m_deadline = now + std::chrono::seconds(3);
        self->m_action(window);
    }

    std::string m_strCaption;
    std::function<void(HWND)> m_action;
    std::chrono::steady_clock::time_point m_deadline;
    UINT_PTR m_nTimer = 0;
    HWND m_hWindow = nullptr;
    bool m_bRan = false;
    bool m_bTimedOut = false;
};

inline void PumpPendingMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
