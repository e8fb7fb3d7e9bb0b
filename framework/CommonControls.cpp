#include "framework/CommonControls.h"
#include <windows.h>
#include <commctrl.h>

void EnsureCommonControls() {
    static bool done = false;
    if (done) return;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    done = true;
}
