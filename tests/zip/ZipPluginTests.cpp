// The plug-in's identity, its archive check and its listing, called through the exports.
#include <gtest/gtest.h>
#include <atomic>
#include <cstring>
#include <set>
#include <sstream>
#include <thread>
#include <vector>
#include "tests/support/TestSupport.h"
#include "tests/zip/ZipPluginLoader.h"

using testsupport::ReadBytes;

namespace {

constexpr int32_t BaseTime = 1615000000;  // the times make_fixtures.py gave the packed files

std::string Info(int number, int length = 200) {
    std::string buffer = std::string(length, '\0') + std::string(8, '\x7F');  // zero-filled, as hosts do
    Plugin().getPluginInfo(number, &buffer[0], length);
    EXPECT_EQ(buffer.substr(length), std::string(8, '\x7F')) << "wrote past the buffer";
    return buffer.substr(0, buffer.find('\0'));
}

int IsSupportedByHeader(const std::string& fileName, const std::string& firstBytes) {
    char header[SpiHeaderBufferSize] = {};
    memcpy(header, firstBytes.data(), std::min(firstBytes.size(), SpiHeaderBytes));
    return Plugin().isSupported(fileName.c_str(), reinterpret_cast<ULONG_PTR>(header));
}

std::set<std::string> JoinedNames(const Listing& listing) {
    std::set<std::string> names;
    for (const ArchiveEntry& entry : listing.entries) names.insert(JoinedName(entry));
    return names;
}

std::string Method(const ArchiveEntry& entry) {
    return std::string(reinterpret_cast<const char*>(entry.method), strnlen(reinterpret_cast<const char*>(entry.method), 8));
}

const std::set<std::string> TreeNames = {
    "tree\\", "tree\\readme.txt", "tree\\empty.txt", "tree\\odd-second.txt", "tree\\big.bin",
    "tree\\emptyfolder\\", "tree\\docs\\", "tree\\docs\\nested\\", "tree\\docs\\nested\\deep\\",
    "tree\\docs\\nested\\deep\\note.txt", "tree\\ソフト\\", "tree\\ソフト\\表ソ.txt"};

}  // namespace

TEST(ZipPlugin, LoadsWithAllArchiveExports) {
    ASSERT_NE(Plugin().module, nullptr) << PluginPath();
    EXPECT_NE(Plugin().getPluginInfo, nullptr);
    EXPECT_NE(Plugin().isSupported, nullptr);
    EXPECT_NE(Plugin().getArchiveInfo, nullptr);
    EXPECT_NE(Plugin().getFileInfo, nullptr);
    EXPECT_NE(Plugin().getFile, nullptr);
}

TEST(ZipPlugin, DescribesItselfAsAnArchivePlugin) {
    ASSERT_NE(Plugin().getPluginInfo, nullptr);
    EXPECT_EQ(Info(0), "00AM");
    EXPECT_NE(Info(1).find("ZIP"), std::string::npos);
    EXPECT_EQ(Info(2), "*.zip");
    EXPECT_FALSE(Info(3).empty());
    EXPECT_EQ(Info(4), "");
    // Texts are cut to the buffer, terminator included.
    EXPECT_EQ(Info(2, 4), "*.z");
    EXPECT_EQ(Plugin().getPluginInfo(0, nullptr, 80), 0);
}

