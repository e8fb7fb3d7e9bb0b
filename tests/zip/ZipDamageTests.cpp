// Damaged, hostile and unsupported archives: every call ends with an error code or with the
// right bytes, never with a crash, a wrong result or a file outside its folder.
#include <gtest/gtest.h>
#include <zlib.h>
#include <set>
#include <vector>
#include "tests/support/PasswordDialogUser.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WideFiles.h"
#include "tests/zip/ZipPluginLoader.h"

using testsupport::FileExists;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

void Put16(std::string* out, uint32_t value) {
    out->push_back(static_cast<char>(value & 0xFF));
    out->push_back(static_cast<char>((value >> 8) & 0xFF));
}
void Put32(std::string* out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}
void Put64(std::string* out, uint64_t value) {
    Put32(out, static_cast<uint32_t>(value));
    Put32(out, static_cast<uint32_t>(value >> 32));
}

// One entry of an archive made by hand, with the fields a test wants to lie about.
struct CraftedEntry {
    CraftedEntry(std::string entryName, std::string entryData) : name(entryName), data(entryData) {}
    std::string name;
    std::string data;
    uint16_t method = 0;
    uint16_t flags = 0;
    uint32_t centralPacked = 0xFFFFFFFE;    // 0xFFFFFFFE: the data's real size
    uint32_t centralUnpacked = 0xFFFFFFFE;
    uint32_t localOffset = 0xFFFFFFFE;      // 0xFFFFFFFE: where the local header really is
    std::string centralExtra;
};

