// The message box of a plug-in result code, read back from the real box.
#include <gtest/gtest.h>
#include <thread>
#include "plugins/PluginTable.h"
#include "tests/support/TestSupport.h"

namespace {

const char* const ExpectedTexts[21] = {
    "ＢＭＰファイルの展開に失敗しました。",
    "ファイルが開けませんでした。",
    "画像情報の取得に失敗しました。",
    "画像データの取得に失敗しました。",
    "メモリのロックに失敗しました。",
    "バッファの確保に失敗しました。",
    "対応するSusie32 Plug-inがありません。",
    "アーカイブ形式の画像ファイルはサポートしておりません。",
    "画像ファイルではありません。",
    "アーカイブの解凍に失敗しました。\n(FileEntry)",
    "SPIライブラリチェンジに失敗しました。",
    "アーカイブの解凍に失敗しました。\n(BufferEntry)",
    "ローカルメモリのロックに失敗しました。\n(FileEntry)",
    "ローカルメモリのロックに失敗しました。\n(BufferEntry)",
    "アーカイブ解凍用バッファの確保に失敗しました。\n(FileEntry)",
    "アーカイブ解凍用バッファの確保に失敗しました。\n(BufferEntry)",
    "アーカイブ情報の取得に失敗しました。\n(FileEntry)",
    "アーカイブ情報の取得に失敗しました。\n(BufferEntry)",
    "アーカイブ情報の採取に失敗しました。\n(FileEntry)",
    "アーカイブ情報の採取に失敗しました。\n(BufferEntry)",
    "ファイル名が判別できません。",
};

TEST(ShowError, EveryCodeHasItsMessage) {
    for (int code = -1; code >= -21; --code) {
        ASSERT_NE(nullptr, PluginErrorText(code)) << code;
        EXPECT_STREQ(ExpectedTexts[-code - 1], PluginErrorText(code)) << code;
    }
}

TEST(ShowError, MessageAppearsInABoxUnderTheErrorCaption) {
    auto table = std::make_unique<CPluginTable>();
    testsupport::MessageBoxWatcher watcher;
    const int codes[] = {-2, -10, -21};
    for (int code : codes) table->ShowError(nullptr, code);

    std::vector<testsupport::SeenBox> seen = watcher.Seen();
    ASSERT_EQ(3u, seen.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ("画像展開エラー", seen[i].caption);
        EXPECT_EQ(ExpectedTexts[-codes[i] - 1], seen[i].text);
    }
}

TEST(ShowError, NoBoxForSuccessOrUnknownCodes) {
    auto table = std::make_unique<CPluginTable>();
    testsupport::MessageBoxWatcher watcher;
    const int codes[] = {0, 1, 5, -22, -1000};
    for (int code : codes) table->ShowError(nullptr, code);
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(nullptr, PluginErrorText(0));
    EXPECT_EQ(nullptr, PluginErrorText(-22));
}

TEST(ShowError, BoxIsOwnedByTheGivenWindow) {
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
    auto table = std::make_unique<CPluginTable>();
    table->ShowError(owner, -7);
    closer.join();
    DestroyWindow(owner);
    EXPECT_EQ(owner, seen.owner);
}

}  // namespace
