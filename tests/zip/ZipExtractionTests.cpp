// Every entry the plug-in unpacks is compared with what unzip made of the same archive: the
// same names, the same bytes, the same times.
#include <gtest/gtest.h>
#include <zlib.h>
#include <map>
#include <vector>
#include "tests/support/TestSupport.h"
#include "tests/zip/UnzippedTree.h"
#include "tests/zip/ZipPluginLoader.h"

using testsupport::FileExists;
using testsupport::ModificationTimestamp;
using testsupport::ReadBytes;
using testsupport::TempDir;

namespace {

uint32_t Crc32(const std::string& bytes) {
    return static_cast<uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

void ExpectSameAsUnzip(const std::string& archive, const std::string& unzipped) {
    SCOPED_TRACE(archive);
    std::map<std::string, UnzippedItem> expected = UnzippedTree(unzipped);
    ASSERT_GE(expected.size(), 10u) << "unzip's copy is missing";

    Listing listing = ListArchive(Fixtures() + archive);
    ASSERT_EQ(listing.result, 0);
    ASSERT_EQ(listing.entries.size(), expected.size());
    for (const ArchiveEntry& entry : listing.entries) {
        std::string name = JoinedName(entry);
        SCOPED_TRACE(name);
        auto item = expected.find(name);
        ASSERT_NE(item, expected.end()) << "unzip made no such file";
        EXPECT_EQ(entry.timestamp, item->second.modified);
        EXPECT_EQ(entry.fileName[0] == '\0', item->second.isFolder);
        if (item->second.isFolder) continue;

        std::string unzippedBytes = ReadBytes(item->second.fullPath);
        Fetched fetched = FetchEntry(Fixtures() + archive, entry.position);
        EXPECT_EQ(fetched.result, 0);
        ASSERT_TRUE(fetched.handed);
        EXPECT_EQ(fetched.bytes.size(), entry.unpackedSize);
        EXPECT_TRUE(fetched.bytes == unzippedBytes) << "the bytes differ from unzip's";
        EXPECT_EQ(entry.crc, Crc32(unzippedBytes));
    }
}

// Records the progress calls of one GetFile; stops it at call `stopAt` (0: never).
struct ProgressLog {
    std::vector<std::pair<int, int>> calls;
    size_t stopAt = 0;
};

int WINAPI RecordProgress(int done, int total, LONG_PTR data) {
    auto* log = reinterpret_cast<ProgressLog*>(data);
    log->calls.emplace_back(done, total);
    return log->stopAt != 0 && log->calls.size() >= log->stopAt ? 1 : 0;
}

const ArchiveEntry* Entry(const Listing& listing, const char* name) {
    const ArchiveEntry* entry = FindEntry(listing, name);
    EXPECT_NE(entry, nullptr) << name;
    return entry;
}

}  // namespace

TEST(ZipExtraction, DeflatedEntriesMatchUnzip) { ExpectSameAsUnzip("tree.zip", "tree"); }

TEST(ZipExtraction, StoredEntriesMatchUnzip) { ExpectSameAsUnzip("stored.zip", "tree"); }

TEST(ZipExtraction, EntriesWithDataDescriptorsMatchUnzip) {
    ExpectSameAsUnzip("descriptor.zip", "tree");
    ExpectSameAsUnzip("streamed.zip", "tree");
}

// A self-extractor's stub in front: offsets counted from the archive (prefixed.zip) or from
// the file (adjusted.exe, as zip -A leaves them).
TEST(ZipExtraction, ArchivesBehindForeignBytesMatchUnzip) {
    ExpectSameAsUnzip("prefixed.zip", "tree");
    ExpectSameAsUnzip("adjusted.exe", "tree");
}

TEST(ZipExtraction, DosTimesAreLocalTimesLikeUnzipReadsThem) { ExpectSameAsUnzip("dostime.zip", "dostime"); }

TEST(ZipExtraction, ArchiveWithZip64EndRecordsIsRead) {
    std::string archive = Fixtures() + "stdin.zip";
    ASSERT_NE(ReadBytes(archive).find("PK\x06\x06"), std::string::npos) << "zip wrote no ZIP64 end record";
    Listing listing = ListArchive(archive);
    ASSERT_EQ(listing.result, 0);
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(JoinedName(listing.entries[0]), "-");
    EXPECT_EQ(FetchEntry(archive, listing.entries[0].position).bytes, "read from a pipe\n");
}

TEST(ZipExtraction, EmptyFileGivesAnEmptyBlock) {
    Listing listing = ListArchive(Fixtures() + "tree.zip");
    const ArchiveEntry* empty = Entry(listing, "tree\\empty.txt");
    ASSERT_NE(empty, nullptr);
    Fetched fetched = FetchEntry(Fixtures() + "tree.zip", empty->position);
    EXPECT_EQ(fetched.result, 0);
    EXPECT_TRUE(fetched.handed);
    EXPECT_EQ(fetched.bytes, "");
}

TEST(ZipExtraction, WritesAnEntryUnderItsFileNameIntoAFolder) {
    TempDir folder;
    std::string archive = Fixtures() + "tree.zip";
    Listing listing = ListArchive(archive);
    const ArchiveEntry* note = Entry(listing, "tree\\docs\\nested\\deep\\note.txt");
    const ArchiveEntry* sjis = Entry(listing, "tree\\ソフト\\表ソ.txt");
    ASSERT_TRUE(note && sjis);

    std::string dest = folder.path();
    ASSERT_EQ(Plugin().getFile(archive.c_str(), note->position, &dest[0], 0, nullptr, 0), 0);
    EXPECT_EQ(ReadBytes(folder / "note.txt"), ReadBytes(Fixtures() + "expected\\tree\\" + JoinedName(*note)));
    EXPECT_EQ(ModificationTimestamp(folder / "note.txt"), note->timestamp);

    std::string withoutSeparator = folder.path().substr(0, folder.path().size() - 1);
    ASSERT_EQ(Plugin().getFile(archive.c_str(), sjis->position, &withoutSeparator[0], 0, nullptr, 0), 0);
    EXPECT_EQ(ReadBytes(folder / "表ソ.txt"), ReadBytes(Fixtures() + "expected\\tree\\" + JoinedName(*sjis)));

    // A folder whose name ends in a double-byte character with 0x5C as its second byte.
    std::string sjisFolder = folder / "ソ";
    ASSERT_TRUE(CreateDirectoryA(sjisFolder.c_str(), nullptr));
    ASSERT_EQ(Plugin().getFile(archive.c_str(), note->position, &sjisFolder[0], 0, nullptr, 0), 0);
    EXPECT_TRUE(FileExists(sjisFolder + "\\note.txt"));
}

TEST(ZipExtraction, FolderEntryWritesNothing) {
    TempDir folder;
    std::string archive = Fixtures() + "tree.zip";
    Listing listing = ListArchive(archive);
    const ArchiveEntry* docs = Entry(listing, "tree\\docs\\");
    ASSERT_NE(docs, nullptr);
    std::string dest = folder.path();
    EXPECT_EQ(Plugin().getFile(archive.c_str(), docs->position, &dest[0], 0, nullptr, 0), 0);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder / "*.*").c_str(), &found);
    int names = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do ++names;
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(names, 2) << "only . and ..";
}

