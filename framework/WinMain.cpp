#include "framework/WinApp.h"

// The process entry: hands the command line to the one application object and runs its
// start-up. Start-up shows its windows modally and returns; no message loop follows.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CWinApp* app = AfxGetApp();
    if (app) {
        app->PrepareRun(instance, GetCommandLineA(), GetCommandLineW());
        app->InitInstance();
    }
    return 0;
}
