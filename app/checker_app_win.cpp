#include "app/checker_app_win.h"

#include "app/checker_dlg.h"
#include "framework/app_win.h"
#include "framework/registry_store.h"
#include "framework/socket_library.h"

int CCheckerApp::Run() {
    try {
        // Shut down again when the program ends, after the main window has gone.
        CSocketLibrary sockets;
        if (!SocketsStarted(sockets)) {
            Alert(kWinSockFailure);
            return 1;
        }
        InitCommonControlsOnce();
        // Every profile value lives under HKCU\Software\Corvane Technologies\<application>.
        RunMainWindow(std::make_shared<CRegistrySettingsStore>(kRegistryKeyWord, GetAppName()));
        return 0;
    } catch (...) {
        // Out of memory before the window could run: nothing more can be done.
        return 1;
    }
}

bool CCheckerApp::SocketsStarted(const CSocketLibrary& sockets) const {
    return sockets.IsStarted();
}

void CCheckerApp::Alert(const std::string& text) {
    AppMessageBox(nullptr, text, MB_OK);
}

void CCheckerApp::RunMainWindow(std::shared_ptr<ISettingsStore> store) {
    CCheckerDlg dlg(std::move(store), CCheckerDlg::GetDataFilePath());
    dlg.DoModal();
}
