// The modal Add Domain Names dialog: a block of names typed or pasted into its edit box, or the
// whole content of a text file chosen from it. The caller reads m_strResult after OK.
#pragma once

#include <string>

#include "framework/dialog_win.h"
#include "ui/banner_static_win.h"

class ISettingsStore;

inline constexpr const char* kAddNamesBannerText =
    "Note: Supports only Com, Net, Org, Edu, Info, Biz Domains.";
inline constexpr const char* kImportFileTitle = "Import Domain Names From";

class CAddNamesDlg : public CModalDialog {
public:
    // `store` remembers the folder of the file prompt.
    explicit CAddNamesDlg(ISettingsStore& store);

    std::string m_strNames;   // the edit box
    std::string m_strResult;  // handed to the caller

    CBannerStatic& GetBanner() { return m_banner; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;
    const CMessageTable& GetMessageTable() const override;

    // "Import Names From a Text File...": a file with content ends the dialog with OK at once.
    void OnImportFile();

private:
    ISettingsStore& m_store;
    CBannerStatic m_banner;
};