TEST(ZipExtraction, ReportsProgressUpToTheWholeSize) {
    std::string archive = Fixtures() + "tree.zip";
    Listing listing = ListArchive(archive);
    const ArchiveEntry* big = Entry(listing, "tree\\big.bin");
    ASSERT_NE(big, nullptr);
    ProgressLog log;
    Fetched fetched = FetchEntry(archive, big->position, RecordProgress, reinterpret_cast<LONG_PTR>(&log));
    ASSERT_EQ(fetched.result, 0);
    EXPECT_EQ(fetched.bytes.size(), big->unpackedSize);
    ASSERT_GE(log.calls.size(), 5u) << "a large entry reports more than once";
    int previous = -1;
    for (auto& call : log.calls) {
        EXPECT_EQ(call.second, static_cast<int>(big->unpackedSize));
        EXPECT_GE(call.first, previous);
        previous = call.first;
    }
    EXPECT_EQ(log.calls.back().first, static_cast<int>(big->unpackedSize));
}

TEST(ZipExtraction, StopsWhenTheCallbackAsks) {
    std::string archive = Fixtures() + "stored.zip";
    Listing listing = ListArchive(archive);
    const ArchiveEntry* big = Entry(listing, "tree\\big.bin");
    ASSERT_NE(big, nullptr);
    for (size_t stopAt : {1u, 3u}) {
        SCOPED_TRACE(stopAt);
        ProgressLog log;
        log.stopAt = stopAt;
        Fetched fetched = FetchEntry(archive, big->position, RecordProgress, reinterpret_cast<LONG_PTR>(&log));
        EXPECT_EQ(fetched.result, 1);
        EXPECT_FALSE(fetched.handed);
        EXPECT_EQ(log.calls.size(), stopAt);

        TempDir folder;
        ProgressLog fileLog;
        fileLog.stopAt = stopAt;
        std::string dest = folder.path();
        EXPECT_EQ(Plugin().getFile(archive.c_str(), big->position, &dest[0], 0, RecordProgress,
                                   reinterpret_cast<LONG_PTR>(&fileLog)),
                  1);
        EXPECT_FALSE(FileExists(folder / "big.bin")) << "a stopped file is removed again";
    }
}