TEST(ZipPlugin, TakesArchivesByTheirFirstBytesOrByTheirEnd) {
    ASSERT_NE(Plugin().isSupported, nullptr);
    std::string zip = ReadBytes(Fixtures() + "tree.zip");
    ASSERT_GT(zip.size(), 2000u);
    EXPECT_NE(IsSupportedByHeader(Fixtures() + "tree.zip", zip), 0);
    EXPECT_NE(IsSupportedByHeader(Fixtures() + "empty.zip", ReadBytes(Fixtures() + "empty.zip")), 0);
    EXPECT_NE(IsSupportedByHeader("Z:\\no\\such\\file.zip", zip), 0);
    EXPECT_EQ(IsSupportedByHeader("Z:\\no\\such\\file.zip", "Rar!\x1a\x07"), 0);
    // Bytes in front of the archive (a self-extractor): the end of the named file decides,
    // whether the offsets count from the start of the archive or of the file.
    for (const char* name : {"prefixed.zip", "adjusted.exe"}) {
        std::string path = Fixtures() + name;
        EXPECT_NE(IsSupportedByHeader(path, ReadBytes(path)), 0) << name;
    }
    // Files that are no archive: text, programs, an empty archive's end record or an end
    // record without its directory behind other bytes.
    testsupport::TempDir folder;
    std::string stub = "MZ" + std::string(3000, '\0');
    ASSERT_TRUE(testsupport::WriteBytes(folder / "empty.exe", stub + ReadBytes(Fixtures() + "empty.zip")));
    ASSERT_TRUE(testsupport::WriteBytes(folder / "end.exe", stub + zip.substr(zip.size() - 22)));
    for (std::string path : {Fixtures() + "comment.zip.txt", PluginPath(), testsupport::ExeFolder() + "zip_tests.exe",
                             folder / "empty.exe", folder / "end.exe"}) {
        EXPECT_EQ(IsSupportedByHeader(path, ReadBytes(path)), 0) << path;
    }
}

// Bytes in front of a ZIP whose offsets do not count them are taken (a self-extractor's stub, a
// script, padding), as unzip and bsdtar read such a file, unless they begin an archive that
// another plug-in reads: then the ZIP is that archive's member, and the next plug-in is asked.
TEST(ZipPlugin, AZipBehindOtherBytesIsTakenUnlessTheyAreAnotherArchive) {
    for (const char* name : {"zip-last.tar", "zip-behind.gz", "zip-behind.bz2", "zip-behind.xz", "zip-behind.zst",
                             "zip-behind.7z", "zip-behind.lzh"}) {
        std::string path = Fixtures() + name;
        std::string bytes = ReadBytes(path);
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(IsSupportedByHeader(path, bytes), 0) << name;
    }
    for (const char* name : {"text-prefixed.zip", "text-adjusted.zip"}) {
        SCOPED_TRACE(name);
        std::string path = Fixtures() + name;
        EXPECT_NE(IsSupportedByHeader(path, ReadBytes(path)), 0);
        Listing listing = ListArchive(path);
        ASSERT_EQ(listing.result, 0);
        size_t files = 0;
        for (const ArchiveEntry& entry : listing.entries) {
            if (entry.fileName[0] == '\0') continue;
            ++files;
            EXPECT_EQ(FetchEntry(path, entry.position).bytes, ReadBytes(Fixtures() + "expected\\tree\\" + JoinedName(entry)))
                << JoinedName(entry);
        }
        EXPECT_GE(files, 4u);
    }
}

// A ZIP inside another archive is no archive to IsSupported, and so to every other export: a
// host that lists or fetches without asking IsSupported first gets "not supported" (2) too.
TEST(ZipPlugin, ExportsRefuseWhatIsSupportedRefuses) {
    for (const char* name : {"zip-last.tar", "zip-behind.gz"}) {
        SCOPED_TRACE(name);
        std::string path = Fixtures() + name;
        std::string bytes = ReadBytes(path);
        ASSERT_EQ(IsSupportedByHeader(path, bytes), 0);
        Listing listing = ListArchive(path);
        EXPECT_EQ(listing.result, 2);
        EXPECT_FALSE(listing.handed);
        ArchiveEntry entry;
        EXPECT_EQ(Plugin().getFileInfo(path.c_str(), 0, "tree\\readme.txt", 0, &entry), 2);
        // Where the ZIP's first central record lies in the file: the position it would list.
        size_t record = bytes.find("PK\x01\x02");
        ASSERT_NE(record, std::string::npos);
        ASSERT_EQ(bytes.compare(record + 46, 5, "tree/"), 0);
        EXPECT_EQ(FetchEntry(path, static_cast<LONG_PTR>(record)).result, 2);
    }
}

