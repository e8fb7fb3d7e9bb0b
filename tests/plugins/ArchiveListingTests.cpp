// Choosing the plug-in for an archive and listing its entries.
#include <gtest/gtest.h>
#include <cstring>
#include "tests/support/PluginTestFolder.h"

using testsupport::PluginFile;

namespace {

// A list a failed listing must leave as it was.
EntryList MarkedList() {
    ArchiveEntry marker = {};
    strcpy(marker.fileName, "untouched");
    EntryList list;
    list.Assign(&marker, 1);
    return list;
}

bool IsMarkedList(const EntryList& list) { return list.size() == 1 && strcmp(list[0].fileName, "untouched") == 0; }

// One archive plug-in "arc", held loaded by the probe so that its counters stay readable.
class ArchiveListing : public testing::Test {
protected:
    void SetUp() override {
        probe_ = std::make_unique<fixture::FixtureProbe>(folder_.Add(PluginFile("arc")));
        ASSERT_TRUE(probe_->Loaded());
        table_ = LoadTable(folder_.Path());
        entries_ = MarkedList();
    }

    PluginResult List(const std::string& lines) {
        return table_->ListArchive(folder_.Archive("test.arc", lines).c_str(), &entries_).result;
    }

    PluginTestFolder folder_;
    std::unique_ptr<fixture::FixtureProbe> probe_;
    std::unique_ptr<CPluginTable> table_;
    EntryList entries_;
};

TEST_F(ArchiveListing, CompleteRecordsAreCopiedWithoutAskingForDetails) {
    ASSERT_EQ(0, List("entry method=Deflate|position=100|packed=3|time=1700000000|path=dir\\\\|name=a.txt|data=hello\n"
                      "entry position=200|time=1600000000|name=b.bin|data=xy\n"));

    EXPECT_EQ(0, probe_->Calls("GetFileInfo"));
    EXPECT_EQ(1, probe_->LiveBlocks()) << "the list is the plug-in's block, kept without a copy";
    EXPECT_STREQ("Deflate", reinterpret_cast<const char*>(entries_[0].method));
    EXPECT_EQ(100u, entries_[0].position);
    EXPECT_EQ(3u, entries_[0].packedSize);
    EXPECT_EQ(5u, entries_[0].unpackedSize);
    EXPECT_EQ(1700000000, entries_[0].timestamp);
    EXPECT_STREQ("dir\\", entries_[0].path);
    EXPECT_STREQ("a.txt", entries_[0].fileName);
    EXPECT_EQ(0xC0DE0000u, entries_[0].crc);
    EXPECT_STREQ("", entries_[1].path);
    EXPECT_STREQ("b.bin", entries_[1].fileName);
    EXPECT_EQ(2u, entries_.size());
    entries_ = EntryList();
    EXPECT_EQ(0, probe_->LiveBlocks()) << "the block outlived its list";
}

TEST_F(ArchiveListing, IncompleteRecordsAreCompletedByTheirJoinedName) {
    ASSERT_EQ(0, List("entry position=0|name=first.txt|data=abcd\n"
                      "entry position=300|path=sub\\\\|name=kept.txt|data=abcd\n"
                      "entry method=Deflate|position=400|time=5|path=sub\\\\|name=late.txt|data=12345|incomplete\n"));

    EXPECT_EQ(2, probe_->Calls("GetFileInfo"));
    EXPECT_EQ("sub\\late.txt", probe_->LastInfoName());
    EXPECT_EQ(400u, entries_[2].position);
    EXPECT_EQ(5u, entries_[2].packedSize);
    EXPECT_EQ(5u, entries_[2].unpackedSize);
    EXPECT_EQ(5, entries_[2].timestamp);
}

TEST_F(ArchiveListing, FolderEntryThePluginCannotFindFailsTheListing) {
    EXPECT_EQ(EntryInfoFailed, List("entry name=a.txt|data=a\n"
                        "entry method=Folder|path=dir\\\\\n"
                        "entry method=Folder|path=gone\\\\|noinfo\n"));
    EXPECT_TRUE(IsMarkedList(entries_));
    EXPECT_EQ(0, probe_->LiveBlocks());
}

TEST_F(ArchiveListing, EmptyArchiveGivesTheSlotAndAnEmptyList) {
    EXPECT_EQ(0, List(""));
    EXPECT_TRUE(entries_.empty());
    EXPECT_EQ(0, probe_->LiveBlocks());
}

TEST_F(ArchiveListing, ListEndsAtTheFirstRecordBeginningWithZero) {
    ASSERT_EQ(0, List("entry name=one.txt|data=1\n"
                      "entry method=|name=hidden.txt|data=2\n"
                      "entry name=never.txt|data=3\n"));
    ASSERT_EQ(1u, entries_.size());
    EXPECT_STREQ("one.txt", entries_[0].fileName);
}

TEST_F(ArchiveListing, MissingOrEmptyListBlockFails) {
    const char* const modes[] = {"null", "empty"};
    for (const char* mode : modes) {
        EXPECT_EQ(ArchiveInfoMissing, List(std::string("list ") + mode + "\nentry name=a.txt|data=a\n")) << mode;
        EXPECT_TRUE(IsMarkedList(entries_)) << mode;
        EXPECT_EQ(0, probe_->LiveBlocks()) << mode;
    }
}

TEST_F(ArchiveListing, TheStoppedResultWithoutABlockIsTheUsersStopNotAFailure) {
    EXPECT_EQ(StoppedByUser, List("list fail\nentry name=a.txt|data=a\n"));
    EXPECT_TRUE(IsMarkedList(entries_));
    EXPECT_EQ(0, probe_->LiveBlocks());
}

TEST_F(ArchiveListing, ErrorResultWithAGoodBlockIsReadNormally) {
    ASSERT_EQ(0, List("list error\nentry name=a.txt|data=a\n"));
    EXPECT_STREQ("a.txt", entries_[0].fileName);
    EXPECT_EQ(1, probe_->LiveBlocks());
}

TEST_F(ArchiveListing, BlockThatCannotBeLockedFailsAndIsReleased) {
    EXPECT_EQ(BlockNotLocked, List("list unlockable\nentry name=a.txt|data=a\n"));
    EXPECT_TRUE(IsMarkedList(entries_));
    EXPECT_EQ(0, probe_->LiveBlocks());
}

TEST_F(ArchiveListing, BlockWithoutTerminatorYieldsItsWholeRecords) {
    const char* const modes[] = {"noterminator", "partial"};
    for (const char* mode : modes) {
        ASSERT_EQ(0, List(std::string("list ") + mode + "\nentry name=a.txt|data=a\nentry name=b.txt|data=b\n"))
            << mode;
        ASSERT_EQ(2u, entries_.size()) << mode;
        EXPECT_STREQ("a.txt", entries_[0].fileName);
        EXPECT_STREQ("b.txt", entries_[1].fileName);
        EXPECT_EQ(1, probe_->LiveBlocks()) << "the list before this one still holds its block";
    }
}

TEST_F(ArchiveListing, LongJoinedNamesReachTheClientWhole) {
    std::string path = std::string(198, 'p') + "\\";
    std::string name(150, 'n');
    ASSERT_EQ(0, List("entry position=0|path=\\{198}p\\\\|name=\\{150}n|data=a\n"));
    EXPECT_EQ(path + name, probe_->LastInfoName());
    EXPECT_EQ(path, entries_[0].path);
    EXPECT_EQ(name, entries_[0].fileName);
}

TEST_F(ArchiveListing, TextFieldsWithoutTerminatorAreTerminatedInTheCopy) {
    ASSERT_EQ(0, List("entry method=ABCDEFGH|position=0|path=\\{220}q|name=\\{205}f|data=a\n"));
    // The plug-in was asked with both full 200-byte fields.
    EXPECT_EQ(std::string(200, 'q') + std::string(200, 'f'), probe_->LastInfoName());
    EXPECT_EQ(std::string(199, 'q'), entries_[0].path);
    EXPECT_EQ(std::string(199, 'f'), entries_[0].fileName);
    char method[9];
    EntryMethodText(entries_[0], method);
    EXPECT_STREQ("ABCDEFGH", method);
}

TEST_F(ArchiveListing, FileThatCannotBeOpenedOrThatNoPluginTakes) {
    EXPECT_EQ(ArchiveNotOpened, table_->ListArchive((folder_.Path() + "missing.arc").c_str(), &entries_).result);
    EXPECT_EQ(ArchiveNotOpened, table_->ListArchive(folder_.Path().c_str(), &entries_).result);
    EXPECT_EQ(0, probe_->Calls("IsSupported"));
    EXPECT_EQ(NoPluginAccepts, table_->ListArchive(folder_.File("plain.txt", "just text").c_str(), &entries_).result);
    EXPECT_EQ(1, probe_->Calls("IsSupported"));
    EXPECT_TRUE(IsMarkedList(entries_));
}

TEST(ChoosingThePlugin, FirstAcceptingArchivePluginInTableOrderWins) {
    PluginTestFolder folder;
    fixture::FixtureProbe refuses(folder.Add(PluginFile("a_refuses"), "fixture", "accept never\n"));
    fixture::FixtureProbe image(folder.Add(PluginFile("0_image"), "fixture_image", "accept always\n"));
    fixture::FixtureProbe takes(folder.Add(PluginFile("b_takes")));
    fixture::FixtureProbe later(folder.Add(PluginFile("c_takes_too"), "fixture", "accept always\n"));
    auto table = LoadTable(folder.Path());
    EntryList entries;

    int chosen = table->ListArchive(folder.Archive("x.arc", "entry name=a.txt|data=a\n").c_str(), &entries).slot;
    ASSERT_EQ(1, chosen);
    EXPECT_STREQ(PluginFile("b_takes").c_str(), table->Slot(chosen).fileName);
    EXPECT_EQ(1, refuses.Calls("IsSupported"));
    EXPECT_EQ(0, image.Calls("IsSupported"));
    EXPECT_EQ(0, later.Calls("IsSupported"));
    EXPECT_EQ(1, takes.Calls("GetArchiveInfo"));
}

}  // namespace
