// The host against a misbehaving plug-in, many times over in one process: every kind of
// list block and every kind of fetch answer the fixture can give, thousands of times. In the
// end every block the plug-in handed over is released, and the process holds no more
// handles and no more memory than after the first round.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <string>
#include <vector>
#include "tests/support/PluginTestFolder.h"

using testsupport::PluginFile;

namespace {

// Every way a fetch can go, on entries big enough that a lost buffer shows.
const char* const Entries =
    "entry name=whole.bin|data=@65536\n"
    "entry name=late.bin|data=@65536|incomplete\n"
    "entry name=fails.bin|data=@65536|fetch-fail\n"
    "entry name=nothing.bin|data=@65536|fetch-null\n"
    "entry name=empty-block.bin|data=@65536|fetch-empty\n"
    "entry name=error-block.bin|data=@65536|fetch-errorblock\n"
    "entry name=locked.bin|data=@65536|fetch-unlockable\n"
    "entry name=short.bin|data=@100|unpacked=65536\n"
    "entry path=\\{250}d\\\\|name=\\{250}n.bin|data=@10\n";

// Every kind of list block.
const char* const ListModes[] = {"normal", "null", "empty", "error", "fail", "noterminator", "partial", "unlockable"};

struct ProcessCounts {
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
};

ProcessCounts Counts() {
    ProcessCounts counts;
    GetProcessHandleCount(GetCurrentProcess(), &counts.handles);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    counts.privateBytes = memory.PagefileUsage;
    return counts;
}

class HostStress : public testing::Test {
protected:
    void SetUp() override {
        probe_ = std::make_unique<fixture::FixtureProbe>(folder_.Add(PluginFile("arc")));
        ASSERT_TRUE(probe_->Loaded());
        table_ = LoadTable(folder_.Path());
        for (const char* mode : ListModes)
            archives_.push_back(folder_.Archive(std::string(mode) + ".arc", std::string("list ") + mode + "\n" + Entries));
        // A record the plug-in cannot complete fails the whole listing.
        archives_.push_back(folder_.Archive("noinfo.arc", std::string(Entries) + "entry name=x.bin|incomplete|noinfo\n"));
    }

    // Lists every archive and fetches every entry of those that list; counts the outcomes.
    void Round() {
        for (const std::string& archive : archives_) {
            ListedArchive entries;
            int index = ListInto(*table_, archive, &entries).slot;
            if (index < 0) {
                ++failedLists_;
                continue;
            }
            for (const ListedEntry& entry : entries.entries) {
                PluginBlock fetched;
                if (table_->FetchEntry(entries, entry, &fetched) == 0)
                    ++fetched_;
                else
                    ++failedFetches_;
            }
        }
    }

    PluginTestFolder folder_;
    std::unique_ptr<fixture::FixtureProbe> probe_;
    std::unique_ptr<CPluginTable> table_;
    std::vector<std::string> archives_;
    int failedLists_ = 0, fetched_ = 0, failedFetches_ = 0;
};

TEST_F(HostStress, ThousandsOfFailingListsAndFetchesLeaveNothingBehind) {
    Round();  // the first round settles caches and the heap
    ProcessCounts before = Counts();
    failedLists_ = fetched_ = failedFetches_ = 0;

    const int rounds = 200;
    for (int round = 0; round < rounds; ++round) Round();

    ProcessCounts after = Counts();
    // Each round meets every outcome: some lists and fetches fail, others succeed.
    EXPECT_GT(failedLists_, rounds);
    EXPECT_GT(fetched_, rounds);
    EXPECT_GT(failedFetches_, rounds);
    EXPECT_GT(failedLists_ + fetched_ + failedFetches_, 5000);

    EXPECT_EQ(0, probe_->LiveBlocks()) << "blocks of the plug-in still alive";
    EXPECT_EQ(before.handles, after.handles);
    // One lost buffer per round would be 200 x 64 KB; a little growth of the heap is not a leak.
    EXPECT_LT(after.privateBytes, before.privateBytes + 2 * 1024 * 1024)
        << "private bytes grew from " << before.privateBytes << " to " << after.privateBytes;
}

}  // namespace
