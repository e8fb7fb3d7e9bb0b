// The message box of a plug-in result code, read back from the real box.
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>
#include "plugins/PluginResult.h"
#include "tests/support/TestSupport.h"
#include "ui/PluginErrorBox.h"

namespace {

TEST(PluginErrorBox, MessageAppearsInABoxUnderTheErrorCaption) {
    testsupport::MessageBoxWatcher watcher;
    const int codes[] = {ArchiveNotOpened, EntryNotUnpacked, FileNameUnknown};
    const char* const expected[] = {"ファイルが開けませんでした。", "アーカイブの解凍に失敗しました。\n(FileEntry)",
                                    "ファイル名が判別できません。"};
    for (int code : codes) ShowPluginErrorBox(nullptr, code);

    std::vector<testsupport::SeenBox> seen = watcher.Seen();
    ASSERT_EQ(3u, seen.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ("画像展開エラー", seen[i].caption);
        EXPECT_EQ(expected[i], seen[i].text);
    }
}

TEST(PluginErrorBox, NoBoxForSuccessOrUnknownCodes) {
    testsupport::MessageBoxWatcher watcher;
    const int codes[] = {0, 1, 5, LowestPluginResult - 1, -1000};
    for (int code : codes) ShowPluginErrorBox(nullptr, code);
    EXPECT_TRUE(watcher.Seen().empty());
}

TEST(PluginErrorBox, BoxIsOwnedByTheGivenWindow) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, owner);
    struct Seen {
        HWND owner = nullptr;
    } seen;
    // Reads the box's owner from the box itself, then closes it.
    std::thread closer([&] {
        for (int tries = 0; tries < 500; ++tries) {
            HWND box = FindWindowA("#32770", "画像展開エラー");
            if (box) {
                seen.owner = GetWindow(box, GW_OWNER);
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                return;
            }
            Sleep(20);
        }
    });
    ShowPluginErrorBox(owner, NoPluginAccepts);
    closer.join();
    DestroyWindow(owner);
    EXPECT_EQ(owner, seen.owner);
}

}  // namespace