// unzip and bsdtar read an entry's time from the Unix fields of its local header alone, 7z
// from its central record alone (make_fixtures.py records what each gave). The entry's time
// is the one two of them give from a time field; where two give only the DOS time, 7z's field.
TEST(ZipPlugin, TimesAreThoseTheReferenceToolsAgreeOn) {
    Listing listing = ListArchive(Fixtures() + "times.zip");
    ASSERT_EQ(listing.result, 0);
    std::istringstream lines(ReadBytes(Fixtures() + "expected\\times.txt"));
    std::string name;
    int64_t dos = 0, unzip = 0, sevenZip = 0, bsdtar = 0;
    size_t checked = 0;
    while (lines >> name >> dos >> unzip >> sevenZip >> bsdtar) {
        SCOPED_TRACE(name);
        int64_t agreed = unzip == bsdtar || unzip == sevenZip ? unzip : sevenZip == bsdtar ? sevenZip : dos;
        int64_t expected = agreed != dos ? agreed : sevenZip;
        const ArchiveEntry* entry = FindEntry(listing, name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->timestamp, expected);
        ++checked;
    }
    EXPECT_EQ(checked, listing.entries.size());
    EXPECT_GE(checked, 5u);
}

TEST(ZipPlugin, TimesOfTheOldInfoZipUnixFieldAreRead) {
    Listing listing = ListArchive(Fixtures() + "oldunix.zip");
    ASSERT_EQ(listing.result, 0);
    const ArchiveEntry* old = FindEntry(listing, "old-unix.txt");
    const ArchiveEntry* both = FindEntry(listing, "both.txt");
    ASSERT_NE(old, nullptr);
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(old->timestamp, BaseTime + 4000);   // its modification time, not its access time
    EXPECT_EQ(both->timestamp, BaseTime + 6000);  // an extended timestamp field comes first
}

TEST(ZipPlugin, TakesAnOpenFileHandleInsteadOfAHeader) {
    HANDLE file = CreateFileA((Fixtures() + "tree.zip").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    if (reinterpret_cast<ULONG_PTR>(file) <= 0xFFFF) {
        EXPECT_NE(Plugin().isSupported("tree.zip", reinterpret_cast<ULONG_PTR>(file)), 0);
    }
    CloseHandle(file);
}

TEST(ZipPlugin, ListsEveryEntryWithBackslashFoldersAndFolderRecords) {
    Listing listing = ListArchive(Fixtures() + "tree.zip");
    ASSERT_EQ(listing.result, 0);
    EXPECT_EQ(JoinedNames(listing), TreeNames);
    EXPECT_EQ(listing.entries.size(), TreeNames.size());

    const ArchiveEntry* folder = FindEntry(listing, "tree\\docs\\nested\\");
    ASSERT_NE(folder, nullptr);
    EXPECT_STREQ(folder->path, "tree\\docs\\nested\\");
    EXPECT_STREQ(folder->fileName, "");
    EXPECT_EQ(folder->unpackedSize, 0u);

    const ArchiveEntry* note = FindEntry(listing, "tree\\docs\\nested\\deep\\note.txt");
    ASSERT_NE(note, nullptr);
    EXPECT_STREQ(note->path, "tree\\docs\\nested\\deep\\");
    EXPECT_STREQ(note->fileName, "note.txt");
    EXPECT_EQ(note->unpackedSize, 36u);
    EXPECT_EQ(note->timestamp, BaseTime + 100);

    const ArchiveEntry* readme = FindEntry(listing, "tree\\readme.txt");
    ASSERT_NE(readme, nullptr);
    EXPECT_EQ(Method(*readme), "Deflate");
    EXPECT_LT(readme->packedSize, readme->unpackedSize);
    EXPECT_EQ(readme->timestamp, BaseTime);
    // Exact seconds from the extended timestamp, not the two-second DOS time.
    EXPECT_EQ(FindEntry(listing, "tree\\odd-second.txt")->timestamp, BaseTime + 7);

    const ArchiveEntry* empty = FindEntry(listing, "tree\\empty.txt");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(Method(*empty), "Stored");
    EXPECT_EQ(empty->unpackedSize, 0u);
    EXPECT_EQ(empty->packedSize, 0u);

    std::set<EntrySize> positions;
    for (const ArchiveEntry& entry : listing.entries) positions.insert(entry.position);
    EXPECT_EQ(positions.size(), listing.entries.size()) << "each entry needs its own position";
}

TEST(ZipPlugin, WritesItsListInThePublishedRecordLayout) {
    HLOCAL block = nullptr;
    Plugin().getArchiveInfo((Fixtures() + "tree.zip").c_str(), 0, 0, &block);
    ASSERT_NE(block, nullptr);
    const size_t records = TreeNames.size();
    const size_t width = RecordLayout.numberWidth;
    const auto* bytes = static_cast<const unsigned char*>(LocalLock(block));
    ASSERT_NE(bytes, nullptr);
    // The records and the zero record that ends the list, back to back.
    EXPECT_GE(LocalSize(block), (records + 1) * RecordLayout.size);
    EXPECT_EQ(bytes[records * RecordLayout.size], 0);
    int readmes = 0;
    for (size_t i = 0; i < records; ++i) {
        const unsigned char* record = bytes + i * RecordLayout.size;
        if (strcmp(reinterpret_cast<const char*>(record + RecordLayout.fileName), "readme.txt") != 0) continue;
        ++readmes;
        EXPECT_EQ(memcmp(record, "Deflate", 8), 0);
        EXPECT_STREQ(reinterpret_cast<const char*>(record + RecordLayout.path), "tree\\");
        EXPECT_EQ(ReadNumber(record, RecordLayout.unpackedSize, width), 880u);  // 40 lines of 22 bytes
        EXPECT_LT(ReadNumber(record, RecordLayout.packedSize, width), 880u);
        EXPECT_NE(ReadNumber(record, RecordLayout.position, width), 0u);
        EXPECT_EQ(ReadNumber(record, RecordLayout.timestamp, width), static_cast<uint64_t>(BaseTime));
    }
    EXPECT_EQ(readmes, 1);
    LocalUnlock(block);
    LocalFree(block);
}

TEST(ZipPlugin, KeepsShiftJisNamesWhoseSecondByteIsABackslash) {
    Listing listing = ListArchive(Fixtures() + "tree.zip");
    const ArchiveEntry* entry = FindEntry(listing, "tree\\ソフト\\表ソ.txt");
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->path, "tree\\ソフト\\");
    EXPECT_STREQ(entry->fileName, "表ソ.txt");
}

