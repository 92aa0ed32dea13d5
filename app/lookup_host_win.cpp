#include "app/lookup_host_win.h"

#include <commctrl.h>
#include <process.h>

#include <new>

#include "framework/settings_store.h"
#include "whois/whois_worker.h"

namespace {

// Everything a worker thread owns; freed by the thread itself.
struct WorkerStart {
    WhoisJobPtr job;
    std::shared_ptr<const ISettingsStore> store;
    int port = kWhoisPort;
    WhoisLimits limits;
};

unsigned __stdcall WorkerThreadProc(void* param) {
    WorkerStart* start = static_cast<WorkerStart*>(param);
    try {
        const HWND hWindow = reinterpret_cast<HWND>(start->job->m_hOwner);
        WhoisWorker(
            start->job, *start->store,
            [hWindow](int code, const WhoisJobPtr& job) {
                PostLookupCompletion(hWindow, code, job);
            },
            start->port, start->limits);
    } catch (...) {
        // Nothing may leave a thread start; the job simply ends without a completion.
    }
    delete start;
    return 0;
}

}  // namespace

CWindowLookupHost::CWindowLookupHost(std::shared_ptr<const ISettingsStore> store, int port)
    : m_store(std::move(store)), m_nPort(port) {}

void CWindowLookupHost::Attach(HWND hWindow, HWND hList, HWND hStatus) {
    m_hWindow = hWindow;
    m_hList = hList;
    m_hStatus = hStatus;
}

bool CWindowLookupHost::StartWorker(const WhoisJobPtr& job) {
    if (!job || !m_store)
        return false;
    WorkerStart* start = new (std::nothrow) WorkerStart;
    if (!start)
        return false;
    try {
        start->job = job;
        start->store = m_store;
        start->port = m_nPort;
        start->limits = m_limits;
    } catch (...) {
        delete start;
        return false;
    }
    const uintptr_t hThread = _beginthreadex(nullptr, 0, WorkerThreadProc, start, 0, nullptr);
    if (hThread == 0) {
        delete start;
        return false;
    }
    // The thread runs on its own; nobody waits for it.
    CloseHandle(reinterpret_cast<HANDLE>(hThread));
    return true;
}

void CWindowLookupHost::RepaintRow(int row) {
    if (m_hList)
        SendMessageA(m_hList, LVM_REDRAWITEMS, row, row);
}

void CWindowLookupHost::RepaintAll() {
    if (m_hList)
        InvalidateRect(m_hList, nullptr, TRUE);
}

void CWindowLookupHost::ShowStatus(const std::string& text) {
    if (m_hStatus)
        SetWindowTextA(m_hStatus, text.c_str());
}

bool PostLookupCompletion(HWND hWindow, int code, const WhoisJobPtr& job) {
    const uintptr_t token = PackJobForPost(job);
    if (token == 0)
        return false;
    if (hWindow && PostMessageA(hWindow, WM_LOOKUP_DONE, static_cast<WPARAM>(code),
                                static_cast<LPARAM>(token))) {
        return true;
    }
    TakePostedJob(token);
    return false;
}

WhoisJobPtr ReceiveLookupCompletion(LPARAM lParam) {
    return TakePostedJob(static_cast<uintptr_t>(lParam));
}

int DiscardQueuedCompletions(HWND hWindow) {
    int count = 0;
    MSG msg;
    while (PeekMessageA(&msg, hWindow, WM_LOOKUP_DONE, WM_LOOKUP_DONE, PM_REMOVE)) {
        if (msg.wParam == LOOKUP_FAILED || msg.wParam == LOOKUP_ANSWERED) {
            if (ReceiveLookupCompletion(msg.lParam))
                ++count;
        }
    }
    return count;
}
