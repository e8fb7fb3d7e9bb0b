// The message box of a plug-in result code, read back from the real box.
#include <gtest/gtest.h>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>
#include "plugins/PluginTable.h"
#include "tests/support/TestSupport.h"

namespace {

// The text back from UTF-16: a text that windres or the compiler mangled (a lead byte that lost
// its trail byte, say) does not come back, or not byte for byte.
bool SurvivesTheCodePage(const std::string& text) {
    int wide = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.c_str(), -1, nullptr, 0);
    if (wide <= 0) return false;
    std::vector<wchar_t> utf16(wide);
    MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.c_str(), -1, utf16.data(), wide);
    char back[512] = {};
    BOOL lossy = FALSE;
    WideCharToMultiByte(932, 0, utf16.data(), -1, back, sizeof back, nullptr, &lossy);
    return !lossy && text == back;
}

TEST(ShowError, EveryCodeHasAMessageOfItsOwnThatFitsItsBox) {
    std::set<std::string> texts;
    for (int code = -1; code >= LowestPluginResult; --code) {
        const char* text = PluginErrorText(code);
        ASSERT_NE(nullptr, text) << code;
        EXPECT_GT(strlen(text), 0u) << code;
        EXPECT_LT(strlen(text), 256u) << code << ": the box's buffer";
        EXPECT_TRUE(SurvivesTheCodePage(text)) << code;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), static_cast<size_t>(-LowestPluginResult));
    EXPECT_EQ(LowestPluginResult, -21);
}

TEST(ShowError, MessageAppearsInABoxUnderTheErrorCaption) {
    auto table = std::make_unique<CPluginTable>();
    testsupport::MessageBoxWatcher watcher;
    const int codes[] = {ArchiveNotOpened, EntryNotUnpacked, FileNameUnknown};
    const char* const expected[] = {"ファイルが開けませんでした。", "アーカイブの解凍に失敗しました。\n(FileEntry)",
                                    "ファイル名が判別できません。"};
    for (int code : codes) table->ShowError(nullptr, code);

    std::vector<testsupport::SeenBox> seen = watcher.Seen();
    ASSERT_EQ(3u, seen.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ("画像展開エラー", seen[i].caption);
        EXPECT_EQ(expected[i], seen[i].text);
    }
}

TEST(ShowError, NoBoxForSuccessOrUnknownCodes) {
    auto table = std::make_unique<CPluginTable>();
    testsupport::MessageBoxWatcher watcher;
    const int codes[] = {0, 1, 5, LowestPluginResult - 1, -1000};
    for (int code : codes) table->ShowError(nullptr, code);
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(nullptr, PluginErrorText(0));
    EXPECT_EQ(nullptr, PluginErrorText(LowestPluginResult - 1));
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
    table->ShowError(owner, NoPluginAccepts);
    closer.join();
    DestroyWindow(owner);
    EXPECT_EQ(owner, seen.owner);
}

}  // namespace
