// Tar.spi (Tar.sph) through its exports, against archives that GNU tar and bsdtar made, plain
// and in gzip, bzip2, xz and zstd, and what tar -x extracted from them.
#include <gtest/gtest.h>
#include "tests/archives/ArchiveFixtures.h"
#include "tests/support/FolderWalk.h"
#include "tests/support/TestSupport.h"

using namespace archivetest;
using testsupport::ModificationTimestamp;
using testsupport::ReadBytes;
using testsupport::SetModificationTimestamp;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

constexpr int UnknownFormat = 2, BrokenData = 3;

// The archive lists as one entry of that name, which fetches as `original`; the entry's record.
ArchiveEntry ExpectOneEntry(const std::string& archive, const std::string& name, const std::string& original) {
    SCOPED_TRACE(archive);
    SpiListing listing = Tar().List(archive);
    EXPECT_EQ(listing.result, 0);
    EXPECT_EQ(listing.entries.size(), 1u);
    if (listing.entries.size() != 1) return ArchiveEntry();
    EXPECT_EQ(JoinedName(listing.entries[0]), name);
    EXPECT_EQ(listing.entries[0].unpackedSize, original.size());
    SpiFetched fetched = Tar().Fetch(archive, listing.entries[0].position);
    EXPECT_EQ(fetched.result, 0);
    EXPECT_TRUE(fetched.bytes == original) << "the bytes differ from the packed file's";
    return listing.entries[0];
}

}  // namespace

// Long names (GNU's extra headers, pax records, ustar's prefix), UTF-8 names in code page 932,
// empty files and folders; a symbolic link comes out as a file holding its target, a hard link
// as the file it links to; a FIFO is passed over.
TEST(Tar, GnuTarAndBsdtarArchivesInEveryWrapperUnpackAsTarDoes) {
    for (const char* archive : {"gnu.tar", "gnu.tar.gz", "gnu.tar.bz2", "gnu.tar.xz", "pax.tar", "ustar.tgz",
                                "bsd.tar", "bsd.tgz", "bsd.tar.bz2", "bsd.tar.xz", "gnu.tar.zst", "bsd.tzst"})
        ExpectSameAsReference(Tar(), archive, false);
    SpiListing listing = Tar().List(Fixtures() + "gnu.tar.xz");
    const ArchiveEntry* link = FindEntry(listing, "tree\\link-to-readme");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(Tar().Fetch(Fixtures() + "gnu.tar.xz", link->position).bytes, "readme.txt");
}

TEST(Tar, NamesStoredInCodePage932AreKeptAndCharactersItCannotSpellBecomeUnderscores) {
    ExpectSameAsReference(Tar(), "sjis.tar", false);
    ExpectSameAsReference(Tar(), "names.tar", false);  // pax: decomposed names composed
    SpiListing listing = Tar().List(Fixtures() + "unicode.tar");
    ASSERT_EQ(listing.result, 0);
    const ArchiveEntry* smile = FindEntry(listing, "unicode\\smile_.txt");
    ASSERT_NE(smile, nullptr);
    EXPECT_EQ(Tar().Fetch(Fixtures() + "unicode.tar", smile->position).bytes, "no such character in code page 932\n");
}

// Numbers as GNU tar reads them, in headers written byte by byte: a NUL or spaces before the
// digits (the checksum's too), no terminator, digits left behind one, empty fields (0),
// base-256 (a negative time too). A padding NUL turned into a space leaves the number as it
// was, but the checksum no longer holds: the first header then makes no TAR, a later one damage.
TEST(Tar, NumbersPaddedWithNulsOrLeftEmptyReadAsGnuTarReadsThem) {
    ExpectSameAsReference(Tar(), "nul-padded.tar", false);
    std::string archive = ReadBytes(Fixtures() + "nul-padded.tar");
    ASSERT_GE(archive.size(), 2000u);
    EXPECT_NE(Tar().isSupported("nul-padded.tar", reinterpret_cast<ULONG_PTR>(archive.data())), 0);
    TempDir folder;
    auto damagedAt = [&](size_t padding) {
        std::string damaged = archive;
        EXPECT_EQ(damaged[padding], '\0');
        damaged[padding] = ' ';
        std::string path = folder / ("damaged" + std::to_string(padding) + ".tar");
        EXPECT_TRUE(WriteBytes(path, damaged));
        return path;
    };
    std::string first = damagedAt(136);  // the folder's time
    SpiListing listing = Tar().List(first);
    EXPECT_EQ(listing.result, UnknownFormat);
    EXPECT_FALSE(listing.handed);
    EXPECT_EQ(Tar().isSupported(first.c_str(), reinterpret_cast<ULONG_PTR>(ReadBytes(first).data())), 0);
    listing = Tar().List(damagedAt(512 + 124));  // the second header's size
    EXPECT_EQ(listing.result, BrokenData);
    EXPECT_FALSE(listing.handed);
}

