// The real main window, created modeless from its template in the test process, with a data file
// in a temporary folder, an in-memory profile (or the registry) and scripted answers to its
// questions.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/checker_dlg.h"
#include "domains/data_file.h"
#include "domains/domain_array.h"
#include "framework/settings_store.h"
#include "res/resource.h"
#include "tests/support/temp_dir.h"

// A question the window asked.
struct AskedQuestion {
    std::string text;
    UINT type = 0;
};

// Answers the window's questions from a script (IDCANCEL once the script is used up) and records
// them. Shared with the window, so it outlives the window's destructor.
class CScriptedPrompt {
public:
    std::deque<int> answers;
    std::vector<AskedQuestion> asked;
    // Runs before the answer is given (to mend the cause of a Retry, for instance).
    std::function<void(const AskedQuestion&)> onAsk;

    UserPrompt Prompt() {
        return [this](HWND, const std::string& text, UINT type) {
            asked.push_back({text, type});
            if (onAsk)
                onAsk(asked.back());
            if (answers.empty())
                return IDCANCEL;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        };
    }
};

// Serves the messages waiting now. A message that comes back for ever (a paint nobody validates)
// fails the test instead of hanging it.
inline void PumpMessages() {
    MSG msg;
    int served = 0;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        if (++served == 100000) {
            char cls[64] = {};
            ::GetClassNameA(msg.hwnd, cls, sizeof(cls));
            ADD_FAILURE() << "message 0x" << std::hex << msg.message << " keeps coming for a "
                          << cls << " window";
            return;
        }
    }
}

// Serves messages until `done` holds or the time is up; the final value of `done`.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        PumpMessages();
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

inline void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

// Exposes what the tests look at without a message.
class CTestCheckerDlg : public CCheckerDlg {
public:
    using CCheckerDlg::CCheckerDlg;
    using CCheckerDlg::LoadExportMenu;
};

class CheckerDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_store = std::make_shared<CMemorySettingsStore>();
        m_strDataFile = m_dir.File("quorvix.dcd");
    }

    void TearDown() override {
        m_dlg.reset();
        PumpMessages();
    }

    // Writes a data file holding these names, all unchecked.
    void WriteDataFile(const std::vector<std::string>& names) {
        CDomainArray list;
        for (const std::string& name : names) ASSERT_TRUE(list.AddName(name)) << name;
        ASSERT_TRUE(SaveDomainFile(m_strDataFile, list));
    }

    // Creates the window (hidden tests are not possible: the template is visible).
    CTestCheckerDlg& Open() {
        m_dlg = std::make_unique<CTestCheckerDlg>(m_store, m_strDataFile);
        m_dlg->SetPrompt(m_prompt.Prompt());
        EXPECT_TRUE(m_dlg->CreateModeless());
        PumpMessages();
        return *m_dlg;
    }

    HWND Window() const { return m_dlg->GetHandle(); }
    HWND List() const { return ::GetDlgItem(Window(), IDC_DOMAIN_LIST); }

    LRESULT Command(int id) const {
        return ::SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                              reinterpret_cast<LPARAM>(::GetDlgItem(Window(), id)));
    }

    int ItemCount() const {
        return static_cast<int>(::SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0));
    }

    // The cell text as the list itself asks for it (LVN_GETDISPINFOA to the window).
    std::string CellText(int row, int column) const {
        char buffer[512] = {};
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = sizeof(buffer);
        ::SendMessageA(List(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    std::string StatusText() const {
        char buffer[256] = {};
        ::GetDlgItemTextA(Window(), IDC_QUEUE_STATUS, buffer, sizeof(buffer));
        return buffer;
    }

    void SelectRows(const std::vector<int>& rows) const {
        LVITEMA none = {};
        none.stateMask = LVIS_SELECTED;
        ::SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(&none));
        for (int row : rows) {
            LVITEMA item = {};
            item.stateMask = LVIS_SELECTED;
            item.state = LVIS_SELECTED;
            ::SendMessageA(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
        }
    }

    // Resizes the window so that its client area is `width` x `height`.
    void SetClientSize(int width, int height) const {
        RECT rc = {0, 0, width, height};
        ::AdjustWindowRectEx(&rc, static_cast<DWORD>(::GetWindowLongPtrA(Window(), GWL_STYLE)),
                             FALSE, static_cast<DWORD>(::GetWindowLongPtrA(Window(), GWL_EXSTYLE)));
        ::SetWindowPos(Window(), nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
    }

    CTempDir m_dir;
    std::string m_strDataFile;
    std::shared_ptr<CMemorySettingsStore> m_store;
    CScriptedPrompt m_prompt;
    std::unique_ptr<CTestCheckerDlg> m_dlg;
};
