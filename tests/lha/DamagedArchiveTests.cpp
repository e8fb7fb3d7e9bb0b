// Archives that lie: damaged data, bad checksums, sizes and lengths that point past a header
// or past the file, unknown methods and levels. Each fails with an error code, never a crash,
// and no memory block or half-written file is left behind.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include "tests/lha/LhaBytes.h"
#include "tests/lha/LhaPluginLoader.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WideFiles.h"

using namespace lhatest;
using testsupport::TempDir;

namespace {

constexpr int BrokenData = 3;
constexpr int UnknownFormat = 2;

class DamagedArchives : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(plugin.Loaded()) << PluginPath(); }

    std::string Write(const std::string& bytes) {
        std::string path = folder / ("a" + std::to_string(++count) + ".lzh");
        EXPECT_TRUE(testsupport::WriteBytes(path, bytes));
        return path;
    }
    int ListResult(const std::string& bytes, size_t* entries = nullptr) {
        int result = -99;
        std::vector<ArchiveEntry> list = plugin.List(Write(bytes), &result);
        if (entries) *entries = list.size();
        return result;
    }
    // GetFile of the member at `position`, to memory and to a file; both must give the same
    // result, and a failure must leave neither a block nor a file.
    int FetchResult(const std::string& path, uint32_t position) {
        HLOCAL block = nullptr;
        int memoryResult = plugin.getFile(path.c_str(), position, reinterpret_cast<LPSTR>(&block), SpiOutputToMemory, nullptr, 0);
        if (memoryResult != 0) {
            EXPECT_EQ(block, nullptr);
        }
        if (block) LocalFree(block);
        TempDir out;
        int fileResult = plugin.getFile(path.c_str(), position, const_cast<char*>(out.path().c_str()), 0, nullptr, 0);
        EXPECT_EQ(fileResult, memoryResult);
        if (fileResult != 0) {
            EXPECT_FALSE(testsupport::FileExists(out / "f.txt"));
        }
        return memoryResult;
    }

    LhaPlugin plugin;
    TempDir folder;
    int count = 0;
};

TEST_F(DamagedArchives, ASoundStoredMemberIsReadBack) {
    std::string path = Write(Stored0("f.txt", "stored content") + std::string(1, '\0'));
    int result = -99;
    std::vector<ArchiveEntry> entries = plugin.List(path, &result);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(plugin.Fetch(path, entries[0].position, &result), "stored content");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(FetchResult(path, 0), 0);
}

TEST_F(DamagedArchives, CrcMismatchIsAnErrorNotBadData) {
    std::string path = Write(Level0("-lh0-", "f.txt", "stored content", 14, Crc16("stored content") ^ 1));
    EXPECT_EQ(ListResult(testsupport::ReadBytes(path)), 0);   // listing does not unpack
    EXPECT_EQ(FetchResult(path, 0), BrokenData);
}

TEST_F(DamagedArchives, DamagedCompressedDataFails) {
    for (const std::string& name : {std::string("l0-lh5"), std::string("l2-lh7")}) {
        std::string bytes = testsupport::ReadBytes(DataFolder() + name + ".lzh");
        int result = -99;
        std::vector<ArchiveEntry> entries = plugin.List(DataFolder() + name + ".lzh", &result);
        const ArchiveEntry* big = nullptr;
        for (const ArchiveEntry& entry : entries) {
            if (JoinedName(entry) == "big.txt") big = &entry;
        }
        ASSERT_NE(big, nullptr);
        // Damage a byte in the middle of the packed data; the header stays sound.
        size_t middle = bytes.size() - 1;
        for (size_t at = big->position; at < bytes.size(); ++at) {
            if (bytes.compare(at, 5, MethodOf(*big)) == 0) {
                middle = at + 60 + big->packedSize / 2;
                break;
            }
        }
        bytes[middle] = static_cast<char>(bytes[middle] ^ 0x5A);
        std::string path = Write(bytes);
        EXPECT_EQ(ListResult(bytes), 0) << name;
        HLOCAL block = nullptr;
        EXPECT_EQ(plugin.getFile(path.c_str(), big->position, reinterpret_cast<LPSTR>(&block), SpiOutputToMemory, nullptr, 0),
                  BrokenData) << name;
        EXPECT_EQ(block, nullptr);
    }
}

