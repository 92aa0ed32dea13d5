// The main window: the domain list with its nine columns, the buttons, the status line and the
// lookup timer. It owns every record for the life of the process, loads them from the data file
// when it opens and writes them back when it is destroyed.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/lookup_host_win.h"
#include "domains/domain_array.h"
#include "framework/dialog_win.h"
#include "framework/gdi_win.h"
#include "framework/menu_win.h"
#include "ui/color_list_ctrl_win.h"
#include "whois/lookup_scheduler.h"

class ISettingsStore;

// Questions the window asks (New, quit, a data file that cannot be written): the MessageBoxA
// button code of the answer. The program shows message boxes; tests answer by script.
using UserPrompt = std::function<int(HWND owner, const std::string& text, UINT type)>;

class CCheckerDlg : public CDialogBase {
public:
    // `store` is the application's profile (read by the workers too, hence shared); `dataFilePath`
    // the data file, normally GetDataFilePath() beside the executable.
    CCheckerDlg(std::shared_ptr<ISettingsStore> store, std::string dataFilePath);
    // Writes the list to the data file when it holds at least one record.
    ~CCheckerDlg() override;

    // The program runs the window modally; tests create the same window modeless.
    INT_PTR DoModal(HWND owner = nullptr);
    bool CreateModeless(HWND owner = nullptr);
    void EndWith(INT_PTR result) override;

    // The data file beside the running executable.
    static std::string GetDataFilePath();
    const std::string& GetDataFile() const { return m_strDataFile; }

    // The text of cell (row, column) into the list's buffer: at most `capacity` - 1 bytes and a
    // zero. Without a record at `row` columns 2..8 leave the buffer untouched.
    void GetCellText(int row, int column, char* buffer, int capacity) const;
    // Places the status line, frame, list and icons for the client size and sets column widths.
    void LayoutControls();

    bool LoadWindowPlacement(WINDOWPLACEMENT& wp) const;
    void SaveWindowPlacement();

    // Writes the list to the data file, asking Retry/Cancel while it cannot be written. True when
    // the list was written or there was nothing to write; false when the user gave up.
    bool SaveDataFile();

    void SetPrompt(UserPrompt prompt) { m_prompt = std::move(prompt); }
    void SetWhoisPort(int port);

    CDomainArray& GetDomains() { return m_domains; }
    CLookupScheduler& GetScheduler() { return m_scheduler; }
    CColorListCtrl& GetList() { return m_list; }
    const std::string& GetQueueStatus() const { return m_scheduler.GetQueueStatus(); }

protected:
    bool OnCreate() override;
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;      // Close
    void OnCancel() override;  // the quit question
    void OnDestroyed() override;
    const CMessageTable& GetMessageTable() const override;

    int Ask(const std::string& text, UINT type);

    // Commands of the main window.
    void OnNew();
    void OnDelete();
    void OnLookup();
    void OnLookupAll();
    void OnReset();
    void OnStop();
    void OnExport();
    void OnClose();
    // Menu 130's popup, both items greyed while the list is empty.
    CMenuHandle LoadExportMenu() const;

    // Window messages.
    void OnTimer(CMessage& m);
    void OnLookupDoneMessage(CMessage& m);
    void OnSize(CMessage& m);
    void OnGetMinMaxInfo(CMessage& m);
    void OnPaint(CMessage& m);
    void OnQueryDragIcon(CMessage& m);
    void OnEndSession(CMessage& m);
    void OnDestroyMessage(CMessage& m);
    LRESULT OnGetDispInfo(NMHDR* header);

    // Commands whose dialogs, files and clipboard work live in checker_dlg_commands_win.cpp.
    void OnAdd();
    void OnConfigure();
    void OnAbout();
    void OnSysCommand(CMessage& m);
    void OnMaker();
    void OnExportAll();
    void OnExportSelected();
    void OnCopyAll();
    void OnCopySelected();
    void OnCopyNames();
    void OnBrowse();
    LRESULT OnColumnClick(NMHDR* header);
    // The table of those commands; the main table chains to it.
    static const CMessageTable& GetCommandTable();

    // The "Domain" texts of the selected rows, in row order.
    std::vector<std::string> GetSelectedNames() const;
    // The list's row count back to the number of records.
    void UpdateRowCount();

private:
    CDomainArray m_domains;
    std::shared_ptr<ISettingsStore> m_store;
    CWindowLookupHost m_host;
    // The WHOIS queue, the Lookup All feed, the active lookups and the status-line text.
    CLookupScheduler m_scheduler;
    CFontHandle m_fontList;
    CWindow m_appIcon;        // 1025
    CWindow m_makerButton;    // 1007
    CWindow m_buttonFrame;    // 1023
    CWindow m_badgeIcon;      // 1021
    CWindow m_status;         // 1012
    CWindow m_exportButton;   // 1005
    CColorListCtrl m_list;    // 1000
    HICON m_hIcon = nullptr;  // shared resource icon, never destroyed

    std::string m_strDataFile;
    UserPrompt m_prompt;
    bool m_bModal = false;
};
