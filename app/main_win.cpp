// Entry point of quorvix.exe.
#include <windows.h>

#include "app/checker_app_win.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CCheckerApp app(hInstance);
    return app.Run();
}
