// Fetching one entry into memory, and what the host does with every kind of block.
#include <gtest/gtest.h>
#include "tests/support/PluginTestFolder.h"

using testsupport::PluginFile;

namespace {

class EntryFetch : public testing::Test {
protected:
    void SetUp() override {
        probe_ = std::make_unique<fixture::FixtureProbe>(folder_.Add(PluginFile("arc")));
        folder_.Add(PluginFile("image"), "fixture_image");
        ASSERT_TRUE(probe_->Loaded());
        table_ = LoadTable(folder_.Path());
    }
    // Lists a script of one entry and fetches it; the listing must succeed.
    int ListAndFetch(const std::string& entryLine) {
        TestListing listing = ListInto(*table_, folder_.Archive("one.arc", entryLine + "\n"), &listed_);
        listBlocks_ = probe_->LiveBlocks();
        EXPECT_EQ(0, listing.slot);
        if (!listing.Listed()) return listing.result;
        EXPECT_EQ(1u, listed_.entries.size());
        return listed_.entries.empty() ? listing.slot : Fetch(listed_, listed_.entries[0]);
    }
    int Fetch(const ListedArchive& archive, const ListedEntry& entry) {
        fetched_ = PluginBlock();
        return table_->FetchEntry(archive, entry, &fetched_);
    }
    // The plug-in's blocks alive besides the list's own.
    int EntryBlocks() const { return probe_->LiveBlocks() - listBlocks_; }
    std::string Fetched() const {
        const char* bytes = reinterpret_cast<const char*>(fetched_.Bytes());
        return bytes ? std::string(bytes, fetched_.Size()) : std::string("(null)");
    }

