// The main window's commands that open other dialogs, write files, use the
// clipboard or the browser, and sort the list.
#include "app/checker_dlg.h"

#include <commctrl.h>

#include "res/resource.h"

void CCheckerDlg::OnAdd() {}

void CCheckerDlg::OnConfigure() {}

void CCheckerDlg::OnAbout() {}

void CCheckerDlg::OnSysCommand(CMessage &m) {
  if ((m.wParam & 0xFFF0) == ID_ABOUTBOX) {
    OnAbout();
    return;
  }
  m.handled = false; // moving, sizing, closing: the system's own handling
}

void CCheckerDlg::OnMaker() {}

void CCheckerDlg::OnExportAll() {}

void CCheckerDlg::OnExportSelected() {}

void CCheckerDlg::OnCopyAll() {}

void CCheckerDlg::OnCopySelected() {}

void CCheckerDlg::OnCopyNames() {}

void CCheckerDlg::OnBrowse() {}

LRESULT CCheckerDlg::OnColumnClick(NMHDR *) { return 0; }

const CMessageTable &CCheckerDlg::GetCommandTable() {
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
      NotifyEntry(IDC_DOMAIN_LIST, LVN_COLUMNCLICK,
                  &CCheckerDlg::OnColumnClick),
  };
  return table;
}
