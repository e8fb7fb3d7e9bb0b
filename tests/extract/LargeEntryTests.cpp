// Entries of LargeEntryBytes or more, written by their plug-in into a work folder beside the
// output and moved into place only when whole: what the plug-in was asked for, what is left
// when it fails or is stopped, and the file's time.
#include <gtest/gtest.h>
#include "extract/ExtractEntries.h"
#include "extract/ExtractionTexts.h"
#include "extract/PluginFileOutput.h"
#include "tests/extract/ExtractTestSupport.h"
#include "tests/fixture/FixtureControl.h"
#include "tests/support/TestSupport.h"

using namespace extracttest;
using testsupport::ReadBytes;
using testsupport::WriteBytes;
using Files = std::vector<std::string>;

namespace {
const std::string LargeSize = std::to_string(LargeEntryBytes + 12345);

class LargeEntries : public ::testing::Test {
protected:
    void SetUp() override {
        probe = std::make_unique<fixture::FixtureProbe>(FixturePluginFolder() + testsupport::PluginFile("fixture"));
        probe->Reset();
        ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    }
    ExtractionEnd Run(const std::vector<FixtureEntry>& entries) {
        WriteFixtureArchive(archive, entries);
        listed.reset(new FixtureListing(archive));
        ExtractionPlan plan;
        plan.archive = &listed->archive;
        plan.entries = listed->All();
        plan.destination = testsupport::Wide(destination);
        plan.firstMode = OverwriteAll;
        return ExtractEntries(plan, progress, asker, messages);
    }
    FixtureEntry Large(const std::string& name, const std::string& flags = "") {
        FixtureEntry entry("", name, "@" + LargeSize, 1500000000);
        entry.flags = flags;
        return entry;
    }
    // What the fixture's pattern gives for n bytes.
    static std::string Pattern(size_t n) {
        std::string bytes(n, '\0');
        for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 31 + 7) & 0xFF);
        return bytes;
    }
    std::string Out(const std::string& name) const { return destination + name; }
    // The old file of that name as it was, and nothing else beside the given files.
    void ExpectOnly(const Files& files) { EXPECT_EQ(ListTree(destination), files) << "no work folder or file left"; }

    testsupport::TempDir work;
    std::string archive = work / "a.fix";
    std::string destination = work / "out\\";
    std::unique_ptr<fixture::FixtureProbe> probe;
    std::unique_ptr<FixtureListing> listed;
    RecordingProgress progress;
    ScriptedAsker asker;
    RecordingMessages messages;
};
}  // namespace

TEST_F(LargeEntries, ALargeEntryIsWrittenByItsPluginAndASmallOneFetchedIntoMemory) {
    ASSERT_EQ(Run({Large("big.bin"), {"", "small.txt", "small"}}), ExtractionEnd::Normal);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(probe->Calls("ToFolder"), 1);
    EXPECT_EQ(probe->Calls("GetFile"), 2) << "one into a folder, one into memory";
    EXPECT_TRUE(ReadBytes(Out("big.bin")) == Pattern(LargeEntryBytes + 12345));
    EXPECT_EQ(ModificationTimestamp(Out("big.bin")), 1500000000);
    EXPECT_EQ(ReadBytes(Out("small.txt")), "small");
    ExpectOnly({"big.bin", "small.txt"});
    // The bar moved within the entry, to its end.
    ASSERT_FALSE(progress.shares.empty());
    EXPECT_EQ(progress.shares.back().first, progress.shares.back().second);
    EXPECT_GT(progress.shares.size(), 100u);
}

TEST_F(LargeEntries, APluginThatWritesNoFilesGivesTheEntryIntoMemory) {
    ASSERT_EQ(Run({Large("big.bin", "file-refused")}), ExtractionEnd::Normal);
    EXPECT_EQ(probe->Calls("ToFolder"), 1);
    EXPECT_EQ(probe->Calls("GetFile"), 2);
    EXPECT_TRUE(ReadBytes(Out("big.bin")) == Pattern(LargeEntryBytes + 12345));
    ExpectOnly({"big.bin"});
}

// A failed check, a file cut short and an abort in the middle of the entry leave nothing of
// it, and the older file of that name as it was.
TEST_F(LargeEntries, AFailureOrAnAbortInsideTheEntryLeavesNothingAndTheOlderFileAsItWas) {
    struct Case {
        const char* flags;
        int abortAtShare;
        ExtractionEnd end;
        bool message;
    };
    for (const Case& c : {Case{"file-fail", -1, ExtractionEnd::Failure, true},
                          Case{"file-short", -1, ExtractionEnd::Failure, true},
                          Case{"", 0, ExtractionEnd::Normal, false}}) {
        SCOPED_TRACE(c.flags);
        messages = RecordingMessages();
        progress = RecordingProgress();
        progress.abortAtShare = c.abortAtShare;
        ASSERT_TRUE(WriteBytes(Out("big.bin"), "older"));
        ASSERT_TRUE(SetModificationTimestamp(Out("big.bin"), 1000000000));
        EXPECT_EQ(Run({Large("big.bin", c.flags), {"", "after.txt", "after"}}), c.end);
        EXPECT_EQ(messages.codes, c.message ? std::vector<int>({EntryNotUnpacked}) : std::vector<int>());
        EXPECT_TRUE(ReadBytes(Out("big.bin")) == "older");
        EXPECT_EQ(ModificationTimestamp(Out("big.bin")), 1000000000);
        ExpectOnly({"big.bin"});
        // The first report of a large entry looks for the abort.
        if (c.abortAtShare >= 0) {
            EXPECT_EQ(progress.shares.size(), 1u) << "the plug-in went on after the abort";
        }
    }
}

TEST_F(LargeEntries, ANewFileThatFailsIsNotLeftAndAReadOnlyOneIsNotUnpackedFor) {
    EXPECT_EQ(Run({Large("big.bin", "file-fail")}), ExtractionEnd::Failure);
    ExpectOnly({});
    ASSERT_TRUE(WriteBytes(Out("big.bin"), "kept"));
    ASSERT_TRUE(SetFileAttributesA(Out("big.bin").c_str(), FILE_ATTRIBUTE_READONLY));
    probe->Reset();
    EXPECT_EQ(Run({Large("big.bin")}), ExtractionEnd::Failure);
    EXPECT_EQ(messages.texts, Files({WriteFailedText}));
    EXPECT_EQ(probe->Calls("ToFolder"), 0) << "unpacked for a file that cannot be replaced";
    SetFileAttributesA(Out("big.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(Out("big.bin")), "kept");
}
