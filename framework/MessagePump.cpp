#include "framework/MessagePump.h"
#include <windows.h>
#include "framework/Wnd.h"

void PumpPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (CWnd::WalkPreTranslateTree(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
