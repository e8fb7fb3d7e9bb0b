// The list window's help and about commands.
#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <thread>
#include "res/resource.h"
#include "tests/listwin/ListWindowFixture.h"
#include "tests/support/HelpViewer.h"

using testsupport::MessageBoxWatcher;


TEST_F(ListWindowTest, F1OpensTheHelpFileBesideTheProgramByItsFullPath) {
    testsupport::HelpViewer viewer;
    testsupport::HelpFileBesideProgram help;
    Open(WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|"}));
    viewer.PressF1(Window());
    auto starts = viewer.Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], "\"" + help.Path() + "\"");
}

TEST_F(ListWindowTest, F1WithoutTheHelpFileBesideTheProgramSaysWhereItLookedAndOpensNothing) {
    ASSERT_FALSE(testsupport::FileExists(testsupport::HelpFileBesideProgramPath()));
    testsupport::HelpViewer viewer;
    Open(WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|"}));
    MessageBoxWatcher boxes;
    viewer.PressF1(Window());
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Varnito");
    EXPECT_EQ(seen[0].text, "ヘルプファイル（Varnito.chm）が見つかりません。\n探した場所：" +
                                testsupport::HelpFileBesideProgramPath());
    EXPECT_EQ(seen[0].owner, Window());
    EXPECT_TRUE(viewer.Starts(1, 2000).empty());
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
