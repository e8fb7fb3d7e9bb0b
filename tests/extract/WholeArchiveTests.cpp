#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include "core/SettingIO.h"
#include "extract/ExtractionTexts.h"
#include "extract/OutputPath.h"
#include "extract/SelectionDestination.h"
#include "extract/WholeArchiveExtraction.h"
#include "tests/extract/ExtractTestSupport.h"
#include "tests/support/TestProfile.h"
#include "tests/support/TestSupport.h"

using namespace extracttest;
using testsupport::ReadBytes;
using testsupport::WriteBytes;
using testsupport::Wide;
using Files = std::vector<std::string>;

namespace {
class WholeArchive : public ::testing::Test {
protected:
    void SetUp() override {
        table.LoadFolder(testsupport::Wide(FixturePluginFolder()));
        CSettingIO().WriteInt("", "OpenCheckFlag", 0);
    }

    ExtractionEnd Run(const std::string& archivePath) {
        return ExtractWholeArchive(testsupport::Wide(archivePath), &table, progress, asker, messages);
    }
    void SetDestinationFolder(const std::string& folder) { CSettingIO().WriteString("", "DefrostingFold", folder.c_str()); }

    testsupport::CleanProfile clean;
    testsupport::TempDir work;
    CPluginTable table;
    RecordingProgress progress;
    ScriptedAsker asker;
    RecordingMessages messages;
};
}  // namespace

TEST_F(WholeArchive, WithoutADestinationFolderNothingHappensButTheMessage) {
    WriteFixtureArchive(work / "a.fix", {{"", "x", "1"}});
    EXPECT_EQ(Run(work / "a.fix"), ExtractionEnd::Failure);
    EXPECT_EQ(messages.texts, Files({NoDestinationText}));
    EXPECT_TRUE(progress.ranges.empty());
    EXPECT_EQ(ListTree(work.path()), Files({"a.fix"}));
}

