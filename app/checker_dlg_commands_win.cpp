// The main window's commands that open other dialogs, write files, use the clipboard or the
// browser, and sort the list.
#include "app/checker_dlg.h"

#include <commctrl.h>

#include "domains/intake.h"
#include "framework/app_win.h"
#include "res/resource.h"
#include "ui/about_dlg_win.h"
#include "ui/add_names_dlg_win.h"
#include "ui/browse.h"
#include "ui/clipboard_win.h"
#include "ui/configure_dlg_win.h"
#include "ui/export_text.h"
#include "ui/export_win.h"
#include "ui/import_progress_dlg_win.h"
#include "ui/open_url_win.h"

void CCheckerDlg::OnAdd() {
    CAddNamesDlg dlg(*m_store);
    if (dlg.DoModal(m_hWnd) != IDOK)
        return;
    {
        CWaitCursor wait;
        CImportProgressDlg progress;
        // Without its window the import still runs, only without a Cancel button.
        const bool shown = progress.Start(m_hWnd);
        progress.HideProgressBar();
        ImportNames(m_domains, dlg.m_strResult, shown ? &progress : nullptr);
        progress.Close();
    }
    UpdateRowCount();
}

void CCheckerDlg::OnConfigure() {
    CConfigureDlg dlg(*m_store);
    dlg.DoModal(m_hWnd);
}

void CCheckerDlg::OnAbout() {
    CAboutDlg dlg;
    dlg.DoModal(m_hWnd);
}

void CCheckerDlg::OnSysCommand(CMessage& m) {
    if ((m.wParam & 0xFFF0) == ID_ABOUTBOX) {
        OnAbout();
        return;
    }
    m.handled = false;  // moving, sizing, closing: the system's own handling
}

void CCheckerDlg::OnMaker() {
    OpenUrl(kMakerHomePage, SW_SHOWNORMAL);
}

namespace {

// Rows as the list shows them, without the blue tag; empty when there is nothing to hand on.
std::string ListText(const CColorListCtrl& list, bool selectedOnly, int column) {
    std::string text;
    const bool any =
        selectedOnly ? list.GetSelectedRowsText(text, column) : list.GetAllRowsText(text, column);
    return any ? RemoveBlueTags(text) : std::string();
}

}  // namespace

void CCheckerDlg::OnExportAll() {
    const std::string text = ListText(m_list, false, kAllColumns);
    if (text.empty())
        return;
    SaveTextToFile(*m_store, text, [this](const std::string& message) { Ask(message, MB_OK); });
}

void CCheckerDlg::OnExportSelected() {
    const std::string text = ListText(m_list, true, kAllColumns);
    if (text.empty())
        return;
    SaveTextToFile(*m_store, text, [this](const std::string& message) { Ask(message, MB_OK); });
}

void CCheckerDlg::OnCopyAll() {
    const std::string text = ListText(m_list, false, kAllColumns);
    if (!text.empty())
        CopyToClipboard(text);
}

void CCheckerDlg::OnCopySelected() {
    const std::string text = ListText(m_list, true, kAllColumns);
    if (!text.empty())
        CopyToClipboard(text);
}

void CCheckerDlg::OnCopyNames() {
    const std::string text = ListText(m_list, false, 1);
    if (!text.empty())
        CopyToClipboard(text);
}

void CCheckerDlg::OnBrowse() {
    const std::vector<std::string> names = GetSelectedNames();
    if (names.empty())
        return;
    // A name that could end the address early or add arguments is not opened at all.
    const std::string address = BuildBrowseAddress(names.front());
    if (!address.empty())
        OpenUrl(address, SW_SHOWNORMAL);
}

LRESULT CCheckerDlg::OnColumnClick(NMHDR* header) {
    const auto* click = reinterpret_cast<const NMLISTVIEW*>(header);
    if (click == nullptr || click->iSubItem <= 0)
        return 0;  // the "#" column is not sortable
    CWaitCursor wait;
    HWND window = m_hWnd;
    m_domains.SortByColumn(click->iSubItem,
                           [window] { ::PostMessageA(window, WM_USER, LOOKUP_REPAINT, 0); });
    return 0;
}

const CMessageTable& CCheckerDlg::GetCommandTable() {
    static const CMessageTable table{
        CommandEntry(IDC_ADD, &CCheckerDlg::OnAdd),
        CommandEntry(IDC_CONFIGURE, &CCheckerDlg::OnConfigure),
        CommandEntry(IDC_ABOUT, &CCheckerDlg::OnAbout),
        MessageEntry(WM_SYSCOMMAND, &CCheckerDlg::OnSysCommand),
        CommandEntry(IDC_MAKER, &CCheckerDlg::OnMaker),
        CommandEntry(ID_EXPORT_ALL, &CCheckerDlg::OnExportAll),
        CommandEntry(ID_EXPORT_SELECTED, &CCheckerDlg::OnExportSelected),
        CommandEntry(ID_COPY_ALL, &CCheckerDlg::OnCopyAll),
        CommandEntry(ID_COPY_SELECTED, &CCheckerDlg::OnCopySelected),
        CommandEntry(ID_COPY_NAMES, &CCheckerDlg::OnCopyNames),
        CommandEntry(ID_BROWSE_WEBSITE, &CCheckerDlg::OnBrowse),
        NotifyEntry(IDC_DOMAIN_LIST, LVN_COLUMNCLICK, &CCheckerDlg::OnColumnClick),
    };
    return table;
}
