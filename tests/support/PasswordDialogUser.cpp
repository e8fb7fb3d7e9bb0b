#include "tests/support/PasswordDialogUser.h"
#include "spi/common/password/PasswordDialogIds.h"

namespace testsupport {
namespace {

std::string Text(HWND window) {
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
        Text(window).rfind("パスワード", 0) != 0)
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

void TypePassword(HWND dialog, const std::string& text) {
    SendDlgItemMessageA(dialog, IDC_PASSWORD_EDIT, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressButton(HWND dialog, int button) { SendMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0); }

PasswordDialogUser::PasswordDialogUser(std::vector<std::string> answers)
    : answers_(std::move(answers)), thread_([this] { Watch(); }) {}

PasswordDialogUser::~PasswordDialogUser() { Finish(); }

const std::vector<SeenPasswordDialog>& PasswordDialogUser::Finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return seen_;
}

void PasswordDialogUser::Watch() {
    HWND answered = nullptr;
    while (!stop_) {
        HWND dialog = FindPasswordDialog();
        if (!dialog || dialog == answered) {
            Sleep(10);
            continue;
        }
        SeenPasswordDialog seen;
        seen.archiveName = Text(GetDlgItem(dialog, IDC_PASSWORD_ARCHIVE));
        seen.wrongLineShown = IsWindowVisible(GetDlgItem(dialog, IDC_PASSWORD_WRONG)) != FALSE;
        const std::string answer = seen_.size() < answers_.size() ? answers_[seen_.size()] : Cancel();
        seen_.push_back(seen);
        answered = dialog;
        if (answer == Cancel()) {
            PressButton(dialog, IDCANCEL);
        } else {
            TypePassword(dialog, answer);
            PressButton(dialog, IDOK);
        }
    }
}

}  // namespace testsupport
