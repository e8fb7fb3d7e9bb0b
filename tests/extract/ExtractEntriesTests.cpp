#include <gtest/gtest.h>
#include <ctime>
#include "extract/ExtractEntries.h"
#include "extract/ExtractionTexts.h"
#include "extract/PluginFileOutput.h"
#include "extract/ZoneMark.h"
#include "tests/extract/ExtractTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace extracttest;
using testsupport::FileExists;
using testsupport::ReadBytes;
using testsupport::WriteBytes;
using Files = std::vector<std::string>;

namespace {
class EntryLoop : public ::testing::Test {
protected:
    // Lists the archive through the fixture plug-in and runs the loop over all its entries.
    ExtractionEnd Run(const std::vector<FixtureEntry>& entries, bool keepPaths = true,
                      OverwriteMode firstMode = Overwrite) {
        WriteFixtureArchive(archive, entries);
        listed.reset(new FixtureListing(archive));
        EXPECT_GE(listed->Slot(), 0) << "the fixture plug-in did not list the archive";
        ExtractionPlan plan;
        plan.archive = &listed->archive;
        plan.entries = listed->All();
        plan.destination = testsupport::Wide(destination);
        plan.keepPaths = keepPaths;
        plan.firstMode = firstMode;
        plan.countFromOne = countFromOne;
        return ExtractEntries(plan, progress, asker, messages);
    }
    std::string Out(const std::string& relative) const { return destination + relative; }

    testsupport::TempDir work;
    std::string archive = work / "a.fix";
    std::string destination = work / "out\\";
    bool countFromOne = false;
    std::unique_ptr<FixtureListing> listed;
    RecordingProgress progress;
    ScriptedAsker asker;
    RecordingMessages messages;
};

// The local time of a timestamp as the C library sees it, in the dialog's format.
std::string CLibraryLocalTime(time_t timestamp) {
    char text[64];
    strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", localtime(&timestamp));
    return text;
}
}  // namespace