uint32_t Crc(const std::string& bytes) {
    return static_cast<uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

std::string Craft(const std::vector<CraftedEntry>& entries) {
    std::string archive, directory;
    for (const CraftedEntry& e : entries) {
        uint32_t offset = static_cast<uint32_t>(archive.size());
        uint32_t size = static_cast<uint32_t>(e.data.size());
        Put32(&archive, 0x04034b50);
        Put16(&archive, 20); Put16(&archive, e.flags); Put16(&archive, e.method);
        Put16(&archive, 0); Put16(&archive, 0x5221);
        Put32(&archive, Crc(e.data)); Put32(&archive, size); Put32(&archive, size);
        Put16(&archive, static_cast<uint32_t>(e.name.size())); Put16(&archive, 0);
        archive += e.name + e.data;

        Put32(&directory, 0x02014b50);
        Put16(&directory, 20); Put16(&directory, 20); Put16(&directory, e.flags); Put16(&directory, e.method);
        Put16(&directory, 0); Put16(&directory, 0x5221);
        Put32(&directory, Crc(e.data));
        Put32(&directory, e.centralPacked == 0xFFFFFFFE ? size : e.centralPacked);
        Put32(&directory, e.centralUnpacked == 0xFFFFFFFE ? size : e.centralUnpacked);
        Put16(&directory, static_cast<uint32_t>(e.name.size()));
        Put16(&directory, static_cast<uint32_t>(e.centralExtra.size()));
        Put16(&directory, 0); Put16(&directory, 0); Put16(&directory, 0); Put32(&directory, 0);
        Put32(&directory, e.localOffset == 0xFFFFFFFE ? offset : e.localOffset);
        directory += e.name + e.centralExtra;
    }
    uint32_t directoryOffset = static_cast<uint32_t>(archive.size());
    archive += directory;
    Put32(&archive, 0x06054b50);
    Put16(&archive, 0); Put16(&archive, 0);
    Put16(&archive, static_cast<uint32_t>(entries.size())); Put16(&archive, static_cast<uint32_t>(entries.size()));
    Put32(&archive, static_cast<uint32_t>(directory.size())); Put32(&archive, directoryOffset);
    Put16(&archive, 0);
    return archive;
}

void ExpectNoListing(const std::string& archive) {
    HLOCAL block = nullptr;
    EXPECT_NE(Plugin().getArchiveInfo(archive.c_str(), 0, 0, &block), 0);
    EXPECT_EQ(block, nullptr);
    if (block) LocalFree(block);
}

void ExpectNoFetch(const std::string& archive, LONG_PTR position) {
    Fetched fetched = FetchEntry(archive, position);
    EXPECT_NE(fetched.result, 0);
    EXPECT_FALSE(fetched.handed);
}

// Where the archive's central records start: the positions a listing would give its entries.
std::vector<LONG_PTR> CentralRecordOffsets(const std::string& bytes) {
    std::vector<LONG_PTR> offsets;
    for (size_t at = bytes.find("PK\x01\x02"); at != std::string::npos; at = bytes.find("PK\x01\x02", at + 1))
        offsets.push_back(static_cast<LONG_PTR>(at));
    return offsets;
}

// The archive is refused as damaged (3) by every export, and no entry is written, to memory
// or to a folder.
void ExpectDamagedAndNothingWritten(const std::string& archive) {
    HLOCAL block = nullptr;
    EXPECT_EQ(Plugin().getArchiveInfo(archive.c_str(), 0, 0, &block), 3);
    EXPECT_EQ(block, nullptr);
    TempDir out;
    std::vector<LONG_PTR> positions = CentralRecordOffsets(ReadBytes(archive));
    ASSERT_FALSE(positions.empty());
    for (LONG_PTR position : positions) {
        EXPECT_EQ(FetchEntry(archive, position).result, 3);
        std::string dest = out.path();
        EXPECT_EQ(Plugin().getFile(archive.c_str(), position, &dest[0], 0, nullptr, 0), 3);
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((out / "*.bin").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "wrote " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

std::vector<std::wstring> WideNames(const std::string& archive) {
    SpiWideListing listing = Plugin().ListWide(testsupport::WidePath(archive));
    EXPECT_EQ(listing.result, 0);
    std::vector<std::wstring> names;
    for (const ArchiveEntryW& entry : listing.entries) names.push_back(JoinedName(entry));
    return names;
}

std::vector<std::wstring> FullNames(const std::string& archive) {
    SpiFullListing listing = Plugin().ListFull(testsupport::WidePath(archive));
    EXPECT_EQ(listing.result, 0);
    EXPECT_TRUE(listing.wellFormed);
    std::vector<std::wstring> names;
    for (const SpiListedEntry& entry : listing.entries) names.push_back(JoinedName(entry));
    return names;
}

std::vector<std::string> AnsiNames(const std::string& archive) {
    Listing listing = ListArchive(archive);
    EXPECT_EQ(listing.result, 0);
    std::vector<std::string> names;
    for (const ArchiveEntry& entry : listing.entries) names.push_back(JoinedName(entry));
    return names;
}

}  // namespace

// The encrypted entry's password dialog is cancelled.
TEST(ZipDamage, EncryptedAndUnsupportedMethodsFailCleanly) {
    testsupport::PasswordDialogUser user({testsupport::PasswordDialogUser::Cancel});
    for (const char* name : {"encrypted.zip", "ppmd.zip"}) {
        SCOPED_TRACE(name);
        std::string archive = Fixtures() + name;
        Listing listing = ListArchive(archive);
        ASSERT_EQ(listing.result, 0);
        ASSERT_EQ(listing.entries.size(), 1u);
        ExpectNoFetch(archive, listing.entries[0].position);
        TempDir folder;
        std::string dest = folder.path();
        EXPECT_NE(Plugin().getFile(archive.c_str(), listing.entries[0].position, &dest[0], 0, nullptr, 0), 0);
        EXPECT_FALSE(FileExists(folder / "readme.txt"));
    }
    EXPECT_STREQ(reinterpret_cast<const char*>(ListArchive(Fixtures() + "ppmd.zip").entries[0].method), "PPMd");
}

TEST(ZipDamage, ChecksumMismatchIsAnError) {
    TempDir folder;
    std::string stored = ReadBytes(Fixtures() + "stored.zip");
    size_t text = stored.find("Varnito test archive");
    ASSERT_NE(text, std::string::npos);
    stored[text + 3] ^= 0x20;
    ASSERT_TRUE(WriteBytes(folder / "stored.zip", stored));
    Listing listing = ListArchive(folder / "stored.zip");
    const ArchiveEntry* readme = FindEntry(listing, "tree\\readme.txt");
    ASSERT_NE(readme, nullptr);
    Fetched fetched = FetchEntry(folder / "stored.zip", readme->position);
    EXPECT_EQ(fetched.result, 3);
    EXPECT_FALSE(fetched.handed);

    // A damaged byte inside deflated data.
    std::string deflated = ReadBytes(Fixtures() + "tree.zip");
    Listing original = ListArchive(Fixtures() + "tree.zip");
    const ArchiveEntry* big = FindEntry(original, "tree\\big.bin");
    ASSERT_NE(big, nullptr);
    ASSERT_TRUE(WriteBytes(folder / "tree.zip", deflated));
    std::string damaged = deflated;
    damaged[damaged.size() / 2] ^= 0x01;
    ASSERT_TRUE(WriteBytes(folder / "tree.zip", damaged));
    ExpectNoFetch(folder / "tree.zip", big->position);
}

// A listing of archive bytes held in memory: quick enough to try every damaged copy.
Listing ListInMemory(const std::string& bytes) {
    Listing listing;
    HLOCAL block = nullptr;
    listing.result = Plugin().getArchiveInfo(bytes.data(), static_cast<LONG_PTR>(bytes.size()), 1, &block);
    if (!block) return listing;
    listing.handed = true;
    size_t size = LocalSize(block);
    const ArchiveEntry* records = static_cast<const ArchiveEntry*>(LocalLock(block));
    for (size_t i = 0; records && (i + 1) * sizeof(ArchiveEntry) <= size && records[i].method[0]; ++i)
        listing.entries.push_back(records[i]);
    LocalUnlock(block);
    LocalFree(block);
    return listing;
}

// Every cut is listed in memory; a sample of them (the directory's end in full) also as files.
TEST(ZipDamage, TruncatedArchivesFail) {
    TempDir folder;
    std::string whole = ReadBytes(Fixtures() + "small.zip");
    Listing listing = ListArchive(Fixtures() + "small.zip");
    ASSERT_EQ(listing.result, 0);
    ASSERT_GE(listing.entries.size(), 5u);
    for (size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        Listing cut = ListInMemory(whole.substr(0, length));
        EXPECT_NE(cut.result, 0);
        EXPECT_FALSE(cut.handed);
        if (length % 16 == 0 || length + 64 >= whole.size()) {
            // A new name each time: the plug-in keeps the last archive open, and nothing writes it then.
            std::string archive = folder / ("cut-" + std::to_string(length) + ".zip");
            ASSERT_TRUE(WriteBytes(archive, whole.substr(0, length)));
            ExpectNoListing(archive);
            for (const ArchiveEntry& entry : listing.entries) ExpectNoFetch(archive, entry.position);
        }
        if (HasFailure()) break;
    }
}

// Every byte is damaged in two ways and the copy listed and searched in memory; every seventh
// damaged copy is also unpacked from a file, where success must still mean the right bytes.
TEST(ZipDamage, DamagedBytesNeverGiveWrongContents) {
    TempDir folder;
    std::string whole = ReadBytes(Fixtures() + "small.zip");
    Listing listing = ListArchive(Fixtures() + "small.zip");
    std::set<std::string> contents;
    for (const ArchiveEntry& entry : listing.entries) contents.insert(FetchEntry(Fixtures() + "small.zip", entry.position).bytes);
    ASSERT_GE(contents.size(), 3u);

    for (size_t at = 0; at < whole.size(); ++at) {
        // A new name each time: the plug-in keeps the last archive open, and nothing writes it then.
        std::string archive = folder / ("damaged-" + std::to_string(at) + ".zip");
        for (unsigned char change : {0xFF, 0x01}) {
            std::string damaged = whole;
            damaged[at] = static_cast<char>(damaged[at] ^ change);
            Listing seen = ListInMemory(damaged);
            for (const ArchiveEntry& entry : seen.entries) {
                ArchiveEntry found;
                Plugin().getFileInfo(damaged.data(), static_cast<LONG_PTR>(damaged.size()), JoinedName(entry).c_str(), 1, &found);
            }
            if (at % 7 != 0 || change != 0xFF) continue;
            ASSERT_TRUE(WriteBytes(archive, damaged));
            for (const ArchiveEntry& entry : seen.entries) {
                Fetched fetched = FetchEntry(archive, entry.position);
                if (fetched.result == 0) {
                    EXPECT_TRUE(contents.count(fetched.bytes)) << "byte " << at << ": wrong contents accepted";
                }
            }
        }
        if (HasFailure()) break;
    }
}

TEST(ZipDamage, PositionsThatNameNoEntryFail) {
    std::string archive = Fixtures() + "small.zip";
    LONG_PTR size = static_cast<LONG_PTR>(ReadBytes(archive).size());
    for (LONG_PTR position : {LONG_PTR(0), LONG_PTR(1), LONG_PTR(30), size - 22, size - 1, size, size + 1000,
                              LONG_PTR(-1), LONG_PTR(0x7FFFFFFF)}) {
        SCOPED_TRACE(position);
        ExpectNoFetch(archive, position);
    }
    ExpectNoFetch("Z:\\no\\such\\archive.zip", 100);
}

TEST(ZipDamage, GarbageIsNoArchive) {
    std::string garbage(5000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 7919) >> 3);
    garbage.replace(0, 4, "PK\x03\x04");
    HLOCAL block = nullptr;
    EXPECT_NE(Plugin().getArchiveInfo(garbage.data(), static_cast<LONG_PTR>(garbage.size()), 1, &block), 0);
    EXPECT_EQ(block, nullptr);
    TempDir folder;
    ASSERT_TRUE(WriteBytes(folder / "garbage.zip", garbage));
    ExpectNoListing(folder / "garbage.zip");
    ExpectNoListing(Fixtures() + "comment.zip.txt");
    ExpectNoListing("Z:\\no\\such\\archive.zip");
}

TEST(ZipDamage, Zip64SizesBeyondTheRecordFailTheListing) {
    TempDir folder;
    CraftedEntry huge{"huge.bin", "x"};
    huge.centralPacked = huge.centralUnpacked = 0xFFFFFFFF;
    Put16(&huge.centralExtra, 0x0001);
    Put16(&huge.centralExtra, 16);
    Put64(&huge.centralExtra, 5000000000ULL);
    Put64(&huge.centralExtra, 1);
    ASSERT_TRUE(WriteBytes(folder / "zip64.zip", Craft({CraftedEntry{"a.txt", "a"}, huge})));
#if defined(_WIN64)
    // The 64-bit record holds the size; the data behind it does not, so it cannot be fetched.
    Listing wide = ListArchive(folder / "zip64.zip");
    ASSERT_EQ(wide.entries.size(), 2u);
    EXPECT_EQ(wide.entries[1].unpackedSize, 5000000000ULL);
    EXPECT_NE(FetchEntry(folder / "zip64.zip", wide.entries[1].position).result, 0);
#else
    ExpectNoListing(folder / "zip64.zip");
#endif

    CraftedEntry missing{"missing.bin", "x"};
    missing.centralUnpacked = 0xFFFFFFFF;  // says "in the ZIP64 field", which is not there
    ASSERT_TRUE(WriteBytes(folder / "missing.zip", Craft({missing})));
    ExpectNoListing(folder / "missing.zip");

    // ZIP64 values that fit are read.
    CraftedEntry fits{"fits.txt", "fits"};
    fits.centralPacked = fits.centralUnpacked = 0xFFFFFFFF;
    Put16(&fits.centralExtra, 0x0001);
    Put16(&fits.centralExtra, 16);
    Put64(&fits.centralExtra, 4);
    Put64(&fits.centralExtra, 4);
    ASSERT_TRUE(WriteBytes(folder / "fits.zip", Craft({fits})));
    Listing listing = ListArchive(folder / "fits.zip");
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].unpackedSize, 4u);
    EXPECT_EQ(FetchEntry(folder / "fits.zip", listing.entries[0].position).bytes, "fits");
}

