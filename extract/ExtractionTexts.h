#pragma once
#include <cstddef>
#include <string>
// The messages of extraction runs (code page 932 in the program).

constexpr char NoDestinationText[] =
    "解凍先パスが設定されていません。\n環境設定で環境先を設定してください。";
constexpr char EmptyArchiveText[] = "ファイルの内容がありません。";
constexpr char ArchiveMissingText[] = "ファイルが見つかりません。";
constexpr char FolderFailedText[] = "フォルダの作成に失敗しました。";
constexpr char WriteFailedText[] = "ファイルの解凍に失敗しました。";
constexpr char ArchiveChangedText[] =
    "アーカイブファイルが一覧の作成後に変更されました。\nアーカイブを開き直してください。";
constexpr char MessageCaption[] = "Varnito";

// Entries that a plug-in listed with their names cut to fit its records: they can neither be
// shown nor extracted under their names.
std::string UnshownEntriesText(size_t count);
