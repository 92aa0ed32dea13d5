// The application object: starts the sockets layer and the common controls, opens the profile
// under the "Corvane Technologies" key, runs the main window until it closes and ends.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class CSocketLibrary;
class ISettingsStore;

// The key word of the profile: HKEY_CURRENT_USER\Software\Corvane Technologies\<application>.
inline constexpr const char* kRegistryKeyWord = "Corvane Technologies";
inline constexpr const char* kWinSockFailure = "Unable to Initialize WinSock";

class CCheckerApp {
public:
    explicit CCheckerApp(HINSTANCE hInstance) : m_hInstance(hInstance) {}
    virtual ~CCheckerApp() = default;
    CCheckerApp(const CCheckerApp&) = delete;
    CCheckerApp& operator=(const CCheckerApp&) = delete;

    // The start-up steps and the main window's whole life; the process exit code: 0 when the
    // window ran, 1 when the sockets layer could not be started (no window is shown then).
    int Run();

protected:
    // Exactly version 1.1 counts as started.
    virtual bool SocketsStarted(const CSocketLibrary& sockets) const;
    // Shows the failure message (OK button, application name as caption).
    virtual void Alert(const std::string& text);
    // Runs the main window modally, then destroys it, which writes the data file.
    virtual void RunMainWindow(std::shared_ptr<ISettingsStore> store);

    HINSTANCE m_hInstance;
};
