#pragma once
// The message box of a failed plug-in call, shown by the window that made the call.
#include <windows.h>

// Shows the message of a negative plug-in result ("画像展開エラー") owned by owner; nothing for
// success or a code without a message.
void ShowPluginErrorBox(HWND owner, int code);
