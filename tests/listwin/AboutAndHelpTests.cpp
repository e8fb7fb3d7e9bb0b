// The list window's help and about commands.
#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <thread>
#include "res/resource.h"
#include "tests/listwin/ListWindowFixture.h"
#include "tests/support/RecordedStarts.h"
#include "tests/support/ShellFileType.h"

using testsupport::MessageBoxWatcher;


TEST_F(ListWindowTest, F1HandsTheHelpFileToTheShell) {
    testsupport::RecordingProgram helpViewer;
    testsupport::ShellFileType association("chm", nullptr, "\"" + helpViewer.Path() + "\" \"%1\"");
    testsupport::TempDir folder;
    testsupport::WriteBytes(folder / "Varnito.chm", "help");
    Open(WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|"}));
    {
        testsupport::CurrentFolder current(folder.path());
        testsupport::PressF1(Window());
    }
    auto starts = helpViewer.Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NE(starts[0].find("Varnito.chm"), std::string::npos) << starts[0];
}

TEST_F(ListWindowTest, F1WithoutAHelpFileReportsNothing) {
    testsupport::TempDir emptyFolder;
    Open(WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|"}));
    MessageBoxWatcher boxes;
    {
        testsupport::CurrentFolder current(emptyFolder.path());
        testsupport::PressF1(Window());
    }
    Sleep(500);
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_TRUE(IsWindow(Window()));
}

TEST_F(ListWindowTest, TheAboutButtonShowsTheAboutBox) {
    Open(WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|"}));
    // Closes the about box once it is up, as a user would with its OK button.
    std::atomic<HWND> seen{nullptr};
    std::thread closer([&] {
        for (int tries = 0; tries < 500 && !seen; ++tries) {
            HWND box = FindWindowA("#32770", "バージョン情報");
            DWORD process = 0;
            if (box && IsWindowVisible(box) && GetWindowThreadProcessId(box, &process) && process == GetCurrentProcessId()) {
                seen = box;
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
            Sleep(20);
        }
    });
    ClickButton(IDC_ARCLIST_ABOUT);  // returns once the box is closed
    closer.join();
    ASSERT_NE(seen.load(), nullptr);
    EXPECT_FALSE(IsWindow(seen.load()));
    EXPECT_TRUE(IsWindow(Window()));
    EXPECT_TRUE(IsWindowEnabled(Window()));
}
