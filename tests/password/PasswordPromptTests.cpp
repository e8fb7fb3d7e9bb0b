// The password dialog as a user meets it: shown by a library (as a plug-in shows it) over the
// host's window, driven from another thread as a user would (typing into the box, pressing OK
// or キャンセル), its texts read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

#include "spi/common/password/PasswordDialogIds.h"
#include "spi/common/password/PasswordPrompt.h"
#include "tests/support/PasswordDialogUser.h"
#include "tests/support/TestSupport.h"

using password::PromptAnswer;
using testsupport::FindPasswordDialog;

namespace {

// PasswordPrompt::Ask as the library password_prompt.dll runs it.
class PromptLibrary {
public:
    PromptLibrary() : module_(LoadLibraryA((testsupport::ExeFolder() + "password_prompt.dll").c_str())) {}
    ~PromptLibrary() {
        if (module_) FreeLibrary(module_);
    }
    PromptLibrary(const PromptLibrary&) = delete;
    PromptLibrary& operator=(const PromptLibrary&) = delete;

    PromptAnswer Ask(const std::wstring& archivePath, bool afterWrongOne, std::string* typed) {
        using AskPassword = int (*)(const wchar_t*, int, char*, int);
        auto ask = module_ ? reinterpret_cast<AskPassword>(reinterpret_cast<void*>(GetProcAddress(module_, "AskPassword"))) : nullptr;
        if (!ask) {
            ADD_FAILURE() << "password_prompt.dll or its export is missing";
            return PromptAnswer::Cancelled;
        }
        char text[1100] = {};
        if (!ask(archivePath.c_str(), afterWrongOne ? 1 : 0, text, sizeof text)) return PromptAnswer::Cancelled;
        *typed = text;
        return PromptAnswer::Ok;
    }

private:
    HMODULE module_;
};

std::string Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// What the dialog showed when it came up.
struct Seen {
    HWND dialog = nullptr;
    std::string title, okText, cancelText;
    std::wstring archiveName;
    bool wrongLineShown = false;
    bool hidesTyping = false;
    HWND owner = nullptr;
    RECT box = {};
};

// Waits for the dialog on its own thread, records it, then lets `act` play the user.
class User {
public:
    explicit User(std::function<void(HWND dialog)> act)
        : thread_([this, act] {
              for (int tries = 0; tries < 1000 && !seen_.dialog; ++tries) {
                  if (HWND dialog = FindPasswordDialog()) Record(dialog);
                  else Sleep(10);
              }
              if (seen_.dialog) act(seen_.dialog);
          }) {}
    ~User() {
        if (thread_.joinable()) thread_.join();
    }
    const Seen& Finish() {
        if (thread_.joinable()) thread_.join();
        return seen_;
    }

private:
    void Record(HWND dialog) {
        seen_.title = Text(dialog);
        wchar_t name[512] = {};
        GetWindowTextW(GetDlgItem(dialog, IDC_PASSWORD_ARCHIVE), name, 512);
        seen_.archiveName = name;
        seen_.okText = Text(GetDlgItem(dialog, IDOK));
        seen_.cancelText = Text(GetDlgItem(dialog, IDCANCEL));
        seen_.wrongLineShown = IsWindowVisible(GetDlgItem(dialog, IDC_PASSWORD_WRONG));
        seen_.hidesTyping = (GetWindowLongA(GetDlgItem(dialog, IDC_PASSWORD_EDIT), GWL_STYLE) & ES_PASSWORD) != 0;
        seen_.owner = GetWindow(dialog, GW_OWNER);
        GetWindowRect(dialog, &seen_.box);
        seen_.dialog = dialog;
    }
    Seen seen_;
    std::thread thread_;
};

void Type(HWND dialog, const std::string& text) {
    HWND box = GetDlgItem(dialog, IDC_PASSWORD_EDIT);
    for (unsigned char c : text) SendMessageA(box, WM_CHAR, c, 1);
}

void Press(HWND dialog, int button) { SendMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0); }

// A visible, active top-level window of this thread standing in for the host's window, away
// from the middle of the screen.
class HostWindow {
public:
    HostWindow() {
        window_ = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 60, 500, 420, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(window_);
        SetActiveWindow(window_);
    }
    ~HostWindow() { DestroyWindow(window_); }
    HWND handle() const { return window_; }

private:
    HWND window_;
};

TEST(PasswordPrompt, ShowsTheArchiveOverTheActiveWindowAndReturnsWhatWasTyped) {
    HostWindow host;
    ASSERT_EQ(GetActiveWindow(), host.handle());
    std::string typed = "stale";
    PromptAnswer answer;
    User user([](HWND dialog) {
        Type(dialog, "Secret 1!");
        Press(dialog, IDOK);
    });
    // The archive's name as the host named it, a character code page 932 lacks included.
    answer = PromptLibrary().Ask(L"C:\\受信\\表計算ソフト\U0001F600.zip", false, &typed);
    const Seen& seen = user.Finish();
    ASSERT_TRUE(seen.dialog) << "no password dialog appeared";
    EXPECT_EQ(answer, PromptAnswer::Ok);
    EXPECT_EQ(typed, "Secret 1!");
    EXPECT_EQ(seen.title.rfind("パスワード", 0), 0u) << seen.title;
    EXPECT_EQ(seen.archiveName, L"表計算ソフト\U0001F600.zip");
    EXPECT_EQ(seen.okText, "OK");
    EXPECT_EQ(seen.cancelText, "キャンセル");
    EXPECT_TRUE(seen.hidesTyping);
    EXPECT_FALSE(seen.wrongLineShown) << "nothing was wrong yet";
    EXPECT_EQ(seen.owner, host.handle());
    RECT around;
    GetWindowRect(host.handle(), &around);
    EXPECT_NEAR((seen.box.left + seen.box.right) / 2, (around.left + around.right) / 2, 2);
    EXPECT_NEAR((seen.box.top + seen.box.bottom) / 2, (around.top + around.bottom) / 2, 2);
    EXPECT_FALSE(IsWindow(seen.dialog)) << "the dialog is gone when Ask returns";
}

TEST(PasswordPrompt, AfterAWrongPasswordSaysSoAndTakesAJapanesePasswordAsCodePage932) {
    std::string typed;
    User user([](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_PASSWORD_EDIT, "パス");
        Press(dialog, IDOK);
    });
    const PromptAnswer answer = PromptLibrary().Ask(L"archive.7z", true, &typed);
    const Seen& seen = user.Finish();
    ASSERT_TRUE(seen.dialog);
    EXPECT_TRUE(seen.wrongLineShown);
    EXPECT_EQ(seen.archiveName, L"archive.7z");
    EXPECT_EQ(answer, PromptAnswer::Ok);
    EXPECT_EQ(typed, "\x83\x70\x83\x58") << "パス in code page 932";
}

TEST(PasswordPrompt, CancelOrClosingTheWindowReturnsCancelledAndLeavesThePasswordAlone) {
    std::string typed = "kept";
    for (bool byButton : {true, false}) {
        User user([byButton](HWND dialog) {
            Type(dialog, "typed but not taken");
            if (byButton) Press(dialog, IDCANCEL);
            else SendMessageA(dialog, WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(PromptLibrary().Ask(L"a.zip", false, &typed), PromptAnswer::Cancelled);
        EXPECT_TRUE(user.Finish().dialog);
    }
    EXPECT_EQ(typed, "kept");
}

}  // namespace
