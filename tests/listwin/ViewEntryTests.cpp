#include <gtest/gtest.h>
#include <cstdlib>
#include <string>
#include "core/SettingIO.h"
#include "framework/MessagePump.h"
#include "tests/listwin/ListWindowFixture.h"
#include "tests/support/RecordedStarts.h"
#include "tests/support/ShellFileType.h"

using testsupport::RecordingProgram;
using testsupport::ShellFileType;
using testsupport::FileExists;
using testsupport::MessageBoxWatcher;
using testsupport::ReadBytes;

namespace {

class ViewEntryTest : public ListWindowTest {
protected:
    void UseFallback(const std::string& program) { CSettingIO().WriteString("", "NullOpenEditor", program.c_str()); }
    void OpenRow(int row) {
        Select(row);
        ClickButton(IDC_ARCLIST_OPEN);
    }
    RecordingProgram viewer, fallback;
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// A text as the fixture's script writes it: backslashes doubled.
std::string ScriptText(const std::string& text) {
    std::string escaped;
    for (char c : text) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped;
}

}  // namespace

class WideViewEntryTest : public ViewEntryTest {
protected:
    const char* Variant() const override { return "fixture_wide"; }
};

TEST_F(WideViewEntryTest, TheWorkFileHasTheEntrysRealName) {
    UseFallback(fallback.Path());
    Open(WriteArchive({u8"name=한국어 😀.vlwnone|data=hi"}));
    OpenRow(0);
    ASSERT_EQ(fallback.Starts().size(), 1u);
    const std::wstring workFile = testsupport::Wide(WorkFolder()) + L"한국어 😀.vlwnone";
    EXPECT_EQ(testsupport::ReadBytes(workFile), "hi");
}

TEST_F(ViewEntryTest, TheAssociatedProgramOpensTheWorkFile) {
    ShellFileType type("vlwview", nullptr, Quoted(viewer.Path()) + " \"%1\"");
    UseFallback(fallback.Path());
    Open(WriteArchive({"-lh5-|1|5|5|0|docs\\\\|note.vlwview|hello|"}));
    EXPECT_FALSE(FileExists(WorkFolder())) << "the folder goes once the icons are known";

    MessageBoxWatcher boxes;
    OpenRow(0);
    auto starts = viewer.Starts();
    ASSERT_EQ(starts.size(), 1u);
    std::string workFile = WorkFolder() + "note.vlwview";
    EXPECT_EQ(starts[0], Quoted(workFile));
    EXPECT_EQ(ReadBytes(workFile), "hello");
    EXPECT_TRUE(fallback.Starts(1, 500).empty());
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(ViewEntryTest, WithoutAnAssociationTheFallbackGetsThePath) {
    UseFallback(fallback.Path());
    Open(WriteArchive({"-lh5-|1|6|3|0||plain.vlwnone|abcdef|"}));
    MessageBoxWatcher boxes;
    OpenRow(0);
    auto starts = fallback.Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], WorkFolder() + "plain.vlwnone") << "the whole parameter, without quotes";
    EXPECT_EQ(ReadBytes(WorkFolder() + "plain.vlwnone"), "abc") << "unpackedSize bytes, not the whole buffer";
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(ViewEntryTest, NeitherProgramStartsGivesAMessageAndKeepsTheFile) {
    UseFallback("");
    Open(WriteArchive({"-lh5-|1|2|2|0||plain.vlwnone|ab|"}));
    MessageBoxWatcher boxes;
    OpenRow(0);
    ASSERT_TRUE(boxes.WaitFor(1));
    EXPECT_EQ(boxes.Seen()[0].caption, "Varnito");
    EXPECT_EQ(boxes.Seen()[0].text, "関連付けられたアプリケーションがありません。");
    EXPECT_EQ(ReadBytes(WorkFolder() + "plain.vlwnone"), "ab");
}

TEST_F(ViewEntryTest, APlugInFailureIsShownAndNothingIsWritten) {
    UseFallback(fallback.Path());
    Open(WriteArchive({"-lh5-|1|2|2|0||broken.vlwnone|ab|fetch-fail"}));
    MessageBoxWatcher boxes;
    OpenRow(0);
    ASSERT_TRUE(boxes.WaitFor(1));
    EXPECT_EQ(boxes.Seen()[0].caption, "画像展開エラー");
    EXPECT_EQ(boxes.Seen()[0].text, "アーカイブの解凍に失敗しました。\n(FileEntry)");
    EXPECT_FALSE(FileExists(WorkFolder() + "broken.vlwnone"));
    EXPECT_TRUE(fallback.Starts(1, 500).empty());
}

TEST_F(ViewEntryTest, AnArchiveReplacedSinceItWasListedIsNotReadUnderTheOldEntrysName) {
    UseFallback(fallback.Path());
    Open(WriteArchive({"-lh5-|1|5|5|0||plain.vlwnone|first|"}));
    // Another file of the same size and the same times takes the archive's name.
    std::string replacement = dir / "other.fix";
    ASSERT_TRUE(testsupport::WriteBytes(replacement, "#fixture\nentry -lh5-|1|5|5|0||plain.vlwnone|other|\n"));
    WIN32_FILE_ATTRIBUTE_DATA times;
    ASSERT_TRUE(GetFileAttributesExA(archive.c_str(), GetFileExInfoStandard, &times));
    HANDLE file = CreateFileA(replacement.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFileTime(file, &times.ftCreationTime, nullptr, &times.ftLastWriteTime);
    CloseHandle(file);
    ASSERT_EQ(ReadBytes(replacement).size(), ReadBytes(archive).size());
    ASSERT_TRUE(MoveFileExA(replacement.c_str(), archive.c_str(), MOVEFILE_REPLACE_EXISTING));

    MessageBoxWatcher boxes;
    OpenRow(0);
    ASSERT_TRUE(boxes.WaitFor(1));
    EXPECT_EQ(boxes.Seen()[0].caption, "Varnito");
    EXPECT_EQ(boxes.Seen()[0].text,
              "アーカイブファイルが一覧の作成後に変更されました。\nアーカイブを開き直してください。");
    EXPECT_FALSE(FileExists(WorkFolder() + "plain.vlwnone"));
    EXPECT_TRUE(fallback.Starts(1, 500).empty());
}

TEST_F(ViewEntryTest, AWorkFileThatCannotBeWrittenWholeIsReportedAndNotOpened) {
    char limit[32] = {};
    if (!GetEnvironmentVariableA("VARNITO_FILE_SIZE_LIMIT", limit, sizeof limit))
        GTEST_SKIP() << "runs under a file-size limit (ctest: listwin_tests_write_refused)";
    std::string size = std::to_string(2 * strtoull(limit, nullptr, 10));
    UseFallback(fallback.Path());
    Open(WriteArchive({"-lh5-|1|" + size + "|" + size + "|0||big.vlwnone|@" + size + "|"}));
    MessageBoxWatcher boxes;
    OpenRow(0);
    ASSERT_TRUE(boxes.WaitFor(1));
    EXPECT_EQ(boxes.Seen()[0].text, "ワークファイルの作成に失敗しました。");
    EXPECT_TRUE(fallback.Starts(1, 500).empty()) << "a cut copy was handed to a program";
}

TEST_F(ViewEntryTest, NamesLeadingOutOfTheWorkFolderAreRefused) {
    UseFallback(fallback.Path());
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string outside = std::string(temp) + "lw_escape.vlwnone";
    std::string absolute = dir / "absolute.vlwnone";
    DeleteFileA(outside.c_str());
    Open(WriteArchive({"-lh5-|1|4|4|0||..\\\\lw_escape.vlwnone|evil|", "-lh5-|2|4|4|0||" + ScriptText(absolute) + "|evil|",
                       "-lh5-|3|4|4|0||NUL|evil|"}));
    ASSERT_EQ(Rows(), 3);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(Image(row), 0) << "the default icon, no probe";
    EXPECT_FALSE(FileExists(outside));
    EXPECT_FALSE(FileExists(absolute));

    for (int row = 0; row < 3; ++row) {
        MessageBoxWatcher boxes;
        Select(row);
        SendMessageA(Window(), WM_COMMAND, IDOK, 0);
        Select(row, false);
        ASSERT_TRUE(boxes.WaitFor(1)) << row;
        EXPECT_EQ(boxes.Seen()[0].text, "ワークファイルの作成に失敗しました。");
    }
    EXPECT_FALSE(FileExists(outside));
    EXPECT_FALSE(FileExists(absolute));
    EXPECT_TRUE(fallback.Starts(1, 500).empty());
}

TEST_F(ViewEntryTest, EnterAndDoubleClickOpenTheFirstSelectedRowOnScreen) {
    UseFallback(fallback.Path());
    Open(WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|", "-lh5-|2|1|1|0||b.vlwnone|b|", "-lh5-|3|1|1|0||c.vlwnone|c|"}));
    ClickColumn(0);
    ClickColumn(0);  // c, b, a
    for (int row = 0; row < 3; ++row) Select(row);
    EXPECT_FALSE(Enabled(IDC_ARCLIST_OPEN));

    SendMessageA(Window(), WM_COMMAND, IDOK, 0);
    auto starts = fallback.Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], WorkFolder() + "c.vlwnone");

    NMITEMACTIVATE click = {};
    click.hdr = {list, IDC_ARCLIST_ENTRIES, static_cast<UINT>(NM_DBLCLK)};
    click.iItem = -1;
    SendMessageA(Window(), WM_NOTIFY, IDC_ARCLIST_ENTRIES, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(fallback.Starts(2).size(), 2u);
    EXPECT_FALSE(FileExists(WorkFolder() + "a.vlwnone"));
}

TEST_F(ViewEntryTest, WorkFolderIsEmptiedAndRemovedButHeldFilesStay) {
    UseFallback(fallback.Path());
    Open(WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|", "-lh5-|2|1|1|0||b.vlwnone|b|"}));
    OpenRow(0);
    Select(0, false);
    OpenRow(1);
    fallback.Starts(2);
    ASSERT_TRUE(FileExists(WorkFolder() + "a.vlwnone"));

    // A viewer that keeps its file open and locked.
    HANDLE held = CreateFileA((WorkFolder() + "b.vlwnone").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    {
        MessageBoxWatcher boxes;
        SendMessageA(Window(), WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(boxes.WaitFor(1));
        EXPECT_EQ(boxes.Seen()[0].text, "ワークファイルの作成に失敗しました。");
    }
    ClickButton(IDC_ARCLIST_CLOSE);
    EXPECT_FALSE(FileExists(WorkFolder() + "a.vlwnone"));
    EXPECT_TRUE(FileExists(WorkFolder() + "b.vlwnone"));
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(WorkFolder() + "b.vlwnone"), "b") << "the earlier file stays as it was";
}

TEST_F(ViewEntryTest, ClosingRemovesTheEmptiedWorkFolder) {
    UseFallback(fallback.Path());
    Open(WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|"}));
    OpenRow(0);
    fallback.Starts();
    ASSERT_TRUE(FileExists(WorkFolder() + "a.vlwnone"));
    ClickButton(IDC_ARCLIST_CLOSE);
    EXPECT_FALSE(FileExists(WorkFolder()));
}

TEST_F(ViewEntryTest, TheWorkFolderIsNamedAfterTheStoredName) {
    UseFallback(fallback.Path());
    WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|"}, "MixedCase.FIX");
    Open(dir / "mixedcase.fix");
    EXPECT_EQ(testsupport::WindowText(Window()), "Varnito - MixedCase.FIX");
    OpenRow(0);
    fallback.Starts();
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(temp) + "varnito_mixedcase").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    EXPECT_STREQ(found.cFileName, "Varnito_MixedCase");
}
