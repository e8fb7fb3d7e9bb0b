// The messages of the plug-in result codes and the progress callback.
#include "plugins/PluginTable.h"

namespace {

// The message of code -1 first, then of -2, and so on.
const char* const ErrorTexts[] = {
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

static_assert(sizeof ErrorTexts / sizeof ErrorTexts[0] == -LowestPluginResult, "one text per code");

}  // namespace

const char* PluginErrorText(int code) {
    if (code >= 0 || code < LowestPluginResult) return nullptr;
    return ErrorTexts[-code - 1];
}

int WINAPI NoProgress(int, int, LONG_PTR) { return 0; }