TEST(ZipPlugin, ConvertsNamesFlaggedAsUtf8ToCodePage932) {
    Listing listing = ListArchive(Fixtures() + "utf8.zip");
    ASSERT_EQ(listing.result, 0);
    ASSERT_EQ(listing.entries.size(), 2u);
    EXPECT_TRUE(FindEntry(listing, "utf8\\日本語ファイル.txt"));
    // A character code page 932 lacks becomes one '_', even one outside UTF-16's first plane.
    EXPECT_EQ(JoinedName(listing.entries[1]), "utf8\\smile_.txt");
}

TEST(ZipPlugin, ListsTheSameEntriesWhateverTheArchiveWasWrittenLike) {
    for (const char* archive : {"stored.zip", "descriptor.zip", "streamed.zip", "prefixed.zip", "adjusted.exe",
                                "dostime.zip"}) {
        SCOPED_TRACE(archive);
        Listing listing = ListArchive(Fixtures() + archive);
        EXPECT_EQ(listing.result, 0);
        EXPECT_EQ(JoinedNames(listing), TreeNames);
    }
    Listing stored = ListArchive(Fixtures() + "stored.zip");
    for (const ArchiveEntry& entry : stored.entries) {
        EXPECT_EQ(Method(entry), "Stored");
        EXPECT_EQ(entry.packedSize, entry.unpackedSize);
    }
    Listing commented = ListArchive(Fixtures() + "comment.zip");
    EXPECT_EQ(commented.result, 0);
    EXPECT_EQ(JoinedNames(commented), std::set<std::string>{"tree\\readme.txt"});
}

