#pragma once
// The plug-ins' password dialog driven from a test (or a benchmark) as a user would: found
// among this process's windows by its title, typed into, OK or キャンセル pressed, its texts
// read back. Without GoogleTest, so that benchmark programs link it too.
#include <windows.h>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// A visible dialog of this process whose title starts with パスワード; null when none is.
HWND FindPasswordDialog();
// Types the text (code page 932) into the dialog's password box where its caret is.
void TypePassword(HWND dialog, const std::string& text);
void PressButton(HWND dialog, int button);

// What one dialog showed when it came up.
struct SeenPasswordDialog {
    std::string archiveName;
    bool wrongLineShown = false;
};

// Answers every password dialog that comes up, from its own thread, with the next of the
// answers (a password to type before OK, or Cancel() for キャンセル); a dialog beyond them is
// cancelled too, and counted, so that nothing waits for a person.
class PasswordDialogUser {
public:
    static std::string Cancel() { return std::string(1, '\0'); }
    explicit PasswordDialogUser(std::vector<std::string> answers);
    ~PasswordDialogUser();
    PasswordDialogUser(const PasswordDialogUser&) = delete;
    PasswordDialogUser& operator=(const PasswordDialogUser&) = delete;

    // Stops watching (give it the calls under test first) and returns every dialog it saw.
    const std::vector<SeenPasswordDialog>& Finish();

private:
    void Watch();

    std::vector<std::string> answers_;
    std::vector<SeenPasswordDialog> seen_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace testsupport
