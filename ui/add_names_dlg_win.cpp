#include "ui/add_names_dlg_win.h"

#include "framework/data_exchange_win.h"
#include "res/resource.h"
#include "ui/file_prompt_win.h"

CAddNamesDlg::CAddNamesDlg(ISettingsStore& store) : CModalDialog(IDD_ADD_NAMES), m_store(store) {}

void CAddNamesDlg::DoDataExchange(CDataExchange& dx) {
    dx.Control(IDC_BANNER, m_banner);
    dx.Text(IDC_NAMES_EDIT, m_strNames);
}

bool CAddNamesDlg::OnInitDialog() {
    CModalDialog::OnInitDialog();
    // A paste of a full list's names is longer than an edit box takes by default.
    ::SendDlgItemMessageA(m_hWnd, IDC_NAMES_EDIT, EM_SETLIMITTEXT, 0, 0);
    m_banner.m_nTextFlags = DT_CENTER;
    m_banner.SetFontSize(14);
    m_banner.SetText(kAddNamesBannerText);
    return true;
}

void CAddNamesDlg::OnOK() {
    if (!UpdateData(true))
        return;
    m_strResult = m_strNames;
    CModalDialog::OnOK();
}

void CAddNamesDlg::OnImportFile() {
    std::string text;
    if (ImportTextFile(m_store, text, kImportFileTitle) <= 0)
        return;  // cancelled, unreadable or empty: the dialog stays open
    m_strResult = std::move(text);
    CModalDialog::OnOK();
}

const CMessageTable& CAddNamesDlg::GetMessageTable() const {
    static const CMessageTable table{
        CommandEntry(IDC_IMPORT_FILE, &CAddNamesDlg::OnImportFile),
    };
    return table;
}
