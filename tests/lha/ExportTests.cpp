// The plug-in's exports as any Susie host calls them: information texts, the header check,
// output to a file, the progress callback.
#include <gtest/gtest.h>
#include <vector>
#include "tests/lha/LhaPluginLoader.h"
#include "tests/support/TestSupport.h"

using namespace lhatest;
using testsupport::TempDir;

namespace {

std::string PluginText(LhaPlugin& plugin, int infono, int length = 200) {
    std::vector<char> buffer(256, 0);
    plugin.getPluginInfo(infono, buffer.data(), length);
    return buffer.data();
}

// The header buffer a host hands to IsSupported: the first 2000 bytes, zero-filled to 2048.
std::vector<char> HeaderBuffer(const std::string& bytes) {
    std::vector<char> buffer(SpiHeaderBufferSize, 0);
    memcpy(buffer.data(), bytes.data(), std::min(bytes.size(), SpiHeaderBytes));
    return buffer;
}

const ArchiveEntry* FindEntry(const std::vector<ArchiveEntry>& entries, const std::string& name) {
    for (const ArchiveEntry& entry : entries) {
        if (JoinedName(entry) == name) return &entry;
    }
    return nullptr;
}

struct ProgressLog {
    std::vector<std::pair<int, int>> calls;
    int stopAfter = -1;   // answer "stop" from this call on
};

int WINAPI RecordProgress(int done, int total, LONG_PTR data) {
    auto* log = reinterpret_cast<ProgressLog*>(data);
    log->calls.emplace_back(done, total);
    return log->stopAfter >= 0 && static_cast<int>(log->calls.size()) > log->stopAfter ? 1 : 0;
}

class Exports : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(plugin.Loaded()) << PluginPath(); }
    std::vector<ArchiveEntry> List(const std::string& archive) {
        int result = -99;
        std::vector<ArchiveEntry> entries = plugin.List(archive, &result);
        EXPECT_EQ(result, 0);
        return entries;
    }
    LhaPlugin plugin;
};

TEST_F(Exports, PluginInfoGivesVersionInformationAndPattern) {
    EXPECT_EQ(PluginText(plugin, 0), "00AM");
    EXPECT_NE(PluginText(plugin, 1).find("LHA"), std::string::npos);
    EXPECT_EQ(PluginText(plugin, 2), "*.lzh");
    EXPECT_EQ(PluginText(plugin, 7), "");
    // A short buffer gets what fits, terminated.
    EXPECT_EQ(PluginText(plugin, 2, 4), "*.l");
}