// gzip, bzip2, xz or zstd around something that is no TAR: one entry, the file's name less the
// suffix, with gzip's stored time or else (bzip2, xz, zstd, a gzip whose MTIME is 0) the archive
// file's own, as zstd -d and gzip -dN give the file they unpack.
TEST(Tar, ALoneCompressedFileIsOneEntry) {
    constexpr int64_t ArchiveTime = 1400000000;  // 2014, long before the fixtures were made
    TempDir folder;
    std::string original = ReadBytes(Fixtures() + "input\\tree\\big.bin");
    std::string gzip = ReadBytes(Fixtures() + "lone.bin.gz");
    ASSERT_GT(gzip.size(), 8u);
    std::string unstamped = gzip;
    unstamped.replace(4, 4, 4, '\0');  // MTIME; no header CRC covers it
    struct Case {
        const char* name;
        std::string bytes;
        int64_t expected;
    } cases[] = {{"lone.bin.gz", gzip, ModificationTimestamp(Fixtures() + "input\\tree\\big.bin")},
                 {"unstamped\\lone.bin.gz", unstamped, ArchiveTime},
                 {"lone.bin.bz2", ReadBytes(Fixtures() + "lone.bin.bz2"), ArchiveTime},
                 {"lone.bin.xz", ReadBytes(Fixtures() + "lone.bin.xz"), ArchiveTime},
                 {"lone.bin.zst", ReadBytes(Fixtures() + "lone.bin.zst"), ArchiveTime}};
    ASSERT_TRUE(CreateDirectoryA((folder / "unstamped").c_str(), nullptr));
    for (const Case& one : cases) {
        std::string archive = folder / one.name;
        ASSERT_TRUE(WriteBytes(archive, one.bytes));
        ASSERT_TRUE(SetModificationTimestamp(archive, ArchiveTime));
        EXPECT_EQ(ExpectOneEntry(archive, "lone.bin", original).timestamp, one.expected) << one.name;
    }
}

// A compressed file whose content begins with zero blocks (a disk image, say) is no empty TAR:
// one entry, whole; a stream of nothing but zero blocks is one (an empty archive made by tar).
TEST(Tar, ACompressedFileBeginningWithZerosIsOneEntryNotAnEmptyTar) {
    std::string original = ReadBytes(Fixtures() + "input\\zeros-first.img");
    ASSERT_EQ(original.substr(0, 1024), std::string(1024, '\0'));
    for (const char* suffix : {".gz", ".xz"})
        ExpectOneEntry(Fixtures() + "zeros-first.img" + suffix, "zeros-first.img", original);
    SpiListing empty = Tar().List(Fixtures() + "empty.tar.gz");
    EXPECT_EQ(empty.result, 0);
    EXPECT_TRUE(empty.entries.empty());
}

// A file of zero blocks (a disk image) is no TAR to IsSupported, and so to every other export:
// a host that lists or fetches without asking IsSupported first gets "not supported" too.
TEST(Tar, ExportsRefuseWhatIsSupportedRefuses) {
    TempDir folder;
    std::string image = folder / "disk.img";
    ASSERT_TRUE(WriteBytes(image, std::string(64 * 1024, '\0')));
    char header[SpiHeaderBufferSize] = {};
    EXPECT_EQ(Tar().isSupported(image.c_str(), reinterpret_cast<ULONG_PTR>(header)), 0);
    SpiListing listing = Tar().List(image);
    EXPECT_EQ(listing.result, UnknownFormat);
    EXPECT_FALSE(listing.handed);
    ArchiveEntry entry;
    EXPECT_EQ(Tar().getFileInfo(image.c_str(), 0, "disk", 0, &entry), UnknownFormat);
    EXPECT_EQ(Tar().Fetch(image, 0).result, UnknownFormat);
}

TEST(Tar, DamageIsBrokenData) {
    TempDir folder;
    std::string gz = ReadBytes(Fixtures() + "gnu.tar.gz");
    std::string plain = ReadBytes(Fixtures() + "gnu.tar");
    std::string lone = ReadBytes(Fixtures() + "lone.bin.gz");
    std::string badHeader = plain;
    size_t header = plain.find("tree/readme.txt");
    ASSERT_EQ(header % 512, 0u);
    badHeader[header + 6] ^= 0x20;  // a header's name changed: its checksum no longer holds
    std::string badCheck = lone;
    badCheck[lone.size() - 6] ^= 0x01;  // gzip's CRC-32
    std::string badData = gz;
    badData[gz.size() / 2] ^= 0x01;
    // Sparse maps whose second region overlaps the first: in a pax record (0.1) and ahead of the data (1.0).
    std::string badRecordMap = ReadBytes(Fixtures() + "sparse-pax0.1.tar");
    size_t record = badRecordMap.find("GNU.sparse.map=0,4096,131072,");
    ASSERT_NE(record, std::string::npos);
    badRecordMap.replace(record + 22, 6, "000000");
    std::string badDataMap = ReadBytes(Fixtures() + "sparse-pax1.0.tar");
    size_t map = badDataMap.find("\n0\n4096\n131072\n");
    ASSERT_NE(map, std::string::npos);
    badDataMap.replace(map + 8, 6, "000000");
    int n = 0;
    for (const std::string& damaged : {gz.substr(0, gz.size() / 2), plain.substr(0, plain.size() / 3), badHeader,
                                       badData, badCheck, badRecordMap, badDataMap}) {
        std::string path = folder / ("damaged" + std::to_string(n++) + ".tgz");
        SCOPED_TRACE(path);
        ASSERT_TRUE(WriteBytes(path, damaged));
        SpiListing listing = Tar().List(path);
        EXPECT_EQ(listing.result, BrokenData);
        EXPECT_FALSE(listing.handed) << "a list handed over with an error is read as complete";
    }
}