TEST(ZipDamage, ImpossibleSizesAndOffsetsFailTheFetch) {
    TempDir folder;
    CraftedEntry bomb{"bomb.bin", std::string(10, 'z')};
    bomb.method = 8;
    bomb.centralUnpacked = 0xFFFFFF00;
    CraftedEntry away{"away.txt", "away"};
    away.localOffset = 0x7FFFFFF0;
    CraftedEntry stored{"stored.txt", "abc"};
    stored.centralUnpacked = 4000;  // stored data cannot change its size
    ASSERT_TRUE(WriteBytes(folder / "lies.zip", Craft({bomb, away, stored})));
    Listing listing = ListArchive(folder / "lies.zip");
    ASSERT_EQ(listing.entries.size(), 3u);
    for (const ArchiveEntry& entry : listing.entries) {
        SCOPED_TRACE(entry.fileName);
        ExpectNoFetch(folder / "lies.zip", entry.position);
    }
}

// Zip bombs of entries that share their data (as David Fifield made them): ten central records
// naming one local entry, and four entries whose deflate streams each quote the next local
// header and go on into its data, down to one kernel. Also an entry whose data would run into
// the central directory.
TEST(ZipDamage, EntriesWhoseDataOverlapAreDamage) {
    TempDir folder;
    std::vector<CraftedEntry> shared;
    for (int i = 0; i < 10; ++i) {
        shared.emplace_back("copy" + std::to_string(i) + ".bin", std::string(4000, 'k'));
        shared.back().localOffset = 0;
    }
    ASSERT_TRUE(WriteBytes(folder / "full-overlap.zip", Craft(shared)));
    CraftedEntry intoDirectory{"long.bin", "abc"};
    intoDirectory.centralPacked = intoDirectory.centralUnpacked = 3 + 40;
    ASSERT_TRUE(WriteBytes(folder / "into-directory.zip", Craft({CraftedEntry{"a.bin", "a"}, intoDirectory})));

    for (std::string archive : {folder / "full-overlap.zip", Fixtures() + "quoted-overlap.zip",
                                folder / "into-directory.zip"}) {
        SCOPED_TRACE(archive);
        ExpectDamagedAndNothingWritten(archive);
    }
    // Entries packed back to back, the last one right before the directory, still open.
    ASSERT_TRUE(WriteBytes(folder / "tight.zip", Craft({{"a.bin", "a"}, {"b.bin", ""}, {"c.bin", "ccc"}})));
    Listing tight = ListArchive(folder / "tight.zip");
    ASSERT_EQ(tight.result, 0);
    ASSERT_EQ(tight.entries.size(), 3u);
    EXPECT_EQ(FetchEntry(folder / "tight.zip", tight.entries[2].position).bytes, "ccc");
}