TEST_F(WholeArchive, GoesIntoAFolderNamedAfterTheArchiveMadeWithItsParents) {
    WriteFixtureArchive(work / "data.tar.fix", {{"d\\", "x.txt", "X", 1111111111}, {"", "y.txt", "Y"}});
    SetDestinationFolder(work / "not\\yet");
    EXPECT_EQ(Run(work / "data.tar.fix"), ExtractionEnd::Normal);
    EXPECT_EQ(ReadBytes(work / "not\\yet\\data.tar\\d\\x.txt"), "X");
    EXPECT_EQ(ModificationTimestamp(work / "not\\yet\\data.tar\\d\\x.txt"), 1111111111);
    EXPECT_EQ(ReadBytes(work / "not\\yet\\data.tar\\y.txt"), "Y");
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(WholeArchive, ATrailingSeparatorOnTheFolderGivesTheSameDestination) {
    std::wstring withSeparator, without;
    ASSERT_TRUE(WholeArchiveDestination(L"D:\\out\\", L"E:\\in\\pics.lzh", &withSeparator));
    ASSERT_TRUE(WholeArchiveDestination(L"D:\\out", L"E:\\in\\pics.lzh", &without));
    EXPECT_EQ(withSeparator, L"D:\\out\\pics\\");
    EXPECT_EQ(without, L"D:\\out\\pics\\");
    // A folder of any length the file system takes, and an archive of any name.
    std::wstring deep = L"D:\\" + std::wstring(300, L'o');
    const std::wstring korean = L"E:\\in\\한국어.zip", koreanFolder = deep + L"\\한국어\\";
    ASSERT_TRUE(WholeArchiveDestination(deep, korean, &without));
    EXPECT_EQ(without, koreanFolder);
    std::wstring tooLong;
    EXPECT_FALSE(WholeArchiveDestination(L"D:\\" + std::wstring(LongestPath, L'o'), L"E:\\in\\pics.lzh", &tooLong));
}

TEST_F(WholeArchive, FiveEntriesWithTwoFolderRecordsMoveTheBarThroughFivePositionsAndWriteThree) {
    WriteFixtureArchive(work / "five.fix",
                        {{"d1\\", ""}, {"d1\\", "a", "1"}, {"d2\\", ""}, {"d2\\", "b", "2"}, {"", "c", "3"}});
    SetDestinationFolder(work / "out");
    EXPECT_EQ(Run(work / "five.fix"), ExtractionEnd::Normal);
    EXPECT_EQ(progress.ranges, std::vector<int>({5}));
    EXPECT_EQ(progress.positions, std::vector<int>({0, 0, 1, 2, 3, 4}));
    EXPECT_EQ(ListTree(work / "out"), Files({"five\\", "five\\c", "five\\d1\\", "five\\d1\\a", "five\\d2\\", "five\\d2\\b"}));
}

TEST_F(WholeArchive, WithUpdateCheckOffExistingFilesAreLeftAloneWithoutAQuestion) {
    WriteFixtureArchive(work / "a.fix", {{"", "old.txt", "new"}, {"", "new.txt", "new"}});
    SetDestinationFolder(work / "out");
    CSettingIO().WriteInt("", "UpdateChkFlag", 0);
    ASSERT_TRUE(CreateDirectoryA((work / "out").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((work / "out\\a").c_str(), nullptr));
    WriteBytes(work / "out\\a\\old.txt", "old");
    EXPECT_EQ(Run(work / "a.fix"), ExtractionEnd::Normal);
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(ReadBytes(work / "out\\a\\old.txt"), "old");
    EXPECT_EQ(ReadBytes(work / "out\\a\\new.txt"), "new");
}

TEST_F(WholeArchive, WithUpdateCheckOnAnExistingFileIsAskedAbout) {
    WriteFixtureArchive(work / "a.fix", {{"", "old.txt", "new"}});
    SetDestinationFolder(work / "out");
    CreateDirectoryA((work / "out").c_str(), nullptr);
    CreateDirectoryA((work / "out\\a").c_str(), nullptr);
    WriteBytes(work / "out\\a\\old.txt", "old");
    asker.answers = {Overwrite};
    EXPECT_EQ(Run(work / "a.fix"), ExtractionEnd::Normal);
    EXPECT_EQ(asker.questions.size(), 1u);
    EXPECT_EQ(ReadBytes(work / "out\\a\\old.txt"), "new");
}

TEST_F(WholeArchive, MissingEmptyAndUnknownArchivesEndWithTheirMessage) {
    SetDestinationFolder(work / "out");
    EXPECT_EQ(Run(work / "missing.fix"), ExtractionEnd::Failure);
    EXPECT_EQ(Run(""), ExtractionEnd::Failure);
    WriteBytes(work / "empty.fix", "");
    EXPECT_EQ(Run(work / "empty.fix"), ExtractionEnd::Failure);
    EXPECT_EQ(messages.texts, Files({ArchiveMissingText, ArchiveMissingText, EmptyArchiveText}));
    WriteBytes(work / "other.bin", "not an archive of any plug-in");
    EXPECT_EQ(Run(work / "other.bin"), ExtractionEnd::Failure);
    EXPECT_EQ(messages.codes, std::vector<int>({NoPluginAccepts}));
    EXPECT_EQ(ListTree(work.path()), Files({"empty.fix", "other.bin"}));
}

TEST_F(WholeArchive, ACancelWhileTheArchiveIsListedEndsItQuietly) {
    SetDestinationFolder(work / "out");
    WriteBytes(work / "stopped.fix", "#fixture\nlist fail\nentry name=a.txt|data=a\n");
    EXPECT_EQ(Run(work / "stopped.fix"), ExtractionEnd::Failure) << "nothing is opened after it";
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_TRUE(messages.codes.empty());
    EXPECT_EQ(ListTree(work.path()), Files({"stopped.fix"}));
}

TEST_F(WholeArchive, AnArchiveWithoutFilesLeavesTheFolderUnmade) {
    WriteFixtureArchive(work / "dirs.fix", {{"d\\", ""}});
    SetDestinationFolder(work / "out");
    EXPECT_EQ(Run(work / "dirs.fix"), ExtractionEnd::Normal);
    EXPECT_EQ(ListTree(work.path()), Files({"dirs.fix"}));
}

TEST_F(WholeArchive, TheDestinationIsOpenedAfterANormalEndOrAnAbortButNotAfterAStop) {
    FolderOpenRecorder recorder;
    CSettingIO().WriteInt("", "OpenCheckFlag", 1);
    SetDestinationFolder(work / "out");
    WriteFixtureArchive(work / "a.fix", {{"", "x", "1"}, {"", "y", "2"}});
    EXPECT_EQ(Run(work / "a.fix"), ExtractionEnd::Normal);
    std::vector<std::string> opened = recorder.Opened(1, 10000);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("out\\a"), std::string::npos) << opened[0];

    asker.answers = {-1};  // stop at the first question: nothing opened
    EXPECT_EQ(Run(work / "a.fix"), ExtractionEnd::Failure);
    progress.abortAfterNames = static_cast<int>(progress.names.size());  // abort at the next name
    EXPECT_EQ(Run(work / "a.fix"), ExtractionEnd::Normal);
    EXPECT_EQ(recorder.Opened(2, 10000).size(), 2u);
    Sleep(500);
    EXPECT_EQ(recorder.OpenedNow().size(), 2u);

    CSettingIO().WriteInt("", "OpenCheckFlag", 0);
    EXPECT_EQ(Run(work / "a.fix"), ExtractionEnd::Normal);
    Sleep(500);
    EXPECT_EQ(recorder.OpenedNow().size(), 2u);
}

// With the double-folder setting on, an archive of one top folder (project-1.2\...) goes
// straight into the destination, and so does an archive of one file; anything else into the
// folder named after the archive. The folder opened afterwards is the one written.
TEST_F(WholeArchive, WithTheDoubleFolderSettingOneTopFolderOrOneFileGoesStraightIntoTheDestination) {
    FolderOpenRecorder recorder;
    CSettingIO settings;
    settings.WriteInt("", "AvoidDoubleFolderFlag", 1);
    settings.WriteInt("", "OpenCheckFlag", 1);
    SetDestinationFolder(work / "out");
    WriteFixtureArchive(work / "project-1.2.fix", {{"project-1.2\\", ""}, {"project-1.2\\", "a.txt", "A"},
                                                    {"project-1.2/src\\", "b.txt", "B"}});
    WriteFixtureArchive(work / "notes.txt.fix", {{"", "notes.txt", "N"}});
    WriteFixtureArchive(work / "mixed.fix", {{"one\\", "a.txt", "1"}, {"", "top.txt", "2"}});
    for (const char* archive : {"project-1.2.fix", "notes.txt.fix", "mixed.fix"})
        EXPECT_EQ(Run(work / archive), ExtractionEnd::Normal) << archive;
    EXPECT_EQ(ListTree(work / "out"),
              Files({"mixed\\", "mixed\\one\\", "mixed\\one\\a.txt", "mixed\\top.txt", "notes.txt",
                     "project-1.2\\", "project-1.2\\a.txt", "project-1.2\\src\\", "project-1.2\\src\\b.txt"}));
    std::vector<std::string> opened = recorder.Opened(3, 10000);
    ASSERT_EQ(opened.size(), 3u);
    // The recorder gives the openings in no particular order.
    std::vector<std::string> folders;
    for (std::string seen : opened) {
        while (!seen.empty() && (seen.back() == '\\' || seen.back() == '"')) seen.pop_back();
        folders.push_back(seen.substr(seen.rfind("out")));
    }
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, Files({"out", "out\\mixed", "out\\project-1.2"}));
}

