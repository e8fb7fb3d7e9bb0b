// Varnito.exe started without arguments: the settings dialog, one at a time.
#include <gtest/gtest.h>
#include "tests/settings/SettingsTestHelpers.h"
#include "tests/support/TestProfile.h"

using namespace settingstest;

namespace {
struct Started {
    PROCESS_INFORMATION info = {};
    bool ok = false;
    ~Started() {
        if (!ok) return;
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
};

void StartProgram(Started* started) {
    std::string program = testsupport::ExeFolder() + "..\\bin\\Varnito.exe";
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started->ok = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &started->info) != FALSE;
}

// The visible settings dialogs of one process.
std::vector<HWND> SettingsWindowsOf(DWORD processId) {
    std::vector<HWND> found;
    for (HWND w : VisibleTopLevelWindows()) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == processId && testsupport::WindowText(w) == DialogCaption) found.push_back(w);
    }
    return found;
}

HWND WaitForSettingsWindow(DWORD processId) {
    for (int i = 0; i < 1000; ++i) {
        std::vector<HWND> found = SettingsWindowsOf(processId);
        if (!found.empty()) return found[0];
        Sleep(20);
    }
    return nullptr;
}
}  // namespace

TEST(SettingsMode, SecondStartEndsAndBringsTheOpenDialogForward) {
    testsupport::CleanProfile clean(true);
    Started first;
    StartProgram(&first);
    ASSERT_TRUE(first.ok);
    HWND dialog = WaitForSettingsWindow(first.info.dwProcessId);
    ASSERT_NE(dialog, nullptr);

    // Another window takes the foreground, and the dialog is minimized.
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(dialog, SW_MINIMIZE);
    SetForegroundWindow(other);
    testsupport::PumpMessages(200);
    ASSERT_EQ(GetForegroundWindow(), other);
    ASSERT_TRUE(IsIconic(dialog));

    Started second;
    StartProgram(&second);
    ASSERT_TRUE(second.ok);
    DWORD waited = WaitForSingleObject(second.info.hProcess, 20000);
    testsupport::PumpMessages(300);
    EXPECT_EQ(waited, WAIT_OBJECT_0);
    EXPECT_EQ(GetForegroundWindow(), dialog);
    EXPECT_FALSE(IsIconic(dialog));
    EXPECT_EQ(WaitForSingleObject(first.info.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(first.info.hProcess, 20000), WAIT_OBJECT_0);
    DestroyWindow(other);

    // Once the first dialog is gone, a new start shows one again.
    Started third;
    StartProgram(&third);
    ASSERT_TRUE(third.ok);
    HWND again = WaitForSettingsWindow(third.info.dwProcessId);
    EXPECT_NE(again, nullptr);
    if (again) PostMessageA(again, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(third.info.hProcess, 20000), WAIT_OBJECT_0);
}