// Small valid streams of every packed method, each claiming 3 GiB: damage, found before a block
// of that size is reserved (a new block has its pages supplied at once, so a reserved one
// would show in the working set).
TEST(ZipDamage, SizesThePackedBytesCannotGiveFailBeforeAnythingIsReserved) {
    std::string archive = Fixtures() + "claims.zip";
    Listing listing = ListArchive(archive);
    ASSERT_EQ(listing.result, 0);
    ASSERT_EQ(listing.entries.size(), 6u);
    size_t before = testsupport::PeakWorkingSet();
    TempDir folder;
    for (const ArchiveEntry& entry : listing.entries) {
        SCOPED_TRACE(entry.fileName);
        EXPECT_EQ(entry.unpackedSize, 3u << 30);
        EXPECT_LT(entry.packedSize, 200u);
        Fetched fetched = FetchEntry(archive, entry.position);
        EXPECT_EQ(fetched.result, 3);
        EXPECT_FALSE(fetched.handed);
        std::string dest = folder.path();
        EXPECT_EQ(Plugin().getFile(archive.c_str(), entry.position, &dest[0], 0, nullptr, 0), 3);
        EXPECT_FALSE(FileExists(folder / entry.fileName));
    }
    size_t grown = testsupport::PeakWorkingSet() - before;
    EXPECT_LT(grown, 256u << 20) << "peak working set grew by " << grown;
}