TEST_F(WholeArchive, WithTheDoubleFolderSettingAnExistingFileInTheTopFolderIsAskedAbout) {
    CSettingIO settings;
    settings.WriteInt("", "AvoidDoubleFolderFlag", 1);
    settings.WriteInt("", "UpdateChkFlag", 1);
    SetDestinationFolder(work / "out");
    ASSERT_TRUE(CreateDirectoryA((work / "out").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((work / "out\\top").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(work / "out\\top\\a.txt", "old"));
    WriteFixtureArchive(work / "top.fix", {{"top\\", "a.txt", "new"}});
    asker.answers = {DontOverwrite};
    EXPECT_EQ(Run(work / "top.fix"), ExtractionEnd::Normal);
    ASSERT_EQ(asker.questions.size(), 1u);
    EXPECT_EQ(asker.questions[0].folderText, Wide(work / "out\\top\\"));
    EXPECT_EQ(ReadBytes(work / "out\\top\\a.txt"), "old");
    EXPECT_EQ(ListTree(work / "out"), Files({"top\\", "top\\a.txt"}));
}

TEST(SelectionDestinationTest, TypedFolderIsMadeAndEndsWithASeparator) {
    testsupport::TempDir work;
    RecordingMessages messages;
    std::wstring destination;
    std::wstring archive = Wide(work / "a.zip");
    ASSERT_TRUE(SelectionDestination(Wide(work / "new\\deeper"), archive, &destination, messages));
    EXPECT_EQ(destination, Wide(work / "new\\deeper\\"));
    EXPECT_EQ(ListTree(work.path()), Files({"new\\", "new\\deeper\\"}));
    ASSERT_TRUE(SelectionDestination(Wide(work / "new/"), archive, &destination, messages));
    EXPECT_EQ(destination, Wide(work / "new/"));
    EXPECT_TRUE(messages.texts.empty());
}

TEST(SelectionDestinationTest, AnEmptyTextMeansTheArchivesOwnFolder) {
    RecordingMessages messages;
    std::wstring destination = L"unchanged";
    ASSERT_TRUE(SelectionDestination(L"", L"C:\\arc\\a.zip", &destination, messages));
    EXPECT_EQ(destination, L"C:\\arc\\");
    ASSERT_TRUE(SelectionDestination(L"", L"a.zip", &destination, messages));
    EXPECT_EQ(destination, L"");
}

TEST(SelectionDestinationTest, AFolderThatCannotBeMadeIsReported) {
    testsupport::TempDir work;
    WriteBytes(work / "file", "x");
    RecordingMessages messages;
    std::wstring destination;
    EXPECT_FALSE(SelectionDestination(Wide(work / "file\\sub"), Wide(work / "a.zip"), &destination, messages));
    EXPECT_EQ(messages.texts, Files({FolderFailedText}));
}
