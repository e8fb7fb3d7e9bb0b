// Choosing the plug-in for an archive and listing its entries.
#include <gtest/gtest.h>
#include <cstring>
#include "tests/support/PluginTestFolder.h"

using testsupport::PluginFile;
using testsupport::Wide;

namespace {

// One archive plug-in "arc", held loaded by the probe so that its counters stay readable.
class ArchiveListing : public testing::Test {
protected:
    void SetUp() override {
        probe_ = std::make_unique<fixture::FixtureProbe>(folder_.Add(PluginFile("arc")));
        ASSERT_TRUE(probe_->Loaded());
        table_ = LoadTable(folder_.Path());
    }

    PluginResult List(const std::string& lines) {
        return ListInto(*table_, folder_.Archive("test.arc", lines), &listed_).result;
    }
    const EntryList& Entries() const { return listed_.entries; }
    // Nothing of a failed listing is left: no entries, no slot, no block.
    void ExpectNothingListed() {
        EXPECT_TRUE(Entries().empty());
        EXPECT_FALSE(listed_.Listed());
        EXPECT_EQ(0, probe_->LiveBlocks());
    }

    PluginTestFolder folder_;
    std::unique_ptr<fixture::FixtureProbe> probe_;
    std::unique_ptr<CPluginTable> table_;
    ListedArchive listed_;
};

TEST_F(ArchiveListing, CompleteRecordsAreCopiedWithoutAskingForDetails) {
    ASSERT_EQ(0, List("entry method=Deflate|position=100|packed=3|time=1700000000|path=dir\\\\|name=a.txt|data=hello\n"
                      "entry position=200|time=1600000000|name=b.bin|data=xy\n"));

    EXPECT_EQ(0, probe_->Calls("GetFileInfo"));
    EXPECT_EQ(0, probe_->LiveBlocks()) << "the plug-in's block goes once its records are copied";
    EXPECT_EQ("Deflate", EntryMethodText(Entries()[0]));
    EXPECT_EQ(100u, Entries()[0].position);
    EXPECT_EQ(3u, Entries()[0].packedSize);
    EXPECT_EQ(5u, Entries()[0].unpackedSize);
    EXPECT_EQ(1700000000, Entries()[0].timestamp);
    EXPECT_EQ(L"dir\\", std::wstring(Entries()[0].path));
    EXPECT_EQ(L"a.txt", std::wstring(Entries()[0].fileName));
    EXPECT_EQ(0xC0DE0000u, Entries()[0].crc);
    EXPECT_EQ(L"", std::wstring(Entries()[1].path));
    EXPECT_EQ(L"b.bin", std::wstring(Entries()[1].fileName));
    EXPECT_EQ(2u, Entries().size());
    EXPECT_EQ(0u, Entries().Unshown());
}

TEST_F(ArchiveListing, CodePage932NamesBecomeTheirUnicodeCharacters) {
    // 表 and ソ end in the byte 0x5C, which is no separator inside them.
    ASSERT_EQ(0, List("entry path=\\x95\\x5C\\\\\\x83\\x5C\\\\|name=日本語.txt|data=a\n"));
    const std::wstring path = L"表\\ソ\\", name = L"日本語.txt";
    EXPECT_EQ(path, std::wstring(Entries()[0].path));
    EXPECT_EQ(name, std::wstring(Entries()[0].fileName));
}

TEST_F(ArchiveListing, IncompleteRecordsAreCompletedByTheirJoinedName) {
    ASSERT_EQ(0, List("entry position=0|name=first.txt|data=abcd\n"
                      "entry position=300|path=sub\\\\|name=kept.txt|data=abcd\n"
                      "entry method=Deflate|position=400|time=5|path=sub\\\\|name=late.txt|data=12345|incomplete\n"));

    EXPECT_EQ(2, probe_->Calls("GetFileInfo"));
    EXPECT_EQ("sub\\late.txt", probe_->LastInfoName());
    EXPECT_EQ(400u, Entries()[2].position);
    EXPECT_EQ(5u, Entries()[2].packedSize);
    EXPECT_EQ(5u, Entries()[2].unpackedSize);
    EXPECT_EQ(5, Entries()[2].timestamp);
}

TEST_F(ArchiveListing, FolderEntryThePluginCannotFindFailsTheListing) {
    EXPECT_EQ(EntryInfoFailed, List("entry name=a.txt|data=a\n"
                                    "entry method=Folder|path=dir\\\\\n"
                                    "entry method=Folder|path=gone\\\\|noinfo\n"));
    ExpectNothingListed();
}

TEST_F(ArchiveListing, EmptyArchiveGivesTheSlotAndAnEmptyList) {
    EXPECT_EQ(0, List(""));
    EXPECT_TRUE(Entries().empty());
    EXPECT_TRUE(listed_.Listed());
    EXPECT_EQ(0, probe_->LiveBlocks());
}

TEST_F(ArchiveListing, ListEndsAtTheFirstRecordBeginningWithZero) {
    ASSERT_EQ(0, List("entry name=one.txt|data=1\n"
                      "entry method=|name=hidden.txt|data=2\n"
                      "entry name=never.txt|data=3\n"));
    ASSERT_EQ(1u, Entries().size());
    EXPECT_EQ(L"one.txt", std::wstring(Entries()[0].fileName));
}

TEST_F(ArchiveListing, MissingOrEmptyListBlockFails) {
    const char* const modes[] = {"null", "empty"};
    for (const char* mode : modes) {
        EXPECT_EQ(ArchiveInfoMissing, List(std::string("list ") + mode + "\nentry name=a.txt|data=a\n")) << mode;
        ExpectNothingListed();
    }
}

TEST_F(ArchiveListing, TheStoppedResultWithoutABlockIsTheUsersStopNotAFailure) {
    EXPECT_EQ(StoppedByUser, List("list fail\nentry name=a.txt|data=a\n"));
    ExpectNothingListed();
}

TEST_F(ArchiveListing, ErrorResultWithAGoodBlockIsReadNormally) {
    ASSERT_EQ(0, List("list error\nentry name=a.txt|data=a\n"));
    EXPECT_EQ(L"a.txt", std::wstring(Entries()[0].fileName));
}

TEST_F(ArchiveListing, BlockThatCannotBeLockedFailsAndIsReleased) {
    EXPECT_EQ(BlockNotLocked, List("list unlockable\nentry name=a.txt|data=a\n"));
    ExpectNothingListed();
}

TEST_F(ArchiveListing, BlockWithoutTerminatorYieldsItsWholeRecords) {
    const char* const modes[] = {"noterminator", "partial"};
    for (const char* mode : modes) {
        ASSERT_EQ(0, List(std::string("list ") + mode + "\nentry name=a.txt|data=a\nentry name=b.txt|data=b\n"))
            << mode;
        ASSERT_EQ(2u, Entries().size()) << mode;
        EXPECT_EQ(L"a.txt", std::wstring(Entries()[0].fileName));
        EXPECT_EQ(L"b.txt", std::wstring(Entries()[1].fileName));
    }
}

TEST_F(ArchiveListing, LongJoinedNamesReachTheClientWhole) {
    std::string path = std::string(198, 'p') + "\\";
    std::string name(150, 'n');
    ASSERT_EQ(0, List("entry position=0|path=\\{198}p\\\\|name=\\{150}n|data=a\n"));
    EXPECT_EQ(path + name, probe_->LastInfoName());
    EXPECT_EQ(Wide(path), std::wstring(Entries()[0].path));
    EXPECT_EQ(Wide(name), std::wstring(Entries()[0].fileName));
}

// A name the plug-in cut to its 200-byte field would write a file under another name: the
// entry is left out and counted, and the others are listed.
TEST_F(ArchiveListing, EntriesWhoseNamesWereCutAreCountedAndTheRestListed) {
    ASSERT_EQ(0, List("entry method=ABCDEFGH|position=0|path=\\{220}q|name=a.txt|data=a\n"
                      "entry name=short.txt|data=b\n"
                      "entry name=\\{205}f|data=c\n"
                      "entry position=0|path=\\{210}r\\\\|name=x|data=d|incomplete\n"));
    ASSERT_EQ(1u, Entries().size());
    EXPECT_EQ(L"short.txt", std::wstring(Entries()[0].fileName));
    EXPECT_EQ(3u, Entries().Unshown());
    EXPECT_EQ(0, probe_->Calls("GetFileInfo")) << "a cut name is not asked about";
}

TEST_F(ArchiveListing, FileThatCannotBeOpenedOrThatNoPluginTakes) {
    EXPECT_EQ(ArchiveNotOpened, ListInto(*table_, folder_.Path() + "missing.arc", &listed_).result);
    EXPECT_EQ(ArchiveNotOpened, ListInto(*table_, folder_.Path(), &listed_).result);
    EXPECT_EQ(0, probe_->Calls("IsSupported"));
    EXPECT_EQ(NoPluginAccepts, ListInto(*table_, folder_.File("plain.txt", "just text"), &listed_).result);
    EXPECT_EQ(1, probe_->Calls("IsSupported"));
    ExpectNothingListed();
}

TEST(ChoosingThePlugin, FirstAcceptingArchivePluginInTableOrderWins) {
    PluginTestFolder folder;
    fixture::FixtureProbe refuses(folder.Add(PluginFile("a_refuses"), "fixture", "accept never\n"));
    fixture::FixtureProbe image(folder.Add(PluginFile("0_image"), "fixture_image", "accept always\n"));
    fixture::FixtureProbe takes(folder.Add(PluginFile("b_takes")));
    fixture::FixtureProbe later(folder.Add(PluginFile("c_takes_too"), "fixture", "accept always\n"));
    auto table = LoadTable(folder.Path());
    ListedArchive listed;

    int chosen = ListInto(*table, folder.Archive("x.arc", "entry name=a.txt|data=a\n"), &listed).slot;
    ASSERT_EQ(1, chosen);
    EXPECT_EQ(Wide(PluginFile("b_takes")), table->Slot(chosen).fileName);
    EXPECT_EQ(1, refuses.Calls("IsSupported"));
    EXPECT_EQ(0, image.Calls("IsSupported"));
    EXPECT_EQ(0, later.Calls("IsSupported"));
    EXPECT_EQ(1, takes.Calls("GetArchiveInfo"));
}

}  // namespace