TEST_F(DamagedArchives, TruncatedArchiveCannotBeListed) {
    std::string bytes = testsupport::ReadBytes(DataFolder() + "l1-lh5.lzh");
    for (size_t keep : {bytes.size() / 2, size_t{30}, size_t{10}}) {
        HLOCAL block = nullptr;
        std::string path = Write(bytes.substr(0, keep));
        EXPECT_EQ(plugin.getArchiveInfo(path.c_str(), 0, 0, &block), BrokenData) << keep;
        EXPECT_EQ(block, nullptr);
    }
}

TEST_F(DamagedArchives, HeaderFieldsThatPointPastTheirRoomAreRefused) {
    std::string sound = Stored0("f.txt", "content");
    // The name length runs past the header's own size.
    std::string longName = sound;
    longName[21] = 60;
    longName[1] = static_cast<char>(longName[1] + 60 - 5);   // keep the checksum right
    EXPECT_EQ(ListResult(longName), BrokenData);
    // A wrong header checksum.
    std::string badSum = sound;
    badSum[1] = static_cast<char>(badSum[1] + 1);
    EXPECT_EQ(ListResult(badSum), BrokenData);
    // A packed size past the end of the file.
    EXPECT_EQ(ListResult(Level0("-lh0-", "f.txt", "abc", 3, Crc16("abc")).substr(0, 30)), BrokenData);
    // A level 2 extended header larger than the header holding it.
    std::string ext = Level2("-lh0-", {Extension(1, "f.txt")}, "", 0, 0);
    ext[24] = 0x7F;
    EXPECT_EQ(ListResult(ext), BrokenData);
    // A level 2 header size smaller than its fixed part: not even the header IsSupported looks
    // for, so no LHA archive to any export.
    std::string small = Level2("-lh0-", {}, "", 0, 0);
    small[0] = 10;
    EXPECT_EQ(ListResult(small), UnknownFormat);
    // There is no header level 4.
    std::string level4 = Level2("-lh0-", {Extension(1, "f.txt")}, "", 0, 0);
    level4[20] = 4;
    EXPECT_EQ(ListResult(level4), UnknownFormat);
    // Level 3: a size width other than 4, a header size past the file (or far beyond what any
    // name needs), an extended header past the header.
    const std::string level3 = Level3({Extension(1, "f.txt")}, "abc", Crc16("abc"));
    size_t entries = 0;
    EXPECT_EQ(ListResult(level3 + '\0', &entries), 0);
    EXPECT_EQ(entries, 1u);
    std::string width = level3;
    width[0] = 2;
    EXPECT_EQ(ListResult(width), UnknownFormat);  // no level 3 header to IsSupported either
    for (uint32_t size : {0x7FFFFFF0u, 0x00200000u}) {
        std::string huge = level3 + std::string(0x200000, '\0');
        huge.replace(24, 4, Le32(size));
        EXPECT_EQ(ListResult(huge), BrokenData) << size;
    }
    std::string extension = level3;
    extension.replace(28, 4, Le32(0x10000));
    EXPECT_EQ(ListResult(extension), BrokenData);
}