    PluginTestFolder folder_;
    std::unique_ptr<fixture::FixtureProbe> probe_;
    std::unique_ptr<CPluginTable> table_;
    ListedArchive listed_;
    int listBlocks_ = 0;
    PluginBlock fetched_;
};

TEST_F(EntryFetch, EntryBytesArriveInThePluginsOwnBlockReleasedByItsOwner) {
    ASSERT_EQ(0, ListAndFetch("entry name=hello.txt|data=hello\\nworld"));
    EXPECT_EQ("hello\nworld", Fetched());
    EXPECT_EQ(1, EntryBlocks()) << "the block was copied instead of handed over";
    PluginBlock moved = std::move(fetched_);
    EXPECT_EQ(nullptr, fetched_.Bytes());
    EXPECT_EQ(1, EntryBlocks());
    moved = PluginBlock();
    EXPECT_EQ(0, EntryBlocks());
}

TEST_F(EntryFetch, LargeEntryArrivesWhole) {
    ASSERT_EQ(0, ListAndFetch("entry name=big.bin|data=@3000000"));
    ASSERT_EQ(3000000u, fetched_.Size());
    const unsigned char* bytes = fetched_.Bytes();
    bool same = bytes != nullptr;
    for (size_t i = 0; i < fetched_.Size() && same; ++i) same = bytes[i] == ((i * 31 + 7) & 0xFF);
    EXPECT_TRUE(same);
}

TEST_F(EntryFetch, LongerBlockThanTheEntryIsHandedOverWhole) {
    ASSERT_EQ(0, ListAndFetch("entry packed=2|unpacked=2|name=long.txt|data=abcdef"));
    EXPECT_EQ("abcdef", Fetched());
}

TEST_F(EntryFetch, EntryWithoutFileNameFetchesNothing) {
    ASSERT_EQ(0, ListAndFetch("entry method=Folder|path=dir\\\\"));
    EXPECT_EQ(nullptr, fetched_.Bytes());
    EXPECT_EQ(0u, fetched_.Size());
    EXPECT_EQ(0, probe_->Calls("GetFile"));
}

TEST_F(EntryFetch, FailuresOfANonEmptyEntry) {
    struct Case {
        const char* flags;
        int code;
    };
    const Case cases[] = {{"fetch-fail", EntryNotUnpacked},
                          {"fetch-stopped", StoppedByUser},
                          {"fetch-errorblock", EntryNotUnpacked},
                          {"fetch-null", EntryNotUnpacked},
                          {"fetch-empty", EntryNotUnpacked},
                          {"fetch-unlockable", BlockNotLocked}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(c.code, ListAndFetch(std::string("entry name=a.txt|data=abc|") + c.flags));
        EXPECT_EQ(nullptr, fetched_.Bytes());
        EXPECT_EQ(0u, fetched_.Size());
        EXPECT_EQ(0, EntryBlocks());
    }
}

TEST_F(EntryFetch, BlockShorterThanTheEntryFails) {
    EXPECT_EQ(EntryNotUnpacked, ListAndFetch("entry unpacked=10|name=short.txt|data=abc"));
    EXPECT_EQ(nullptr, fetched_.Bytes());
    EXPECT_EQ(0, EntryBlocks());
}

TEST_F(EntryFetch, EmptyEntryIsFetchedAsNoBytesHoweverThePluginHandsItOver) {
    const char* const flags[] = {"", "fetch-null", "fetch-empty", "fetch-unlockable"};
    for (const char* flag : flags) {
        SCOPED_TRACE(flag);
        EXPECT_EQ(0, ListAndFetch(std::string("entry name=empty.txt|") + flag));
        EXPECT_EQ(nullptr, fetched_.Bytes());
        EXPECT_EQ(0u, fetched_.Size());
        EXPECT_EQ(0, EntryBlocks());
    }
    EXPECT_EQ(EntryNotUnpacked, ListAndFetch("entry name=empty.txt|fetch-fail"));
}

TEST_F(EntryFetch, SlotsThatCannotServeAFetch) {
    ASSERT_EQ(0, ListAndFetch("entry name=a.txt|data=abc"));
    const int imageSlot = 1;
    ASSERT_EQ(0, table_->Slot(imageSlot).isArchive);
    const int badIndexes[] = {imageSlot, 2, -1, MaxPlugins, 100000};
    ListedArchive elsewhere;
    elsewhere.host = table_.get();
    elsewhere.path = listed_.path;
    for (int index : badIndexes) {
        elsewhere.slot = index;
        EXPECT_EQ(PluginNotBound, table_->FetchEntry(elsewhere, listed_.entries[0], &fetched_)) << index;
        EXPECT_EQ(nullptr, fetched_.Bytes());
    }
    CPluginTable otherTable;
    EXPECT_EQ(PluginNotBound, otherTable.FetchEntry(listed_, listed_.entries[0], &fetched_))
        << "an archive another table listed";
    table_->Unload(0);
    EXPECT_EQ(PluginNotBound, table_->FetchEntry(listed_, listed_.entries[0], &fetched_));
}

TEST_F(EntryFetch, EveryEntryOfAListingCanBeFetchedAfterAnotherPluginListedAnotherFile) {
    // A second plug-in that takes every file, found after the first one.
    fixture::FixtureProbe other(folder_.Add(PluginFile("other"), "fixture", "accept always\n"));
    table_ = LoadTable(folder_.Path());
    std::string archive = folder_.Archive("two.arc",
                                          "entry name=first.txt|data=one\n"
                                          "entry method=Deflate|name=second.txt|data=two|incomplete\n");
    ASSERT_EQ(0, ListInto(*table_, archive, &listed_).slot);
    ListedArchive another;
    ListInto(*table_, folder_.File("plain.txt", "not a script"), &another);
    ASSERT_EQ(1, other.Calls("IsSupported")) << "the second plug-in was not asked, so not bound";

    probe_->Reset();
    ASSERT_EQ(0, Fetch(listed_, listed_.entries[1]));
    EXPECT_EQ("two", Fetched());
    ASSERT_EQ(0, Fetch(listed_, listed_.entries[0]));
    EXPECT_EQ("one", Fetched());
    EXPECT_EQ(2, probe_->Calls("GetFile"));
    EXPECT_EQ(0, probe_->Calls("GetPluginInfo")) << "the plug-in was asked about itself again";
}

// Every slot calls its own library: listings and fetches of two plug-ins interleave, each
// reaches the plug-in that listed its archive, and neither is asked about itself again.
TEST_F(EntryFetch, TwoPluginsCalledAlternatelyEachServeTheirOwnArchive) {
    std::string otherPath = folder_.Add(PluginFile("other"), "fixture", "accept never\n");
    fixture::FixtureProbe other(otherPath);
    table_ = LoadTable(folder_.Path());
    std::string first = folder_.Archive("first.arc", "entry name=a1.txt|data=first one\nentry name=a2.txt|data=first two\n");
    std::string second = folder_.Archive("second.arc", "entry name=b1.txt|data=second one\nentry name=b2.txt|data=second two\n");
    ListedArchive firstEntries, secondEntries;
    ASSERT_EQ(0, ListInto(*table_, first, &firstEntries).slot);
    // The settings files are read on every call: now only the other plug-in takes a script.
    std::string arcPath = testsupport::Narrow(table_->Slot(0).fullPath);
    ASSERT_TRUE(testsupport::WriteBytes(arcPath + ".cfg", "accept never\n"));
    ASSERT_TRUE(testsupport::WriteBytes(otherPath + ".cfg", "accept header\n"));
    ASSERT_EQ(1, ListInto(*table_, second, &secondEntries).slot);
    ASSERT_EQ(2u, firstEntries.entries.size());
    ASSERT_EQ(2u, secondEntries.entries.size());

    probe_->Reset();
    other.Reset();
    const char* const expected[] = {"first one", "second one", "first two", "second two"};
    for (int i = 0; i < 4; ++i) {
        const ListedArchive& archive = i % 2 == 0 ? firstEntries : secondEntries;
        ASSERT_EQ(0, Fetch(archive, archive.entries[i / 2])) << i;
        EXPECT_EQ(expected[i], Fetched()) << i;
    }
    for (const fixture::FixtureProbe* plugin : {probe_.get(), &other}) {
        EXPECT_EQ(2, plugin->Calls("GetFile"));
        EXPECT_EQ(0, plugin->Calls("GetPluginInfo")) << "entry points looked up again";
        EXPECT_EQ(0, plugin->Calls("IsSupported"));
    }
}

#if defined(_WIN64)
// The 64-bit record's position goes back to GetFile whole: cut to 32 bits, it would name
// another entry (here none).
TEST_F(EntryFetch, PositionsBeyond4GBReachThePluginWhole) {
    ASSERT_EQ(0, ListAndFetch("entry name=far.txt|position=0x100000064|data=far"));
    EXPECT_EQ(0x100000064u, listed_.entries[0].position);
    EXPECT_EQ("far", Fetched());
}
#endif

}  // namespace
