#pragma once
// Plays the user at our plug-ins' password dialog, from a thread of its own while the test's
// thread is in the plug-in call that shows it: each dialog of this process that comes up
// (a window whose title starts with パスワード) gets the next answer of a script, and what it
// showed is recorded.
#include <windows.h>
#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class PasswordDialogUser {
public:
    static constexpr const char* Cancel = nullptr;  // an answer: press キャンセル

    // Each answer: the text to type and OK, or Cancel. Dialogs beyond the script are cancelled.
    explicit PasswordDialogUser(std::vector<const char*> answers);
    ~PasswordDialogUser();
    PasswordDialogUser(const PasswordDialogUser&) = delete;
    PasswordDialogUser& operator=(const PasswordDialogUser&) = delete;

    struct Shown {
        std::string archiveName;
        bool wrongLineShown = false;
    };
    // Stops watching (once the calls that may ask have returned): the dialogs seen, in order.
    std::vector<Shown> Finish();

private:
    void Watch();
    void Answer(HWND dialog);

    std::deque<const char*> answers_;
    std::vector<Shown> shown_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A visible password dialog of this process; null when there is none.
HWND FindPasswordDialog();

}  // namespace testsupport