TEST_F(Exports, IsSupportedReadsTheMethodIdOfEveryHeaderLevel) {
    for (const std::string& name : ArchiveNames()) {
        std::string path = DataFolder() + name + ".lzh";
        std::vector<char> header = HeaderBuffer(testsupport::ReadBytes(path));
        EXPECT_NE(plugin.isSupported(path.c_str(), reinterpret_cast<ULONG_PTR>(header.data())), 0) << name;
    }
    std::vector<char> zip = HeaderBuffer(std::string("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10) + std::string(40, 'x'));
    EXPECT_EQ(plugin.isSupported("a.zip", reinterpret_cast<ULONG_PTR>(zip.data())), 0);
    std::vector<char> empty = HeaderBuffer("");
    EXPECT_EQ(plugin.isSupported("empty.lzh", reinterpret_cast<ULONG_PTR>(empty.data())), 0);
    // The method id alone is not enough: the header level must be one this plug-in reads,
    // and a level 3 header begins with its size width 4.
    for (char level : {'\3', '\4'}) {
        std::string other = testsupport::ReadBytes(DataFolder() + "l2-lh5.lzh");
        other[20] = level;
        std::vector<char> header = HeaderBuffer(other);
        EXPECT_EQ(plugin.isSupported("other.lzh", reinterpret_cast<ULONG_PTR>(header.data())), 0);
    }
}

// A file that begins with a zero byte (a disk image, a one-byte file) and a ZIP are no LHA
// archives to IsSupported, and so to every other export: a host that lists or fetches without
// asking IsSupported first gets "not supported" (2) too.
TEST_F(Exports, ExportsRefuseWhatIsSupportedRefuses) {
    TempDir folder;
    const std::string zip = std::string("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10) + std::string(40, 'x');
    for (const std::string& bytes : {std::string(1, '\0'), std::string(64 * 1024, '\0'), zip}) {
        std::string path = folder / ("file-" + std::to_string(bytes.size()) + ".bin");
        ASSERT_TRUE(testsupport::WriteBytes(path, bytes));
        SCOPED_TRACE(path);
        std::vector<char> header = HeaderBuffer(bytes);
        EXPECT_EQ(plugin.isSupported(path.c_str(), reinterpret_cast<ULONG_PTR>(header.data())), 0);
        int result = -99;
        EXPECT_TRUE(plugin.List(path, &result).empty());
        EXPECT_EQ(result, 2);
        ArchiveEntry entry;
        EXPECT_EQ(plugin.getFileInfo(path.c_str(), 0, "f.txt", 0, &entry), 2);
        plugin.Fetch(path, 0, &result);
        EXPECT_EQ(result, 2);
    }
}

TEST_F(Exports, GetFileWritesAFileWithItsTimeIntoTheFolder) {
    const std::string archive = DataFolder() + "dbcs-l1.lzh";
    const std::string stored = "\x95\x5c\x8e\xa6\\\x83\x5c\x81\x5b\x83\x58.txt";   // 表示\ソース.txt
    std::map<std::string, Reference> reference = ReadReference("dbcs-l1");
    std::vector<ArchiveEntry> entries = List(archive);
    const ArchiveEntry* entry = FindEntry(entries, stored);
    ASSERT_NE(entry, nullptr);

    TempDir folder;
    for (std::string dest : {folder.path(), folder.path().substr(0, folder.path().size() - 1)}) {
        int result = plugin.getFile(archive.c_str(), entry->position, const_cast<char*>(dest.c_str()), 0, nullptr, 0);
        ASSERT_EQ(result, 0) << dest;
        const std::string written = folder / "\x83\x5c\x81\x5b\x83\x58.txt";
        EXPECT_EQ(NamesIn(folder.path()).size(), 1u);
        EXPECT_TRUE(testsupport::ReadBytes(written) == reference[stored].bytes);
        EXPECT_EQ(ModificationTimestamp(written), entry->timestamp);
        DeleteFileA(written.c_str());
    }
}

TEST_F(Exports, GetFileOfAnEmptyEntryGivesAnEmptyFileAndAUsableBlock) {
    const std::string archive = DataFolder() + "l2-lh5.lzh";
    std::vector<ArchiveEntry> entries = List(archive);
    const ArchiveEntry* entry = FindEntry(entries, "empty.bin");
    ASSERT_NE(entry, nullptr);
    int result = -99;
    plugin.Fetch(archive, entry->position, &result);
    EXPECT_EQ(result, 0);

    TempDir folder;
    ASSERT_EQ(plugin.getFile(archive.c_str(), entry->position, const_cast<char*>(folder.path().c_str()), 0, nullptr, 0), 0);
    EXPECT_TRUE(testsupport::FileExists(folder / "empty.bin"));
    EXPECT_EQ(testsupport::ReadBytes(folder / "empty.bin"), "");
}

TEST_F(Exports, ProgressRunsFromZeroToTheWholeSize) {
    const std::string archive = DataFolder() + "l2-lh7.lzh";
    std::vector<ArchiveEntry> entries = List(archive);
    const ArchiveEntry* big = FindEntry(entries, "big.txt");
    ASSERT_NE(big, nullptr);
    ProgressLog log;
    int result = -99;
    std::string bytes = plugin.Fetch(archive, big->position, &result, RecordProgress, reinterpret_cast<LONG_PTR>(&log));
    ASSERT_EQ(result, 0);
    ASSERT_GE(log.calls.size(), 3u);
    EXPECT_EQ(log.calls.front().first, 0);
    EXPECT_EQ(log.calls.back().first, static_cast<int>(big->unpackedSize));
    for (size_t i = 1; i < log.calls.size(); ++i) {
        EXPECT_GT(log.calls[i].first, log.calls[i - 1].first);
        EXPECT_EQ(log.calls[i].second, static_cast<int>(big->unpackedSize));
    }
}

TEST_F(Exports, ProgressAnsweringStopEndsTheUnpackingWithNothingLeft) {
    const std::string archive = DataFolder() + "l0-lh5.lzh";
    std::vector<ArchiveEntry> entries = List(archive);
    const ArchiveEntry* big = FindEntry(entries, "big.txt");
    ASSERT_NE(big, nullptr);

    ProgressLog log;
    log.stopAfter = 2;
    HLOCAL block = nullptr;
    int result = plugin.getFile(archive.c_str(), big->position, reinterpret_cast<LPSTR>(&block), SpiOutputToMemory,
                                RecordProgress, reinterpret_cast<LONG_PTR>(&log));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(log.calls.size(), 3u);

    TempDir folder;
    ProgressLog fileLog;
    fileLog.stopAfter = 1;
    result = plugin.getFile(archive.c_str(), big->position, const_cast<char*>(folder.path().c_str()), 0, RecordProgress,
                            reinterpret_cast<LONG_PTR>(&fileLog));
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(testsupport::FileExists(folder / "big.txt"));
}

TEST_F(Exports, FolderEntriesHaveNoContentToWrite) {
    const std::string archive = DataFolder() + "l2-lh6.lzh";
    std::vector<ArchiveEntry> entries = List(archive);
    const ArchiveEntry* folderEntry = FindEntry(entries, "dir\\sub\\");
    ASSERT_NE(folderEntry, nullptr);
    TempDir folder;
    EXPECT_EQ(plugin.getFile(archive.c_str(), folderEntry->position, const_cast<char*>(folder.path().c_str()), 0, nullptr, 0), 0);
    EXPECT_TRUE(NamesIn(folder.path()).empty());
}

TEST_F(Exports, InputFromMemoryIsNotOffered) {
    HLOCAL block = nullptr;
    std::string bytes = testsupport::ReadBytes(DataFolder() + "l2-lh5.lzh");
    EXPECT_EQ(plugin.getArchiveInfo(bytes.data(), static_cast<LONG_PTR>(bytes.size()), 1, &block), -1);
    EXPECT_EQ(block, nullptr);
}

}  // namespace
