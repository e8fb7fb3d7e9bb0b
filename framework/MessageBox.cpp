#include "framework/MessageBox.h"
#include "framework/Wnd.h"

int AppMessageBox(HWND owner, const char* text) {
    return MessageBoxA(owner, text ? text : "", "Varnito", AppMessageBoxStyle);
}

int AppMessageBox(CWnd* owner, const char* text) {
    return AppMessageBox(owner ? owner->m_hWnd : nullptr, text);
}
