// The Configure dialog: per-extension WHOIS server, query prefix and availability token, and the
// connection limits of that extension's server, read from and written to the settings store.
// A row's edits are stored when another row is selected; closing stores nothing.
#pragma once

#include <string>

#include "framework/dialog_win.h"
#include "framework/window_win.h"

class ISettingsStore;

class CConfigureDlg : public CModalDialog {
public:
    explicit CConfigureDlg(ISettingsStore& store);

    int m_nPrevSel = -1;       // the row whose values the fields show and will store
    CWindow m_listExtensions;  // 1013
    std::string m_strAvailableToken;
    int m_nInterval = 0;
    int m_nMaxConnections = 0;
    std::string m_strQueryPrefix;
    std::string m_strServer;
    int m_nSel = -1;  // the row just selected
    std::string m_strNewExtension;

    // The list box rows, in order.
    int GetExtensionCount() const;
    std::string GetExtension(int row) const;

    // Selection change of the list box: stores the extension shown so far, then loads and shows
    // the selected one. A refused number field stops it: the user's edits stay, and the list box
    // goes back to the row they belong to.
    void OnSelChangeExtension();
    // "+": selects a listed extension of that name (whatever its case and surrounding blanks), or
    // appends a new row. A blank name does nothing.
    void OnAddExtension();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    const CMessageTable& GetMessageTable() const override;

private:
    void StoreExtension(const std::string& extension) const;
    void LoadExtension(const std::string& extension);

    ISettingsStore& m_store;
};
