// Tar.spi (Tar.sph) through its exports, against archives that GNU tar and bsdtar made, plain
// and in gzip, bzip2, xz and zstd, and what tar -x extracted from them.
#include <gtest/gtest.h>
#include "tests/archives/ArchiveFixtures.h"
#include "tests/support/TestSupport.h"

using namespace archivetest;
using testsupport::ModificationTimestamp;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

constexpr int UnknownFormat = 2, BrokenData = 3;

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

TEST(Tar, NamesStoredInCodePage932AreKeptAndNamesItCannotSpellRefuseTheArchive) {
    ExpectSameAsReference(Tar(), "sjis.tar", false);
    SpiListing listing = Tar().List(Fixtures() + "unicode.tar");
    EXPECT_EQ(listing.result, UnknownFormat);
    EXPECT_FALSE(listing.handed);
}

// gzip, bzip2, xz or zstd around something that is no TAR: one entry, the file's name less the
// suffix, with gzip's stored time or else the file's own.
TEST(Tar, ALoneCompressedFileIsOneEntry) {
    std::string original = ReadBytes(Fixtures() + "input\\tree\\big.bin");
    for (const char* suffix : {".gz", ".bz2", ".xz", ".zst"}) {
        std::string archive = Fixtures() + "lone.bin" + suffix;
        SCOPED_TRACE(archive);
        SpiListing listing = Tar().List(archive);
        ASSERT_EQ(listing.result, 0);
        ASSERT_EQ(listing.entries.size(), 1u);
        EXPECT_EQ(JoinedName(listing.entries[0]), "lone.bin");
        EXPECT_EQ(listing.entries[0].unpackedSize, original.size());
        bool gzip = std::string(suffix) == ".gz";
        EXPECT_EQ(listing.entries[0].timestamp, ModificationTimestamp(gzip ? Fixtures() + "input\\tree\\big.bin" : archive));
        SpiFetched fetched = Tar().Fetch(archive, listing.entries[0].position);
        EXPECT_EQ(fetched.result, 0);
        EXPECT_TRUE(fetched.bytes == original);
    }
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
    int n = 0;
    for (const std::string& damaged : {gz.substr(0, gz.size() / 2), plain.substr(0, plain.size() / 3), badHeader,
                                       badData, badCheck}) {
        std::string path = folder / ("damaged" + std::to_string(n++) + ".tgz");
        SCOPED_TRACE(path);
        ASSERT_TRUE(WriteBytes(path, damaged));
        EXPECT_EQ(Tar().List(path).result, BrokenData);
    }
}