// Old PKZIP marked folders by their MS-DOS attribute alone, without a trailing '/'.
TEST(ZipPlugin, FoldersMarkedOnlyByTheirAttributeAreFolderRecords) {
    Listing listing = ListArchive(Fixtures() + "attrdir.zip");
    ASSERT_EQ(listing.result, 0);
    std::vector<std::pair<std::string, std::string>> split;
    for (const ArchiveEntry& entry : listing.entries) split.emplace_back(entry.path, entry.fileName);
    EXPECT_EQ(split, (std::vector<std::pair<std::string, std::string>>{
                         {"OLDDIR\\", ""}, {"OLDDIR\\SUB\\", ""}, {"OLDDIR\\SUB\\", "FILE.TXT"}, {"", "EMPTY.TXT"},
                         {"", "ODD.DAT"}}));
    // An entry with content stays a file whatever its attribute says.
    const ArchiveEntry* odd = FindEntry(listing, "ODD.DAT");
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(FetchEntry(Fixtures() + "attrdir.zip", odd->position).bytes, "content wins\r\n");
}

TEST(ZipPlugin, ListsAnEmptyArchiveAsATerminatorAlone) {
    HLOCAL block = nullptr;
    ASSERT_EQ(Plugin().getArchiveInfo((Fixtures() + "empty.zip").c_str(), 0, 0, &block), 0);
    ASSERT_NE(block, nullptr);
    ASSERT_GE(LocalSize(block), sizeof(ArchiveEntry));
    const char* bytes = static_cast<const char*>(LocalLock(block));
    EXPECT_EQ(bytes[0], 0);
    LocalUnlock(block);
    LocalFree(block);
}