TEST_F(DamagedArchives, Level1ExtendedHeadersMustStayInsideTheMember) {
    // Level 1: name in the base header, then an extended header chain counted in the size.
    auto level1 = [](uint16_t firstExtSize, const std::string& exts, uint32_t skip) {
        std::string body = "-lh0-" + Le32(skip) + Le32(0) + Le32(SomeDosTime) + std::string("\x20\x01", 2) +
                           std::string(1, 5) + "f.txt" + Le16(0) + "U" + Le16(firstExtSize);
        uint8_t sum = 0;
        for (unsigned char byte : body) sum = static_cast<uint8_t>(sum + byte);
        return static_cast<char>(body.size()) + std::string(1, static_cast<char>(sum)) + body + exts;
    };
    std::string folderExt = Extension(2, "sub\xff") + Le16(0);
    size_t entries = 0;
    EXPECT_EQ(ListResult(level1(static_cast<uint16_t>(folderExt.size()), folderExt, static_cast<uint32_t>(folderExt.size())) + '\0', &entries), 0);
    EXPECT_EQ(entries, 1u);
    // The chain claims more bytes than the member's size allows, or than the file holds.
    EXPECT_EQ(ListResult(level1(static_cast<uint16_t>(folderExt.size()), folderExt, 3)), BrokenData);
    EXPECT_EQ(ListResult(level1(0x4000, folderExt, 0x10000)), BrokenData);
    // An extended header too small to hold its own next-size field.
    EXPECT_EQ(ListResult(level1(2, folderExt, 100)), BrokenData);
}

TEST_F(DamagedArchives, PaddingAfterTheLastMemberEndsTheArchive) {
    const std::string members = Stored0("f.txt", "one") + Stored0("g.txt", "two");
    for (const std::string& padding : {std::string(100, '\x1a'), std::string(5, 'x'), std::string("PK\x03\x04 trailing data")}) {
        size_t entries = 0;
        EXPECT_EQ(ListResult(members + padding, &entries), 0);
        EXPECT_EQ(entries, 2u);
    }
    // A member that begins like a header but breaks off is damage, not padding.
    std::string cut = Stored0("h.txt", "three");
    size_t entries = 0;
    EXPECT_EQ(ListResult(members + cut.substr(0, cut.size() - 2), &entries), BrokenData);
    EXPECT_EQ(ListResult(std::string(100, '\x1a')), UnknownFormat);
}

TEST_F(DamagedArchives, UnknownMethodIsListedButNotUnpacked) {
    std::string path = Write(Level0("-lh1-", "f.txt", "xxxx", 10, 0) + Stored0("g.txt", "ok") + '\0');
    int result = -99;
    std::vector<ArchiveEntry> entries = plugin.List(path, &result);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(MethodOf(entries[0]), "-lh1-");
    EXPECT_EQ(FetchResult(path, entries[0].position), UnknownFormat);
    EXPECT_EQ(plugin.Fetch(path, entries[1].position, &result), "ok");
}

TEST_F(DamagedArchives, PositionsThatAreNoHeaderFail) {
    std::string path = Write(Stored0("f.txt", "content") + '\0');
    for (uint32_t position : {1u, 7u, 1000u, 0xFFFFFFF0u}) {
        HLOCAL block = nullptr;
        EXPECT_NE(plugin.getFile(path.c_str(), position, reinterpret_cast<LPSTR>(&block), SpiOutputToMemory, nullptr, 0), 0)
            << position;
        EXPECT_EQ(block, nullptr);
    }
}

TEST_F(DamagedArchives, GarbageCompressedStreamsFailCleanly) {
    uint64_t state = 12345;
    int failures = 0;
    for (int round = 0; round < 200; ++round) {
        std::string packed;
        for (int i = 0; i < 40 + round * 3; ++i) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            packed.push_back(static_cast<char>(state >> 56));
        }
        const char* method = round % 3 == 0 ? "-lh5-" : round % 3 == 1 ? "-lh6-" : "-lh7-";
        std::string path = Write(Level0(method, "f.txt", packed, 100000, 0x1234) + '\0');
        HLOCAL block = nullptr;
        if (plugin.getFile(path.c_str(), 0, reinterpret_cast<LPSTR>(&block), SpiOutputToMemory, nullptr, 0) != 0) ++failures;
        if (block) LocalFree(block);
        DeleteFileA(path.c_str());
    }
    EXPECT_EQ(failures, 200);
}

