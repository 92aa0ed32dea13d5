#include "ui/configure_dlg_win.h"

#include <algorithm>
#include <vector>

#include "domains/ser_string_array.h"
#include "framework/data_exchange_win.h"
#include "framework/settings_store.h"
#include "framework/text.h"
#include "res/resource.h"
#include "ui/integer_field.h"
#include "whois/extension_table.h"

CConfigureDlg::CConfigureDlg(ISettingsStore& store) : CModalDialog(IDD_CONFIGURE), m_store(store) {}

void CConfigureDlg::DoDataExchange(CDataExchange& dx) {
    dx.Control(IDC_EXTENSION_LIST, m_listExtensions);
    dx.Text(IDC_AVAILABLE_TOKEN, m_strAvailableToken);
    dx.Int(IDC_INTERVAL, m_nInterval, ParseIntegerField, INTEGER_FIELD_REFUSED);
    dx.Int(IDC_MAX_CONNECTIONS, m_nMaxConnections, ParseIntegerField, INTEGER_FIELD_REFUSED);
    dx.Text(IDC_QUERY_PREFIX, m_strQueryPrefix);
    dx.Text(IDC_SERVER, m_strServer);
    dx.ListBoxIndex(IDC_EXTENSION_LIST, m_nSel);
    dx.Text(IDC_NEW_EXTENSION, m_strNewExtension);
}

bool CConfigureDlg::OnInitDialog() {
    CModalDialog::OnInitDialog();
    CSerStringArray extensions;  // refuses a repeated name, whatever its case
    for (int n = 1;; ++n) {
        const std::string extension = m_store.GetString(kSectionDomains, std::to_string(n));
        if (extension.empty())
            break;
        extensions.Add(extension);
    }
    if (extensions.IsEmpty())
        SeedExtensionSettings(m_store, extensions);
    for (int i = 0; i < extensions.GetSize(); ++i) {
        m_listExtensions.Send(LB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(extensions.GetString(i).c_str()));
    }
    m_nPrevSel = -1;
    return true;
}

int CConfigureDlg::GetExtensionCount() const {
    const LRESULT count = m_listExtensions.Send(LB_GETCOUNT);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

std::string CConfigureDlg::GetExtension(int row) const {
    const LRESULT length = m_listExtensions.Send(LB_GETTEXTLEN, static_cast<WPARAM>(row));
    if (length == LB_ERR || length < 0)
        return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = m_listExtensions.Send(LB_GETTEXT, static_cast<WPARAM>(row),
                                              reinterpret_cast<LPARAM>(text.data()));
    if (got == LB_ERR || got < 0)
        return std::string();
    return std::string(text.data(), std::min(static_cast<size_t>(got), text.size() - 1));
}

void CConfigureDlg::StoreExtension(const std::string& extension) const {
    m_store.WriteString(extension, kValueQueryPrefix, m_strQueryPrefix);
    m_store.WriteString(extension, kValueServer, m_strServer);
    m_store.WriteString(extension, kValueAvailableToken, m_strAvailableToken);
    // Limits belong to a server; without a server name there is no section to hold them.
    if (m_strServer.empty())
        return;
    m_store.WriteInt(m_strServer, kValueMaxConnections, m_nMaxConnections);
    m_store.WriteInt(m_strServer, kValueConnectionInterval, m_nInterval);
}

void CConfigureDlg::LoadExtension(const std::string& extension) {
    m_strQueryPrefix = m_store.GetString(extension, kValueQueryPrefix);
    m_strServer = m_store.GetString(extension, kValueServer);
    m_strAvailableToken = m_store.GetString(extension, kValueAvailableToken);
    m_nMaxConnections = m_strServer.empty() ? kDefaultMaxConnections
                                            : m_store.GetInt(m_strServer, kValueMaxConnections,
                                                             kDefaultMaxConnections);
    m_nInterval = m_strServer.empty() ? kDefaultConnectionInterval
                                      : m_store.GetInt(m_strServer, kValueConnectionInterval,
                                                       kDefaultConnectionInterval);
}

void CConfigureDlg::OnSelChangeExtension() {
    if (!UpdateData(true)) {
        m_listExtensions.Send(LB_SETCURSEL, static_cast<WPARAM>(m_nPrevSel));
        return;
    }
    const int count = GetExtensionCount();
    if (m_nPrevSel >= 0 && m_nPrevSel < count)
        StoreExtension(GetExtension(m_nPrevSel));
    if (m_nSel >= 0 && m_nSel < count) {
        LoadExtension(GetExtension(m_nSel));
        m_nPrevSel = m_nSel;
        UpdateData(false);
    }
}

void CConfigureDlg::OnAddExtension() {
    if (!UpdateData(true)) {
        m_listExtensions.Send(LB_SETCURSEL, static_cast<WPARAM>(m_nPrevSel));
        return;
    }
    const std::string name(TrimWhite(m_strNewExtension));
    if (name.empty())
        return;
    const int count = GetExtensionCount();
    for (int row = 0; row < count; ++row) {
        if (EqualsNoCase(GetExtension(row), name)) {
            m_listExtensions.Send(LB_SETCURSEL, static_cast<WPARAM>(row));
            OnSelChangeExtension();
            return;
        }
    }
    m_listExtensions.Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

const CMessageTable& CConfigureDlg::GetMessageTable() const {
    static const CMessageTable table{
        ControlEntry(IDC_EXTENSION_LIST, LBN_SELCHANGE, &CConfigureDlg::OnSelChangeExtension),
        CommandEntry(IDC_ADD_EXTENSION, &CConfigureDlg::OnAddExtension),
    };
    return table;
}
