#pragma once
#include <windows.h>

class CWnd;

// The program's message box: caption "Varnito", exclamation icon, one OK button,
// system-modal, owned by the given window (or by none).
int AppMessageBox(HWND owner, const char* text);
int AppMessageBox(CWnd* owner, const char* text);

// Style of the program's message box.
constexpr UINT AppMessageBoxStyle = MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL;
