#include "ui/PluginErrorBox.h"
#include "plugins/PluginTable.h"

void ShowPluginErrorBox(HWND owner, int code) {
    const char* message = PluginErrorText(code);
    if (!message) return;
    MessageBoxA(owner, message, "画像展開エラー", MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}
