#include <gtest/gtest.h>
#include <windows.h>
#include "framework/WinApp.h"

// Every test program runs with an application object as the program has one: the profile
// functions, the resources and the main window work as in Varnito.exe.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    CWinApp app;
    app.PrepareRun(GetModuleHandleA(nullptr), "");
    app.SetRegistryKey("Morvel");
    return RUN_ALL_TESTS();
}
