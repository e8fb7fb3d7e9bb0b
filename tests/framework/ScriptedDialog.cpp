#include "tests/framework/ScriptedDialog.h"

namespace {
constexpr UINT_PTR SafetyTimer = 0x5AFE;
}

BOOL ScriptedDialog::OnInitDialog() {
    BOOL result = CDialog::OnInitDialog();
    events.push_back("init");
    SetTimer(m_hWnd, SafetyTimer, 5000, nullptr);
    if (script) script(*this);
    return result;
}

void ScriptedDialog::OnOK() {
    events.push_back("OnOK");
    CDialog::OnOK();
}

void ScriptedDialog::OnCancel() {
    events.push_back("OnCancel");
    CDialog::OnCancel();
}

BOOL ScriptedDialog::OnHelpInfo(HELPINFO* info) {
    events.push_back("OnHelpInfo");
    return CDialog::OnHelpInfo(info);
}

BOOL ScriptedDialog::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN) events.push_back("dialog:pretranslate");
    return CDialog::PreTranslateMessage(msg);
}

LRESULT ScriptedDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == SafetyTimer) {
        KillTimer(m_hWnd, SafetyTimer);
        events.push_back("timeout");
        EndDialog(TimedOut);
        return 0;
    }
    if (message == EndMessage) {
        EndDialog(EndedByScript);
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void ScriptedDialog::PostKey(int controlId, WPARAM key) {
    HWND control = ::GetDlgItem(m_hWnd, controlId);
    UINT scan = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    ::PostMessageA(control, WM_KEYDOWN, key, 1 | (scan << 16));
    ::PostMessageA(control, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000);
}

void ScriptedDialog::TypeKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}