TEST_F(EntryLoop, StoredFoldersAreKeptWithEitherSeparator) {
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    EXPECT_EQ(Run({{"doc\\", "a.txt", "A"}, {"doc/sub", "b.txt", "B"}, {"", "c.txt", "C"}}), ExtractionEnd::Normal);
    EXPECT_EQ(ListTree(destination), Files({"c.txt", "doc\\", "doc\\a.txt", "doc\\sub\\", "doc\\sub\\b.txt"}));
    EXPECT_EQ(ReadBytes(Out("doc\\a.txt")), "A");
    EXPECT_EQ(ReadBytes(Out("doc\\sub\\b.txt")), "B");
    EXPECT_EQ(ReadBytes(Out("c.txt")), "C");
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(EntryLoop, WithoutStoredFoldersTheSecondOfTwoNamesMeetsTheFirst) {
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    std::string second(1234567, 'y');
    asker.answers = {Overwrite};
    EXPECT_EQ(Run({{"x\\", "a.txt", "first", 1000000000}, {"y\\", "a.txt", second, 1500000000}}, false),
              ExtractionEnd::Normal);
    EXPECT_EQ(ListTree(destination), Files({"a.txt"}));
    EXPECT_EQ(ReadBytes(Out("a.txt")), second);

    ASSERT_EQ(asker.questions.size(), 1u);
    const OverwriteQuestion& q = asker.questions[0];
    EXPECT_EQ(q.folderText, testsupport::Wide(destination));
    EXPECT_EQ(q.fileLine, L" a.txt");
    EXPECT_EQ(q.diskSizeText, "5");
    EXPECT_EQ(q.diskTimeText, CLibraryLocalTime(1000000000));
    EXPECT_EQ(q.archiveSizeText, "1,234,567");
    EXPECT_EQ(q.archiveTimeText, CLibraryLocalTime(1500000000));
    EXPECT_EQ(q.preselected, Overwrite);
}

TEST_F(EntryLoop, EachQuestionPreselectsThePreviousAnswerAndTheAllAnswersStopAsking) {
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    for (const char* name : {"1", "2", "3", "4", "5"}) WriteBytes(Out(name), "old");
    asker.answers = {DontOverwrite, Overwrite, OverwriteAll};
    EXPECT_EQ(Run({{"", "1", "new"}, {"", "2", "new"}, {"", "3", "new"}, {"", "4", "new"}, {"", "6", "new"}}),
              ExtractionEnd::Normal);
    ASSERT_EQ(asker.questions.size(), 3u);
    EXPECT_EQ(asker.questions[0].preselected, Overwrite);
    EXPECT_EQ(asker.questions[1].preselected, DontOverwrite);
    EXPECT_EQ(asker.questions[2].preselected, Overwrite);
    EXPECT_EQ(ReadBytes(Out("1")), "old");
    EXPECT_EQ(ReadBytes(Out("2")), "new");
    EXPECT_EQ(ReadBytes(Out("3")), "new");
    EXPECT_EQ(ReadBytes(Out("4")), "new");  // overwritten without a question
    EXPECT_EQ(ReadBytes(Out("5")), "old");
    EXPECT_EQ(ReadBytes(Out("6")), "new");
}

TEST_F(EntryLoop, IgnoreAllSkipsEveryFurtherExistingFileWithoutAsking) {
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    for (const char* name : {"1", "2"}) WriteBytes(Out(name), "old");
    asker.answers = {IgnoreAll};
    EXPECT_EQ(Run({{"", "1", "new"}, {"", "2", "new"}, {"", "3", "new"}}), ExtractionEnd::Normal);
    EXPECT_EQ(asker.questions.size(), 1u);
    EXPECT_EQ(ReadBytes(Out("1")), "old");
    EXPECT_EQ(ReadBytes(Out("2")), "old");
    EXPECT_EQ(ReadBytes(Out("3")), "new");
}

TEST_F(EntryLoop, AFirstModeOfIgnoreAllLeavesExistingFilesAloneSilently) {
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    WriteBytes(Out("1"), "old");
    EXPECT_EQ(Run({{"", "1", "new"}, {"", "2", "new"}}, true, IgnoreAll), ExtractionEnd::Normal);
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(ReadBytes(Out("1")), "old");
    EXPECT_EQ(ReadBytes(Out("2")), "new");
}

TEST_F(EntryLoop, StoppingAtTheQuestionEndsTheRunAsAFailure) {
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    WriteBytes(Out("2"), "old");
    asker.answers = {-1};
    EXPECT_EQ(Run({{"", "1", "new"}, {"", "2", "new"}, {"", "3", "new"}}), ExtractionEnd::Failure);
    EXPECT_EQ(ReadBytes(Out("1")), "new");
    EXPECT_EQ(ReadBytes(Out("2")), "old");
    EXPECT_FALSE(FileExists(Out("3")));
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(EntryLoop, AFolderWhereTheFileShouldGoFailsWithoutAQuestion) {
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(Out("a.txt").c_str(), nullptr));
    EXPECT_EQ(Run({{"", "a.txt", "A"}, {"", "b.txt", "B"}}), ExtractionEnd::Failure);
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(messages.texts, Files({WriteFailedText}));
    EXPECT_FALSE(FileExists(Out("b.txt")));
}

TEST_F(EntryLoop, AReadOnlyFileIsNotOverwrittenAndTheRunFails) {
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    WriteBytes(Out("a.txt"), "old");
    ASSERT_TRUE(SetFileAttributesA(Out("a.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    asker.answers = {Overwrite};
    EXPECT_EQ(Run({{"", "a.txt", "new"}}), ExtractionEnd::Failure);
    EXPECT_EQ(messages.texts, Files({WriteFailedText}));
    EXPECT_EQ(ReadBytes(Out("a.txt")), "old");
}

TEST_F(EntryLoop, TheTimestampBecomesTheModificationTimeAndZeroKeepsTheTimeOfWriting) {
    time_t before = time(nullptr);
    EXPECT_EQ(Run({{"", "dated", "d", 1234567890}, {"", "undated", "u", 0}, {"", "empty", "", 1300000000}}),
              ExtractionEnd::Normal);
    EXPECT_EQ(ModificationTimestamp(Out("dated")), 1234567890);
    EXPECT_GE(ModificationTimestamp(Out("undated")), before - 2);
    EXPECT_LE(ModificationTimestamp(Out("undated")), time(nullptr) + 2);
    // An empty entry is an empty file like any other, with its time.
    EXPECT_TRUE(FileExists(Out("empty")));
    EXPECT_EQ(ReadBytes(Out("empty")), "");
    EXPECT_EQ(ModificationTimestamp(Out("empty")), 1300000000);
}

TEST_F(EntryLoop, AShortBlockIsAFailedFetchAndTouchesNoFile) {
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    WriteBytes(Out("kept.txt"), "precious");
    FixtureEntry shortNew{"", "new.txt", "0123456789"};
    shortNew.unpackedSize = 100;
    FixtureEntry shortExisting{"", "kept.txt", "0123456789"};
    shortExisting.unpackedSize = 100;

    EXPECT_EQ(Run({shortNew}, true, OverwriteAll), ExtractionEnd::Failure);
    EXPECT_EQ(messages.codes, std::vector<int>({EntryNotUnpacked}));
    EXPECT_FALSE(FileExists(Out("new.txt")));

    messages.codes.clear();
    EXPECT_EQ(Run({shortExisting}, true, OverwriteAll), ExtractionEnd::Failure);
    EXPECT_EQ(messages.codes, std::vector<int>({EntryNotUnpacked}));
    EXPECT_EQ(ReadBytes(Out("kept.txt")), "precious");
}

TEST_F(EntryLoop, AFailedFetchIsShownWithItsCodeAndEndsTheRun) {
    FixtureEntry failing{"", "b.txt", "B"};
    failing.flags = "fetch-fail";
    EXPECT_EQ(Run({{"", "a.txt", "A"}, failing, {"", "c.txt", "C"}}), ExtractionEnd::Failure);
    EXPECT_EQ(messages.codes, std::vector<int>({EntryNotUnpacked}));
    EXPECT_EQ(ListTree(destination), Files({"a.txt"}));
}

TEST_F(EntryLoop, NamesLeavingTheDestinationAreRefusedBeforeAnythingIsCreated) {
    const char* escapes[][2] = {{"..\\", "evil.txt"},    {"../", "evil.txt"},       {"sub\\..\\..\\", "evil.txt"},
                                {"", "..\\evil.txt"},   {"", "../evil.txt"},       {"\\", "evil.txt"},
                                {"/", "evil.txt"},      {"\\\\host\\share\\", "e"}, {"C:\\", "evil.txt"},
                                {"C:", "evil.txt"},     {"sub/../../x/", "evil.txt"}};
    for (auto& escape : escapes) {
        testsupport::RemoveTree(destination);
        messages.texts.clear();
        EXPECT_EQ(Run({{"", "good.txt", "G"}, {escape[0], escape[1], "E"}, {"", "later.txt", "L"}}),
                  ExtractionEnd::Failure)
            << escape[0] << escape[1];
        EXPECT_EQ(messages.texts, Files({WriteFailedText})) << escape[0] << escape[1];
        // Only the destination with the first file, beside the archive.
        EXPECT_EQ(ListTree(work.path()), Files({"a.fix", "out\\", "out\\good.txt"})) << escape[0] << escape[1];
    }
}

TEST_F(EntryLoop, PathsPastTheOldLimitOfPlainPathsAreWrittenWhole) {
    destination = work.path() + std::string(200, 'd') + "\\";
    std::string folder = std::string(60, 'f') + "\\", name = std::string(40, 'n') + ".txt";
    ASSERT_GT(destination.size() + folder.size() + name.size(), 300u);
    EXPECT_EQ(Run({{folder, name, "A"}, {folder + "sub\\", name, "B"}}), ExtractionEnd::Normal);
    EXPECT_TRUE(messages.texts.empty());
    std::wstring written = L"\\\\?\\" + testsupport::Wide(destination + folder);
    EXPECT_EQ(testsupport::ReadBytes(written + testsupport::Wide(name)), "A");
    EXPECT_EQ(testsupport::ReadBytes(written + L"sub\\" + testsupport::Wide(name)), "B");
}

TEST_F(EntryLoop, FolderRecordsMoveTheBarButWriteNothing) {
    EXPECT_EQ(Run({{"d1\\", ""}, {"d1\\", "a", "1"}, {"d2\\", ""}, {"d2\\", "b", "2"}, {"", "c", "3"}}),
              ExtractionEnd::Normal);
    EXPECT_EQ(progress.positions, std::vector<int>({0, 1, 2, 3, 4}));
    EXPECT_EQ(progress.names, Files({"a", "b", "c"}));
    EXPECT_EQ(ListTree(destination), Files({"c", "d1\\", "d1\\a", "d2\\", "d2\\b"}));
}

TEST_F(EntryLoop, SelectionRunsCountTheirRowsFromOne) {
    countFromOne = true;
    EXPECT_EQ(Run({{"", "a", "1"}, {"", "b", "2"}}), ExtractionEnd::Normal);
    EXPECT_EQ(progress.positions, std::vector<int>({1, 2}));
}

TEST_F(EntryLoop, AnAbortEndsTheRunNormallyBeforeTheEntryShownLast) {
    progress.abortAfterNames = 2;
    EXPECT_EQ(Run({{"", "a", "1"}, {"", "b", "2"}, {"", "c", "3"}, {"", "d", "4"}}), ExtractionEnd::Normal);
    EXPECT_EQ(progress.names, Files({"a", "b", "c"}));
    EXPECT_EQ(ListTree(destination), Files({"a", "b"}));
}

TEST_F(EntryLoop, AnEmptyDestinationCannotBeMadeForAnEntryAtTheTop) {
    destination.clear();
    EXPECT_EQ(Run({{"", "a.txt", "A"}}), ExtractionEnd::Failure);
    EXPECT_EQ(messages.texts, Files({FolderFailedText}));
}

TEST_F(EntryLoop, DeviceNamesAreRefusedLikeNamesThatLeaveTheDestination) {
    // The first device name ends the run; nothing after it is written or asked about.
    EXPECT_EQ(Run({{"", "good.txt", "G"}, {"", "nul.txt", "N"}, {"", "aux.c", "A"}, {"", "con", "C"},
                   {"", "COM1.log", "1"}, {"", "later.txt", "L"}}),
              ExtractionEnd::Failure);
    EXPECT_EQ(messages.texts, Files({WriteFailedText}));
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(ListTree(destination), Files({"good.txt"}));

    const char* devices[][2] = {{"", "AUX"},        {"", "Nul .txt"}, {"", "con."},   {"", "lpt9.tar.gz"},
                                {"", "CONOUT$"},    {"prn\\", "a"},   {"x/Com3/", "a"}};
    for (auto& device : devices) {
        testsupport::RemoveTree(destination);
        messages.texts.clear();
        EXPECT_EQ(Run({{"", "good.txt", "G"}, {device[0], device[1], "D"}}), ExtractionEnd::Failure)
            << device[0] << device[1];
        EXPECT_EQ(messages.texts, Files({WriteFailedText})) << device[0] << device[1];
        EXPECT_EQ(ListTree(destination), Files({"good.txt"})) << device[0] << device[1];
    }
}

TEST_F(EntryLoop, AnEntryNamedLikeTheArchiveNeverOverwritesIt) {
    // Extracted into the archive's own folder, with every overwrite allowed; the names differ
    // only in their spelling.
    std::vector<FixtureEntry> entries = {{"", "first.txt", "F"}, {"", "A.FIX", "not an archive"}, {"", "later.txt", "L"}};
    testsupport::TempDir elsewhere;
    std::string archiveBytes = ReadBytes(WriteFixtureArchive(elsewhere / "copy.fix", entries));
    destination = work.path() + ".\\";
    EXPECT_EQ(Run(entries, true, OverwriteAll), ExtractionEnd::Failure);
    EXPECT_EQ(messages.texts, Files({WriteFailedText}));
    EXPECT_EQ(ReadBytes(archive), archiveBytes);
    EXPECT_EQ(ListTree(work.path()), Files({"a.fix", "first.txt"}));
}

namespace {
// Gives the file at `to` the creation and write times of the file at `from`.
bool CopyFileTimes(const std::string& from, const std::string& to) {
    WIN32_FILE_ATTRIBUTE_DATA times;
    if (!GetFileAttributesExA(from.c_str(), GetFileExInfoStandard, &times)) return false;
    HANDLE file = CreateFileA(to.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool set = SetFileTime(file, &times.ftCreationTime, nullptr, &times.ftLastWriteTime) != FALSE;
    CloseHandle(file);
    return set;
}
}  // namespace

TEST_F(EntryLoop, AnArchiveReplacedAfterListingIsToldApartEvenWithTheSameSizeAndTimes) {
    // Another archive of the same size and the same times takes the name while the question
    // about the first entry waits, before anything is fetched.
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(Out("a.txt"), "old"));
    std::string replacement = WriteFixtureArchive(work / "new.fix", {{"", "a.txt", "X"}, {"", "b.txt", "Y"}});
    asker.answers = {Overwrite};
    asker.whileAsking = [&] {
        ASSERT_EQ(ReadBytes(replacement).size(), ReadBytes(archive).size());
        ASSERT_TRUE(CopyFileTimes(archive, replacement));
        ASSERT_TRUE(MoveFileExA(replacement.c_str(), archive.c_str(), MOVEFILE_REPLACE_EXISTING));
    };
    EXPECT_EQ(Run({{"", "a.txt", "A"}, {"", "b.txt", "B"}}), ExtractionEnd::Failure);
    EXPECT_EQ(messages.texts, Files({ArchiveChangedText}));
    EXPECT_EQ(ListTree(destination), Files({"a.txt"}));
    EXPECT_EQ(ReadBytes(Out("a.txt")), "old");
}

TEST_F(EntryLoop, NoProgramCanReplaceOrChangeTheArchiveWhileTheRunFetchesFromIt) {
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(Out("b.txt"), "old"));
    std::string replacement = WriteFixtureArchive(work / "new.fix", {{"", "a.txt", "X"}, {"", "b.txt", "Y"}, {"", "c.txt", "Z"}});
    asker.answers = {Overwrite};
    asker.whileAsking = [&] {
        EXPECT_FALSE(MoveFileExA(replacement.c_str(), archive.c_str(), MOVEFILE_REPLACE_EXISTING));
        EXPECT_FALSE(DeleteFileA(archive.c_str()));
        EXPECT_FALSE(MoveFileA(archive.c_str(), (work / "moved.fix").c_str()));
        HANDLE writer = CreateFileA(archive.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
        if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    };
    EXPECT_EQ(Run({{"", "a.txt", "A"}, {"", "b.txt", "B"}, {"", "c.txt", "C"}}), ExtractionEnd::Normal);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(ReadBytes(Out("a.txt")), "A");
    EXPECT_EQ(ReadBytes(Out("b.txt")), "B");
    EXPECT_EQ(ReadBytes(Out("c.txt")), "C");
    // The run lets go of the archive when it ends.
    EXPECT_TRUE(MoveFileExA(replacement.c_str(), archive.c_str(), MOVEFILE_REPLACE_EXISTING));
}

namespace {
// Whether the volume that holds path keeps named streams (Wine's volumes do not: there a
// stream's name makes a plain file of that name).
bool VolumeHasNamedStreams(const std::string& path) {
    char root[MAX_PATH];
    DWORD flags = 0;
    return GetVolumePathNameA(path.c_str(), root, sizeof root) &&
           GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
           (flags & FILE_NAMED_STREAMS) != 0;
}
}  // namespace

TEST_F(EntryLoop, TheArchivesInternetZoneNeverLeavesAStrayFileBesideTheOutput) {
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(Out("old.txt"), "old"));
    // The archive's stream, or under Wine the plain file that stands for it.
    ASSERT_TRUE(WriteBytes(archive + ":Zone.Identifier", "[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=x\r\n"));
    EXPECT_EQ(Run({{"doc\\", "new.txt", "N", 1500000000}, {"", "old.txt", "replaced", 1500000000}}, true,
                  OverwriteAll),
              ExtractionEnd::Normal);
    EXPECT_EQ(ReadBytes(Out("old.txt")), "replaced");
    if (!VolumeHasNamedStreams(destination)) {
        EXPECT_EQ(ListTree(destination), Files({"doc\\", "doc\\new.txt", "old.txt"}));
        return;
    }
    for (const char* file : {"doc\\new.txt", "old.txt"}) {
        std::string mark = ReadBytes(Out(file) + ":Zone.Identifier");
        EXPECT_EQ(ZoneIdInStream(mark.data(), mark.size()), InternetZone) << file;
        EXPECT_EQ(ModificationTimestamp(Out(file)), 1500000000) << file << ": the mark keeps the entry's time";
    }
}

class Overwriting : public EntryLoop {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
        ASSERT_TRUE(WriteBytes(Out("a.bin"), "old bytes"));
        ASSERT_TRUE(SetModificationTimestamp(Out("a.bin"), 1000000000));
    }
    // The old file as it was, and nothing beside it.
    void ExpectOldFileAlone() {
        EXPECT_EQ(ReadBytes(Out("a.bin")), "old bytes");
        EXPECT_EQ(ModificationTimestamp(Out("a.bin")), 1000000000);
        EXPECT_EQ(ListTree(destination), Files({"a.bin"})) << "no temporary file remains";
    }
};

TEST_F(Overwriting, TheNewFileTakesTheOldOnesPlaceOnlyWhenComplete) {
    ASSERT_TRUE(SetFileAttributesA(Out("a.bin").c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(Run({{"", "a.bin", "new bytes", 1500000000}}, true, OverwriteAll), ExtractionEnd::Normal);
    EXPECT_EQ(ReadBytes(Out("a.bin")), "new bytes");
    EXPECT_EQ(ModificationTimestamp(Out("a.bin")), 1500000000);
    EXPECT_NE(GetFileAttributesA(Out("a.bin").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u) << "it stays hidden";
    EXPECT_EQ(ListTree(destination), Files({"a.bin"}));
    ASSERT_TRUE(SetFileAttributesA(Out("a.bin").c_str(), FILE_ATTRIBUTE_NORMAL));

    // A program reading the old file, which lets nobody delete it, keeps it from being replaced.
    ASSERT_TRUE(WriteBytes(Out("a.bin"), "old bytes"));
    ASSERT_TRUE(SetModificationTimestamp(Out("a.bin"), 1000000000));
    HANDLE reader = CreateFileA(Out("a.bin").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Run({{"", "a.bin", "newer", 1600000000}}, true, OverwriteAll), ExtractionEnd::Failure);
    CloseHandle(reader);
    EXPECT_EQ(messages.texts, Files({WriteFailedText}));
    ExpectOldFileAlone();
}

// Entries written onto a volume that fills up half-way. The test command runs these cases
// once more with a volume of 1 MB of their own (VARNITO_SMALL_VOLUME).
class FullDisk : public EntryLoop {
protected:
    void SetUp() override {
        char volume[MAX_PATH] = {};
        if (!GetEnvironmentVariableA("VARNITO_SMALL_VOLUME", volume, sizeof volume))
            GTEST_SKIP() << "runs on a small volume (ctest: extract_tests_full_disk)";
        destination = std::string(volume) + "out\\";
        ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    }
    void TearDown() override {
        if (!destination.empty()) testsupport::RemoveTree(destination);
    }
    // More than the whole volume holds.
    const std::string tooLarge = "@" + std::to_string(2 * 1048576);
};

TEST_F(FullDisk, ANewFileThatDoesNotFitIsRemovedNotLeftCutUnderItsName) {
    EXPECT_EQ(Run({{"", "small.txt", "fits", 1500000000}, {"", "big.bin", tooLarge, 1500000000}}),
              ExtractionEnd::Failure);
    EXPECT_EQ(messages.texts, Files({WriteFailedText}));
    EXPECT_EQ(ListTree(destination), Files({"small.txt"}));
    EXPECT_EQ(ReadBytes(Out("small.txt")), "fits");
}

TEST_F(FullDisk, ALargeEntryItsPluginCannotWriteWholeLeavesNeitherItsFileNorItsWorkFolder) {
    ASSERT_TRUE(WriteBytes(Out("old.bin"), "old bytes"));
    std::string large = "@" + std::to_string(LargeEntryBytes);
    EXPECT_EQ(Run({{"", "huge.bin", large}, {"", "old.bin", large}}, true, OverwriteAll), ExtractionEnd::Failure);
    EXPECT_EQ(messages.codes, std::vector<int>({EntryNotUnpacked}));
    EXPECT_EQ(ListTree(destination), Files({"old.bin"}));
    EXPECT_EQ(ReadBytes(Out("old.bin")), "old bytes");
}

TEST_F(FullDisk, AReplacementThatDoesNotFitLeavesTheOldFileAsItWas) {
    ASSERT_TRUE(WriteBytes(Out("a.bin"), "old bytes"));
    ASSERT_TRUE(SetModificationTimestamp(Out("a.bin"), 1000000000));
    EXPECT_EQ(Run({{"", "a.bin", tooLarge, 1500000000}}, true, OverwriteAll), ExtractionEnd::Failure);
    EXPECT_EQ(messages.texts, Files({WriteFailedText}));
    EXPECT_EQ(ReadBytes(Out("a.bin")), "old bytes");
    EXPECT_EQ(ModificationTimestamp(Out("a.bin")), 1000000000);
    EXPECT_EQ(ListTree(destination), Files({"a.bin"})) << "no temporary file remains";
}