// A name too long for the record is never cut (a cut name would be another file's): the entry
// is left out of the lists of records, GetArchiveListW lists it in full, and the other entries
// list as ever.
TEST_F(DamagedArchives, NamesTooLongForTheRecordLeaveTheirEntryOutOfItsList) {
    std::string folderName;
    for (int i = 0; i < 30; ++i) folderName += "folder" + std::to_string(i) + "\xff";   // about 250 bytes
    std::string path = Write(Level2("-lh0-", {Extension(1, "f.txt"), Extension(2, folderName)}, "abc", 3, Crc16("abc")) +
                             Stored0("short.txt", "def") + '\0');
    int result = -99;
    std::vector<ArchiveEntry> entries = plugin.List(path, &result);
    EXPECT_EQ(result, 0);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(JoinedName(entries[0]), "short.txt");
    std::wstring longName;
    for (int i = 0; i < 30; ++i) longName += L"folder" + std::to_wstring(i) + L"\\";
    longName += L"f.txt";
    ArchiveEntry found = {};
    std::string ansiName(longName.begin(), longName.end());
    EXPECT_NE(plugin.getFileInfo(path.c_str(), 0, ansiName.c_str(), 0, &found), 0);

    std::wstring widePath = testsupport::WidePath(path);
    EXPECT_EQ(plugin.ListWide(widePath).entries.size(), 1u);
    SpiFullListing full = plugin.ListFull(widePath);
    ASSERT_TRUE(full.wellFormed);
    ASSERT_EQ(full.entries.size(), 2u);
    EXPECT_EQ(JoinedName(full.entries[0]), longName);
    EXPECT_EQ(plugin.FetchWide(widePath, static_cast<LONG_PTR>(full.entries[0].record.position)).bytes, "abc");
}

TEST_F(DamagedArchives, AnEntryThatFailsLeavesTheFileOfItsNameAsItWas) {
    std::string path = Write(Level0("-lh0-", "f.txt", "new content", 11, Crc16("new content") ^ 1) +
                             Stored0("g.txt", "fresh") + '\0');
    int result = -99;
    std::vector<ArchiveEntry> entries = plugin.List(path, &result);
    ASSERT_EQ(entries.size(), 2u);
    TempDir out;
    ASSERT_TRUE(testsupport::WriteBytes(out / "f.txt", "the user's own file"));
    ASSERT_TRUE(testsupport::WriteBytes(out / "g.txt", "an older g"));
    char* folder = const_cast<char*>(out.path().c_str());
    EXPECT_EQ(plugin.getFile(path.c_str(), entries[0].position, folder, 0, nullptr, 0), BrokenData);
    EXPECT_EQ(testsupport::ReadBytes(out / "f.txt"), "the user's own file");
    // A whole entry still takes the place of the file, and no work file stays behind.
    EXPECT_EQ(plugin.getFile(path.c_str(), entries[1].position, folder, 0, nullptr, 0), 0);
    EXPECT_EQ(testsupport::ReadBytes(out / "g.txt"), "fresh");
    std::vector<std::string> names = NamesIn(out.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"f.txt", "g.txt"}));
}

// ".." cleans away to nothing, as in every plug-in's names: it is not listed, and fetched by
// its position it writes nothing. A name with a colon (a drive, a stream) is not written.
TEST_F(DamagedArchives, OutputToAFileNeverLeavesTheFolder) {
    std::string path = Write(Stored0("..", "x") + Stored0("a:b", "y") + '\0');
    int result = -99;
    std::vector<ArchiveEntry> entries = plugin.List(path, &result);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_STREQ(entries[0].fileName, "a:b");
    TempDir outer;
    std::string inner = outer / "inner\\";
    CreateDirectoryA(inner.c_str(), nullptr);
    plugin.getFile(path.c_str(), 0, const_cast<char*>(inner.c_str()), 0, nullptr, 0);
    EXPECT_NE(plugin.getFile(path.c_str(), entries[0].position, const_cast<char*>(inner.c_str()), 0, nullptr, 0), 0);
    EXPECT_EQ(NamesIn(outer.path()), std::vector<std::string>{"inner"});
    EXPECT_TRUE(NamesIn(inner).empty());
}

}  // namespace
