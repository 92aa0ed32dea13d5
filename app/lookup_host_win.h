// The Windows side of the scheduler: one thread per lookup, completions posted to the main window
// as WM_USER, repaints and the status line on the window's controls.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "whois/lookup_scheduler.h"
#include "whois/whois_client.h"

class ISettingsStore;

// The completion message: wParam LOOKUP_FAILED or LOOKUP_ANSWERED with lParam a token of
// PackJobForPost, or LOOKUP_REPAINT with lParam 0.
constexpr UINT WM_LOOKUP_DONE = WM_USER;

class CWindowLookupHost : public ILookupHost {
public:
    // `store` is shared with every worker, so that a worker still running when the window and the
    // application have gone never reads a destroyed store.
    explicit CWindowLookupHost(std::shared_ptr<const ISettingsStore> store, int port = kWhoisPort);

    // The main window and its list and status controls; null before creation and after destruction
    // (repaints and status then do nothing).
    void Attach(HWND hWindow, HWND hList, HWND hStatus);
    void Detach() { Attach(nullptr, nullptr, nullptr); }

    // Starts a thread that runs the worker and posts the completion to the job's owner window.
    bool StartWorker(const WhoisJobPtr& job) override;
    void RepaintRow(int row) override;
    void RepaintAll() override;
    void ShowStatus(const std::string& text) override;

    void SetPort(int port) { m_nPort = port; }
    void SetLimits(const WhoisLimits& limits) { m_limits = limits; }

private:
    std::shared_ptr<const ISettingsStore> m_store;
    int m_nPort;
    WhoisLimits m_limits;
    HWND m_hWindow = nullptr;
    HWND m_hList = nullptr;
    HWND m_hStatus = nullptr;
};

// Posts a completion for `job` to `hWindow`; when the window is gone the job's reference is given
// back at once, so nothing is left behind for a window that will never read it.
bool PostLookupCompletion(HWND hWindow, int code, const WhoisJobPtr& job);

// The job of a received completion, or null for a stray, forged or repeated message.
WhoisJobPtr ReceiveLookupCompletion(LPARAM lParam);

// Removes the completions still queued for a window that is being destroyed and releases their
// jobs; returns how many there were.
int DiscardQueuedCompletions(HWND hWindow);