// Entries of 4 GiB and 1000 bytes, deflated and in Zstandard, whose 32-bit sizes say 1000, with
// no ZIP64 field: written to a file by their streams past the stated size, as bsdtar reads them
// (stopped there, to spare the disk). A memory block would hold more than its record says, so
// it is refused.
TEST(ZipExtraction, SizesCutTo32BitsAreReadToTheEndOfTheStream) {
    std::string archive = Fixtures() + "cut-sizes.zip";
    Listing listing = ListArchive(archive);
    ASSERT_EQ(listing.result, 0);
    const ArchiveEntry* after = Entry(listing, "after.txt");
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(FetchEntry(archive, after->position).bytes, "after the large entry\n");
    for (const char* name : {"zeros.bin", "zeros-zstd.bin"}) {
        SCOPED_TRACE(name);
        const ArchiveEntry* zeros = Entry(listing, name);
        ASSERT_NE(zeros, nullptr);
        EXPECT_EQ(zeros->unpackedSize, 1000u);
        Fetched fetched = FetchEntry(archive, zeros->position);
        EXPECT_EQ(fetched.result, 2);
        EXPECT_FALSE(fetched.handed);

        TempDir folder;
        ProgressLog log;
        log.stopAt = 3;
        std::string dest = folder.path();
        EXPECT_EQ(Plugin().getFile(archive.c_str(), zeros->position, &dest[0], 0, RecordProgress,
                                   reinterpret_cast<LONG_PTR>(&log)),
                  1);
        ASSERT_EQ(log.calls.size(), 3u);
        EXPECT_EQ(log.calls[1], std::make_pair(1000, 1000));
        // Past the stated size the total grows by 4 GiB (scaled down to fit an int).
        EXPECT_GT(log.calls[2].second, 1 << 29);
        EXPECT_FALSE(FileExists(folder / name)) << "a stopped file is removed again";
    }
}

// A stored entry of 4 GiB and 100 bytes, the archive's last, whose sizes (and the directory's
// offset) its writer cut to 32 bits: the directory lies 4 GiB further than the stated data
// ends, which gives the real size. Listed with it and written whole to a file, its CRC checked.
// The 32-bit record cannot hold the size, so that build lists no such archive.
TEST(ZipExtraction, StoredSizesCutTo32BitsAreFoundFromWhatFollows) {
    std::string archive = Fixtures() + "cut-stored.zip";
#if defined(_WIN64)
    constexpr uint64_t Size = (uint64_t{4} << 30) + 100;
    Listing listing = ListArchive(archive);
    ASSERT_EQ(listing.result, 0);
    const ArchiveEntry* before = Entry(listing, "before.txt");
    const ArchiveEntry* big = Entry(listing, "big.bin");
    ASSERT_TRUE(before && big);
    EXPECT_EQ(FetchEntry(archive, before->position).bytes, "before the large entry\n");
    EXPECT_EQ(big->unpackedSize, Size);
    EXPECT_EQ(big->packedSize, Size);

    TempDir folder;
    std::string dest = folder.path();
    ASSERT_EQ(Plugin().getFile(archive.c_str(), big->position, &dest[0], 0, nullptr, 0), 0);
    std::string written = folder / "big.bin";
    HANDLE file = CreateFileA(written.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER length = {};
    EXPECT_TRUE(GetFileSizeEx(file, &length));
    EXPECT_EQ(static_cast<uint64_t>(length.QuadPart), Size);
    // The marker bytes make_fixtures.py put at the start, across the 4 GiB line and at the end.
    for (const auto& marker : std::vector<std::pair<uint64_t, std::string>>{
             {0, "big.bin starts here"}, {(uint64_t{4} << 30) - 8, "across the 4 GiB line"},
             {Size - 16, "big.bin ends.\r\n!"}}) {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(marker.first);
        std::string bytes(marker.second.size(), '\0');
        DWORD read = 0;
        EXPECT_TRUE(SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
                    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr));
        EXPECT_EQ(bytes, marker.second);
    }
    CloseHandle(file);
#else
    HLOCAL block = nullptr;
    EXPECT_NE(Plugin().getArchiveInfo(archive.c_str(), 0, 0, &block), 0);
    EXPECT_EQ(block, nullptr);
#endif
}