TEST(ZipPlugin, ListsAnArchiveHeldInMemory) {
    std::string zip = ReadBytes(Fixtures() + "tree.zip");
    HLOCAL block = nullptr;
    ASSERT_EQ(Plugin().getArchiveInfo(zip.data(), static_cast<LONG_PTR>(zip.size()), 1, &block), 0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(LocalSize(block), (TreeNames.size() + 1) * sizeof(ArchiveEntry));
    LocalFree(block);
}

TEST(ZipPlugin, FindsEntriesByJoinedName) {
    Listing listing = ListArchive(Fixtures() + "tree.zip");
    std::string archive = Fixtures() + "tree.zip";
    for (const ArchiveEntry& listed : listing.entries) {
        std::string name = JoinedName(listed);
        SCOPED_TRACE(name);
        ArchiveEntry found;
        memset(&found, 0x55, sizeof found);
        ASSERT_EQ(Plugin().getFileInfo(archive.c_str(), 0, name.c_str(), 0, &found), 0);
        EXPECT_EQ(memcmp(&found, &listed, sizeof found), 0);
    }
}

TEST(ZipPlugin, FindsEntriesWithSlashesOrOtherLetterCase) {
    std::string archive = Fixtures() + "tree.zip";
    ArchiveEntry found = {};
    ASSERT_EQ(Plugin().getFileInfo(archive.c_str(), 0, "tree/docs/nested/deep/note.txt", 0, &found), 0);
    EXPECT_STREQ(found.fileName, "note.txt");
    ASSERT_EQ(Plugin().getFileInfo(archive.c_str(), 0, "TREE\\README.TXT", 0, &found), 0);
    EXPECT_STREQ(found.fileName, "readme.txt");
    ASSERT_EQ(Plugin().getFileInfo(archive.c_str(), 0, "tree\\ソフト\\表ソ.TXT", 0, &found), 0);
    EXPECT_STREQ(found.fileName, "表ソ.txt");
    // "ソフト" is 83 5C 83 74 83 67 and "ソサエ" 83 5C 83 54 83 47: second bytes are no letters.
    EXPECT_NE(Plugin().getFileInfo(archive.c_str(), 0, "tree\\ソサエ\\表ソ.txt", 0, &found), 0);
}

// The plug-in keeps the archive open between calls; a Linux program beside Wine can still
// rewrite it, and the next call must read the archive as it is then.
TEST(ZipPlugin, FindsEntriesOfTheArchiveAsItIsNow) {
    testsupport::TempDir folder;
    std::string archive = folder / "changing.zip";
    ASSERT_TRUE(testsupport::WriteBytes(archive, ReadBytes(Fixtures() + "small.zip")));
    ArchiveEntry found = {};
    ASSERT_EQ(Plugin().getFileInfo(archive.c_str(), 0, "tree\\empty.txt", 0, &found), 0);
    ASSERT_EQ(Plugin().getFileInfo(archive.c_str(), 0, "tree\\readme.txt", 0, &found), 0);
    uint32_t before = found.position;

    ASSERT_TRUE(testsupport::RewriteFromLinux(archive, ReadBytes(Fixtures() + "comment.zip")));
    Listing now = ListArchive(archive);
    ASSERT_EQ(now.entries.size(), 1u);
    ASSERT_EQ(Plugin().getFileInfo(archive.c_str(), 0, "tree\\readme.txt", 0, &found), 0);
    EXPECT_EQ(found.position, now.entries[0].position);
    EXPECT_NE(found.position, before);
    EXPECT_NE(Plugin().getFileInfo(archive.c_str(), 0, "tree\\empty.txt", 0, &found), 0);

    // And a fetch between two rewrites unpacks the archive as it is then.
    ASSERT_TRUE(testsupport::RewriteFromLinux(archive, ReadBytes(Fixtures() + "small.zip")));
    Fetched fetched = FetchEntry(archive, before);
    EXPECT_EQ(fetched.result, 0);
    EXPECT_EQ(fetched.bytes, FetchEntry(Fixtures() + "small.zip", before).bytes);
}

TEST(ZipPlugin, ReportsNamesItDoesNotHold) {
    std::string archive = Fixtures() + "tree.zip";
    ArchiveEntry found;
    memset(&found, 0x55, sizeof found);
    EXPECT_NE(Plugin().getFileInfo(archive.c_str(), 0, "tree\\missing.txt", 0, &found), 0);
    EXPECT_NE(Plugin().getFileInfo(archive.c_str(), 0, "tree\\readme", 0, &found), 0);
    EXPECT_NE(Plugin().getFileInfo(archive.c_str(), 0, "", 0, &found), 0);
    EXPECT_EQ(found.method[0], 0x55) << "a failed lookup leaves the record alone";
    EXPECT_NE(Plugin().getFileInfo("Z:\\no\\such.zip", 0, "tree\\readme.txt", 0, &found), 0);
}

// Hosts may fetch entries of one archive from several threads at once: a read of the kept
// archive file is never moved by another thread's read.
TEST(ZipPlugin, EntriesFetchedFromTwoThreadsAtOnceComeOutWhole) {
    std::string archive = Fixtures() + "stored.zip";
    Listing listing = ListArchive(archive);
    const ArchiveEntry* big = FindEntry(listing, "tree\\big.bin");
    const ArchiveEntry* readme = FindEntry(listing, "tree\\readme.txt");
    ASSERT_NE(big, nullptr);
    ASSERT_NE(readme, nullptr);
    const std::string bigBytes = ReadBytes(Fixtures() + "input\\tree\\big.bin");
    const std::string readmeBytes = ReadBytes(Fixtures() + "input\\tree\\readme.txt");
    ASSERT_FALSE(bigBytes.empty());
    ASSERT_FALSE(readmeBytes.empty());

    std::atomic<bool> bigDone{false};
    std::atomic<int> smallFetches{0}, smallWrong{0};
    std::thread small([&] {
        while (!bigDone) {
            Fetched fetched = FetchEntry(archive, readme->position);
            if (fetched.result != 0 || fetched.bytes != readmeBytes) ++smallWrong;
            ++smallFetches;
        }
    });
    int bigWrong = 0;
    for (int round = 0; round < 4; ++round) {
        Fetched fetched = FetchEntry(archive, big->position);
        if (fetched.result != 0 || fetched.bytes != bigBytes) ++bigWrong;
    }
    bigDone = true;
    small.join();
    EXPECT_GT(smallFetches.load(), 0);
    EXPECT_EQ(bigWrong, 0);
    EXPECT_EQ(smallWrong.load(), 0);
}