TEST(ZipDamage, NamesCannotLeadOutOfTheFolder) {
    TempDir outer;
    std::string inner = outer / "inner\\";
    ASSERT_TRUE(CreateDirectoryA(inner.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(outer / "evil.zip",
                           Craft({{"../../evil.txt", "1"}, {"/abs/x.txt", "2"}, {"C:\\win\\y.txt", "3"},
                                  {"a/./b/../c.txt", "4"}, {"..\\up.txt", "5"}, {"../", ""}})));
    Listing listing = ListArchive(outer / "evil.zip");
    ASSERT_EQ(listing.result, 0);
    std::set<std::string> names;
    for (const ArchiveEntry& entry : listing.entries) names.insert(JoinedName(entry));
    EXPECT_EQ(names, (std::set<std::string>{"evil.txt", "abs\\x.txt", "win\\y.txt", "a\\b\\c.txt", "up.txt"}));
    const std::vector<std::wstring> cleaned = {L"evil.txt", L"abs\\x.txt", L"win\\y.txt", L"a\\b\\c.txt", L"up.txt"};
    EXPECT_EQ(WideNames(outer / "evil.zip"), cleaned);
    EXPECT_EQ(FullNames(outer / "evil.zip"), cleaned);

    const ArchiveEntry* evil = FindEntry(listing, "evil.txt");
    ASSERT_NE(evil, nullptr);
    std::string dest = inner;
    ASSERT_EQ(Plugin().getFile((outer / "evil.zip").c_str(), evil->position, &dest[0], 0, nullptr, 0), 0);
    EXPECT_EQ(ReadBytes(inner + "evil.txt"), "1");
    EXPECT_FALSE(FileExists(outer / "evil.txt"));
}

// A name too long for a record leaves that entry out of the lists of records (never cut, which
// would name another file), and GetArchiveListW lists it; the other entries list everywhere.
TEST(ZipDamage, NamesLongerThanARecordLeaveTheirEntryOutOfThatListAlone) {
    TempDir folder;
    std::string longest = std::string(198, 'p') + "/" + std::string(199, 'f');
    ASSERT_TRUE(WriteBytes(folder / "fits.zip", Craft({{longest, "x"}})));
    Listing fits = ListArchive(folder / "fits.zip");
    ASSERT_EQ(fits.entries.size(), 1u);
    EXPECT_EQ(strlen(fits.entries[0].path), 199u);
    EXPECT_EQ(strlen(fits.entries[0].fileName), 199u);
    EXPECT_EQ(WideNames(folder / "fits.zip"), (std::vector<std::wstring>{std::wstring(198, L'p') + L"\\" +
                                                                         std::wstring(199, L'f')}));

    const std::string longFile(200, 'f'), longFolder = std::string(199, 'p') + "/f";
    // 150 characters: 150 UTF-16 units fit the wide record, 300 bytes of code page 932 do not.
    std::string japanese;
    for (int i = 0; i < 150; ++i) japanese += "\xE6\x97\xA5";  // 日 in UTF-8
    CraftedEntry flagged{japanese, "4"};
    flagged.flags = 0x0800;
    ASSERT_TRUE(WriteBytes(folder / "long.zip", Craft({{"ok.txt", "1"}, {longFile, "2"}, {longFolder, "3"}, flagged})));
    std::string archive = folder / "long.zip";
    EXPECT_EQ(AnsiNames(archive), std::vector<std::string>{"ok.txt"});
    EXPECT_EQ(WideNames(archive), (std::vector<std::wstring>{L"ok.txt", std::wstring(150, L'\u65E5')}));
    EXPECT_EQ(FullNames(archive), (std::vector<std::wstring>{L"ok.txt", std::wstring(longFile.begin(), longFile.end()),
                                                             std::wstring(199, L'p') + L"\\f",
                                                             std::wstring(150, L'\u65E5')}));
    ArchiveEntry found = {};
    EXPECT_NE(Plugin().getFileInfo(archive.c_str(), 0, longFile.c_str(), 0, &found), 0);
    ArchiveEntryW foundW = {};
    EXPECT_NE(Plugin().getFileInfoW(testsupport::WidePath(archive).c_str(), 0, std::wstring(200, L'f').c_str(), 0, &foundW), 0);
    SpiFullListing full = Plugin().ListFull(testsupport::WidePath(archive));
    ASSERT_EQ(full.entries.size(), 4u);
    for (size_t i = 1; i < 4; ++i)
        EXPECT_EQ(Plugin().FetchWide(testsupport::WidePath(archive), static_cast<LONG_PTR>(full.entries[i].record.position)).bytes,
                  std::to_string(i + 1));
}

// Fields other writers add: Info-ZIP's UTF-8 name (trusted only while the stored name is the
// one it was made for) and the NTFS times of Windows archivers.
TEST(ZipDamage, ExtraFieldsGiveNamesAndTimesOnlyWhenValid) {
    TempDir folder;
    auto unicodeField = [](const std::string& storedName, const std::string& utf8) {
        std::string field;
        Put16(&field, 0x7075);
        Put16(&field, static_cast<uint32_t>(5 + utf8.size()));
        field += '\x01';
        Put32(&field, Crc(storedName));
        return field + utf8;
    };
    CraftedEntry renamed{"old.txt", "1"};
    renamed.centralExtra = unicodeField("old.txt", "\xE6\x96\xB0.txt");  // "新.txt" in UTF-8
    CraftedEntry stale{"kept.txt", "2"};
    stale.centralExtra = unicodeField("other.txt", "\xE6\x96\xB0\xE6\x96\xB0.txt");
    // A character code page 932 lacks (an emoji, the yen sign, which it would spell as '\')
    // becomes '_'.
    CraftedEntry emoji{"emoji.txt", "4"};
    emoji.centralExtra = unicodeField("emoji.txt", "\xE6\x96\xB0\xF0\x9F\x98\x80.txt");
    CraftedEntry yen{"yen.txt", "5"};
    yen.centralExtra = unicodeField("yen.txt", "\xC2\xA5\xE6\x96\xB0.txt");
    CraftedEntry ntfs{"ntfs.txt", "3"};
    Put16(&ntfs.centralExtra, 0x000A);
    Put16(&ntfs.centralExtra, 32);
    Put32(&ntfs.centralExtra, 0);
    Put16(&ntfs.centralExtra, 1);
    Put16(&ntfs.centralExtra, 24);
    Put64(&ntfs.centralExtra, (1600000001ULL + 11644473600ULL) * 10000000ULL);  // modified
    Put64(&ntfs.centralExtra, 0);
    Put64(&ntfs.centralExtra, 0);
    ASSERT_TRUE(WriteBytes(folder / "extra.zip", Craft({renamed, stale, ntfs, emoji, yen})));

    Listing listing = ListArchive(folder / "extra.zip");
    ASSERT_EQ(listing.result, 0);
    ASSERT_EQ(listing.entries.size(), 5u);
    EXPECT_EQ(JoinedName(listing.entries[0]), "新.txt");
    EXPECT_EQ(JoinedName(listing.entries[1]), "kept.txt");
    EXPECT_EQ(listing.entries[2].timestamp, 1600000001);
    EXPECT_EQ(JoinedName(listing.entries[3]), "新_.txt");
    EXPECT_EQ(JoinedName(listing.entries[4]), "_新.txt");
    EXPECT_EQ(FetchEntry(folder / "extra.zip", listing.entries[0].position).bytes, "1");
    EXPECT_EQ(WideNames(folder / "extra.zip"), (std::vector<std::wstring>{L"\u65B0.txt", L"kept.txt", L"ntfs.txt",
                                                                          L"\u65B0\U0001F600.txt", L"\u00A5\u65B0.txt"}));
}

// Names as Linux, Android and the Mac Finder store them: UTF-8 without the flag (read so when
// every name of the archive is UTF-8), decomposed, with characters code page 932 lacks; two
// names that come out alike stay two files.
TEST(ZipDamage, UnflaggedUtf8NamesAreReadAsUtf8OnlyWhenEveryNameIs) {
    TempDir folder;
    CraftedEntry voiced{"\xE3\x81\x8B\xE3\x82\x99.txt", "1"};  // か + combining voiced mark
    CraftedEntry composed{"caf\xC3\xA9.txt", "2"};
    CraftedEntry decomposed{"cafe\xCC\x81.txt", "3"};
    CraftedEntry korean{"\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4.txt", "4"};
    CraftedEntry flagged{"\xE3\x81\x8F\xE3\x82\x99/x.txt", "5"};  // く + mark, flagged
    flagged.flags = 0x0800;
    ASSERT_TRUE(
        WriteBytes(folder / "linux.zip", Craft({voiced, composed, decomposed, korean, flagged, {"a.txt", "6"}})));
    Listing listing = ListArchive(folder / "linux.zip");
    ASSERT_EQ(listing.result, 0);
    std::vector<std::string> names;
    for (const ArchiveEntry& entry : listing.entries) names.push_back(JoinedName(entry));
    EXPECT_EQ(names, (std::vector<std::string>{"が.txt", "caf_.txt", "caf_~2.txt", "___.txt", "ぐ\\x.txt", "a.txt"}));
    // Composed, the two cafés are one name: the second is told apart in the wide names too.
    EXPECT_EQ(WideNames(folder / "linux.zip"),
              (std::vector<std::wstring>{L"\u304C.txt", L"caf\u00E9.txt", L"caf\u00E9~2.txt", L"\uD55C\uAD6D\uC5B4.txt",
                                         L"\u3050\\x.txt", L"a.txt"}));
    ASSERT_EQ(listing.entries.size(), 6u);
    EXPECT_EQ(FetchEntry(folder / "linux.zip", listing.entries[2].position).bytes, "3");
    std::string dest = folder / "out";
    ASSERT_TRUE(CreateDirectoryA(dest.c_str(), nullptr));
    std::string archive = folder / "linux.zip";
    for (size_t i : {1, 2})
        ASSERT_EQ(Plugin().getFile(archive.c_str(), listing.entries[i].position, &dest[0], 0, nullptr, 0), 0);
    EXPECT_EQ(ReadBytes(folder / "out\\caf_.txt"), "2");
    EXPECT_EQ(ReadBytes(folder / "out\\caf_~2.txt"), "3");

    // One name that is no UTF-8 (表 in code page 932) and every unflagged name is code page 932.
    ASSERT_TRUE(WriteBytes(folder / "mixed.zip", Craft({{"\x95\x5C.txt", "1"}, composed, flagged})));
    listing = ListArchive(folder / "mixed.zip");
    ASSERT_EQ(listing.result, 0);
    ASSERT_EQ(listing.entries.size(), 3u);
    EXPECT_EQ(JoinedName(listing.entries[0]), "表.txt");
    EXPECT_EQ(JoinedName(listing.entries[1]), composed.name);
    EXPECT_EQ(JoinedName(listing.entries[2]), "ぐ\\x.txt");
}

// GetFileInfoW takes either separator and, as ZIP names are found, ASCII letters in either case;
// no other letter is folded (É is not é). A letter behind a character whose last UTF-8 byte is
// a lead byte of code page 932 (ā is C4 81) is a letter all the same.
TEST(ZipDamage, WideNamesAreFoundWithEitherSeparatorAndAsciiLettersInEitherCase) {
    TempDir folder;
    CraftedEntry macron{"dir/\xC4\x81x.txt", "1"};
    CraftedEntry cafe{"caf\xC3\xA9.txt", "2"};
    macron.flags = cafe.flags = 0x0800;
    ASSERT_TRUE(WriteBytes(folder / "found.zip", Craft({macron, cafe})));
    std::wstring archive = testsupport::WidePath(folder / "found.zip");
    auto found = [&](const std::wstring& name) {
        ArchiveEntryW entry = {};
        if (Plugin().getFileInfoW(archive.c_str(), 0, name.c_str(), 0, &entry) != 0) return std::string("(none)");
        return Plugin().FetchWide(archive, static_cast<LONG_PTR>(entry.position)).bytes;
    };
    EXPECT_EQ(found(L"dir\\\u0101x.txt"), "1");
    EXPECT_EQ(found(L"DIR/\u0101X.TXT"), "1");
    EXPECT_EQ(found(L"CAF\u00E9.TXT"), "2");
    EXPECT_EQ(found(L"caf\u00C9.txt"), "(none)");
}

// A ZIP name may hold a 0 byte, which would end it early in a record and make two names of it
// in GetArchiveListW's block: it is '_' in every list.
TEST(ZipDamage, AZeroByteInANameIsAnUnderscore) {
    TempDir folder;
    ASSERT_TRUE(WriteBytes(folder / "zero.zip", Craft({{std::string("a\0b.txt", 7), "1"}})));
    EXPECT_EQ(AnsiNames(folder / "zero.zip"), std::vector<std::string>{"a_b.txt"});
    EXPECT_EQ(WideNames(folder / "zero.zip"), std::vector<std::wstring>{L"a_b.txt"});
    EXPECT_EQ(FullNames(folder / "zero.zip"), std::vector<std::wstring>{L"a_b.txt"});
}
