#include "tests/support/PasswordDialogUser.h"
#include "spi/common/password/PasswordDialogIds.h"

namespace testsupport {
namespace {

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK TakeIfPasswordDialog(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || std::string(className) != "#32770" ||
        TextOf(window).rfind("パスワード", 0) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

HWND FindPasswordDialog() {
    HWND found = nullptr;
    EnumWindows(&TakeIfPasswordDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

PasswordDialogUser::PasswordDialogUser(std::vector<const char*> answers)
    : answers_(answers.begin(), answers.end()), thread_([this] { Watch(); }) {}

PasswordDialogUser::~PasswordDialogUser() { Finish(); }

std::vector<PasswordDialogUser::Shown> PasswordDialogUser::Finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return shown_;
}

void PasswordDialogUser::Watch() {
    while (!stop_) {
        HWND dialog = FindPasswordDialog();
        if (!dialog) {
            Sleep(10);
            continue;
        }
        Answer(dialog);
        // The dialog ends on the plug-in's thread; the next one is another window.
        for (int tries = 0; tries < 500 && IsWindow(dialog) && IsWindowVisible(dialog); ++tries) Sleep(10);
    }
}

void PasswordDialogUser::Answer(HWND dialog) {
    Shown shown;
    shown.archiveName = TextOf(GetDlgItem(dialog, IDC_PASSWORD_ARCHIVE));
    shown.wrongLineShown = IsWindowVisible(GetDlgItem(dialog, IDC_PASSWORD_WRONG)) != FALSE;
    shown_.push_back(shown);
    const char* answer = Cancel;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    if (answer) SendMessageA(GetDlgItem(dialog, IDC_PASSWORD_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer));
    SendMessageA(GetDlgItem(dialog, answer ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
}

}  // namespace testsupport
