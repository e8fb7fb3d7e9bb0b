// Fetching one entry into memory, and what the host does with every kind of block.
#include <gtest/gtest.h>
#include "tests/plugins/PluginTestFolder.h"

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
    void TearDown() override {
        FreeHeap(entries_);
        FreeHeap(buffer_);
    }

    // Lists a script of one entry and fetches it; the listing must succeed.
    int ListAndFetch(const std::string& entryLine) {
        archive_ = folder_.Archive("one.arc", entryLine + "\n");
        index_ = table_->ListArchive(archive_.c_str(), &entries_);
        EXPECT_EQ(0, index_);
        if (index_ < 0) return index_;
        return Fetch(entries_[0]);
    }
    int Fetch(const ArchiveEntry& entry) {
        FreeHeap(buffer_);
        buffer_ = nullptr;
        size_ = 12345;
        return table_->FetchEntry(index_, archive_.c_str(), &entry, &buffer_, &size_);
    }
    std::string Fetched() const { return buffer_ ? std::string(buffer_, size_) : std::string("(null)"); }

    PluginTestFolder folder_;
    std::unique_ptr<fixture::FixtureProbe> probe_;
    std::unique_ptr<CPluginTable> table_;
    std::string archive_;
    ArchiveEntry* entries_ = nullptr;
    int index_ = -1;
    char* buffer_ = nullptr;
    size_t size_ = 0;
};

TEST_F(EntryFetch, EntryBytesArriveInAHeapBufferOfTheBlocksSize) {
    ASSERT_EQ(0, ListAndFetch("entry name=hello.txt|data=hello\\nworld"));
    EXPECT_EQ("hello\nworld", Fetched());
    EXPECT_EQ(HeapSize(GetProcessHeap(), 0, buffer_), size_);
    EXPECT_EQ(0, probe_->LiveBlocks());
}

TEST_F(EntryFetch, LargeEntryArrivesWhole) {
    ASSERT_EQ(0, ListAndFetch("entry name=big.bin|data=@3000000"));
    ASSERT_EQ(3000000u, size_);
    bool same = true;
    for (size_t i = 0; i < size_ && same; ++i) same = static_cast<unsigned char>(buffer_[i]) == ((i * 31 + 7) & 0xFF);
    EXPECT_TRUE(same);
    EXPECT_EQ(0, probe_->LiveBlocks());
}

TEST_F(EntryFetch, LongerBlockThanTheEntryIsHandedOverWhole) {
    ASSERT_EQ(0, ListAndFetch("entry packed=2|unpacked=2|name=long.txt|data=abcdef"));
    EXPECT_EQ("abcdef", Fetched());
}

TEST_F(EntryFetch, EntryWithoutFileNameFetchesNothing) {
    ASSERT_EQ(0, ListAndFetch("entry method=Folder|path=dir\\\\"));
    EXPECT_EQ(nullptr, buffer_);
    EXPECT_EQ(0u, size_);
    EXPECT_EQ(0, probe_->Calls("GetFile"));
}

TEST_F(EntryFetch, FailuresOfANonEmptyEntry) {
    struct Case {
        const char* flags;
        int code;
    };
    const Case cases[] = {{"fetch-fail", -10},  {"fetch-errorblock", -10}, {"fetch-null", -10},
                          {"fetch-empty", -10}, {"fetch-unlockable", -13}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        FreeHeap(entries_);
        entries_ = nullptr;
        EXPECT_EQ(c.code, ListAndFetch(std::string("entry name=a.txt|data=abc|") + c.flags));
        EXPECT_EQ(nullptr, buffer_);
        EXPECT_EQ(0u, size_);
        EXPECT_EQ(0, probe_->LiveBlocks());
    }
}

TEST_F(EntryFetch, BlockShorterThanTheEntryFails) {
    EXPECT_EQ(-10, ListAndFetch("entry unpacked=10|name=short.txt|data=abc"));
    EXPECT_EQ(nullptr, buffer_);
    EXPECT_EQ(0, probe_->LiveBlocks());
}

TEST_F(EntryFetch, EmptyEntryIsFetchedAsAnEmptyBufferHoweverThePluginHandsItOver) {
    const char* const flags[] = {"", "fetch-null", "fetch-empty", "fetch-unlockable"};
    for (const char* flag : flags) {
        SCOPED_TRACE(flag);
        FreeHeap(entries_);
        entries_ = nullptr;
        EXPECT_EQ(0, ListAndFetch(std::string("entry name=empty.txt|") + flag));
        EXPECT_NE(nullptr, buffer_);
        EXPECT_EQ(0u, size_);
        EXPECT_EQ(0, probe_->LiveBlocks());
    }
    FreeHeap(entries_);
    entries_ = nullptr;
    EXPECT_EQ(-10, ListAndFetch("entry name=empty.txt|fetch-fail"));
}

TEST_F(EntryFetch, SlotsThatCannotServeAFetch) {
    ASSERT_EQ(0, ListAndFetch("entry name=a.txt|data=abc"));
    FreeHeap(buffer_);
    buffer_ = nullptr;
    const int imageSlot = 1;
    ASSERT_EQ(0, table_->Slot(imageSlot).isArchive);
    const int badIndexes[] = {imageSlot, 2, -1, MaxPlugins, 100000};
    for (int index : badIndexes) {
        EXPECT_EQ(-11, table_->FetchEntry(index, archive_.c_str(), &entries_[0], &buffer_, &size_)) << index;
        EXPECT_EQ(nullptr, buffer_);
    }
    table_->Unload(0);
    EXPECT_EQ(-11, table_->FetchEntry(0, archive_.c_str(), &entries_[0], &buffer_, &size_));
}

TEST_F(EntryFetch, EveryEntryOfAListingCanBeFetchedAfterAnotherListing) {
    archive_ = folder_.Archive("two.arc",
                               "entry name=first.txt|data=one\n"
                               "entry method=Deflate|name=second.txt|data=two|incomplete\n");
    index_ = table_->ListArchive(archive_.c_str(), &entries_);
    ASSERT_EQ(0, index_);
    ArchiveEntry* other = nullptr;
    ASSERT_EQ(0, table_->ListArchive(folder_.Archive("other.arc", "").c_str(), &other));
    FreeHeap(other);

    ASSERT_EQ(0, Fetch(entries_[1]));
    EXPECT_EQ("two", Fetched());
    ASSERT_EQ(0, Fetch(entries_[0]));
    EXPECT_EQ("one", Fetched());
    EXPECT_EQ(0, probe_->LiveBlocks());
}

#if defined(_WIN64)
// The 64-bit record's position goes back to GetFile whole: cut to 32 bits, it would name
// another entry (here none).
TEST_F(EntryFetch, PositionsBeyond4GBReachThePluginWhole) {
    ASSERT_EQ(0, ListAndFetch("entry name=far.txt|position=0x100000064|data=far"));
    EXPECT_EQ(0x100000064u, entries_[0].position);
    EXPECT_EQ("far", Fetched());
}
#endif

}  // namespace
