// 7z.spi (7z.sph) through its exports, against archives that Debian's 7z made with its common
// switches and what 7z x extracted from them.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include "tests/archives/ArchiveFixtures.h"
#include "tests/support/TestSupport.h"

using namespace archivetest;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

constexpr int UnknownFormat = 2, BrokenData = 3;

// The bytes of a 7z archive with one byte changed.
std::string Damaged(const std::string& archive, size_t at) {
    std::string bytes = ReadBytes(Fixtures() + archive);
    bytes[at] = static_cast<char>(bytes[at] ^ 0x55);
    return bytes;
}

}  // namespace

TEST(SevenZip, EveryMethodUnpacksAs7zDoes) {
    for (const char* archive : {"copy.7z", "lzma.7z", "lzma-eos.7z", "default.7z", "bzip2.7z", "deflate.7z",
                                "deflate64.7z", "delta.7z"})
        ExpectSameAsReference(SevenZip(), archive, true);
}

// The branch converters on real x86, x86-64 and ARM code, decoded byte for byte.
TEST(SevenZip, ExecutableFiltersUnpackAs7zDoes) {
    for (const char* archive : {"bcj.7z", "bcj2.7z", "arm64.7z", "arm.7z"})
        ExpectSameAsReference(SevenZip(), archive, true);
}

TEST(SevenZip, SolidAndSeparateBlocksAndPlainHeadersUnpackAs7zDoes) {
    for (const char* archive : {"mx1.7z", "mx9.7z", "not-solid.7z", "plain-header.7z"})
        ExpectSameAsReference(SevenZip(), archive, true);
}

// Fetched backwards, each entry starts its block again: still the same bytes.
TEST(SevenZip, EntriesFetchedOutOfOrderAreTheSame) {
    std::string archive = Fixtures() + "default.7z";
    SpiListing listing = SevenZip().List(archive);
    ASSERT_EQ(listing.result, 0);
    auto expected = ReferenceTree("default.7z");
    for (size_t i = listing.entries.size(); i-- > 0;) {
        const ArchiveEntry& entry = listing.entries[i];
        if (entry.fileName[0] == '\0') continue;
        SpiFetched fetched = SevenZip().Fetch(archive, entry.position);
        ASSERT_EQ(fetched.result, 0) << JoinedName(entry);
        EXPECT_TRUE(fetched.bytes == ReadBytes(expected[JoinedName(entry)].fullPath)) << JoinedName(entry);
    }
}

// PPMd is refused as "unknown format"; the archive is still listed.
// A later piece of a set (name.7z.002 beside name.7z.001) is no archive to IsSupported, even
// one that happens to hold a whole 7z archive, and so to every other export: a host that lists
// without asking IsSupported first gets "not supported" too.
TEST(SevenZip, ExportsRefuseWhatIsSupportedRefuses) {
    TempDir folder;
    std::string archive = ReadBytes(Fixtures() + "copy.7z");
    ASSERT_FALSE(archive.empty());
    ASSERT_TRUE(WriteBytes(folder / "set.7z.001", archive));
    std::string later = folder / "set.7z.002";
    ASSERT_TRUE(WriteBytes(later, archive));
    char header[SpiHeaderBufferSize] = {};
    memcpy(header, archive.data(), std::min(archive.size(), SpiHeaderBytes));
    EXPECT_EQ(SevenZip().isSupported(later.c_str(), reinterpret_cast<ULONG_PTR>(header)), 0);
    SpiListing listing = SevenZip().List(later);
    EXPECT_EQ(listing.result, UnknownFormat);
    EXPECT_FALSE(listing.handed);
    SpiListing whole = SevenZip().List(Fixtures() + "copy.7z");
    ASSERT_EQ(whole.result, 0);
    ASSERT_FALSE(whole.entries.empty());
    EXPECT_EQ(SevenZip().Fetch(later, whole.entries[0].position).result, UnknownFormat);
}

TEST(SevenZip, PpmdFailsCleanly) {
    SpiListing listing = SevenZip().List(Fixtures() + "ppmd.7z");
    ASSERT_EQ(listing.result, 0);
    const ArchiveEntry* readme = FindEntry(listing, "tree\\readme.txt");
    ASSERT_NE(readme, nullptr);
    EXPECT_EQ(readme->unpackedSize, ReadBytes(Fixtures() + "input\\tree\\readme.txt").size());
    SpiFetched fetched = SevenZip().Fetch(Fixtures() + "ppmd.7z", readme->position);
    EXPECT_EQ(fetched.result, UnknownFormat);
    EXPECT_FALSE(fetched.handed);
}

// Names are composed (a decomposed が is が), and a character code page 932 cannot spell
// becomes '_'; the archive is listed and unpacked.
TEST(SevenZip, ACharacterCodePage932CannotSpellBecomesAnUnderscore) {
    ExpectSameAsReference(SevenZip(), "names.7z", true);
    SpiListing listing = SevenZip().List(Fixtures() + "unicode.7z");
    ASSERT_EQ(listing.result, 0);
    const ArchiveEntry* smile = FindEntry(listing, "unicode\\smile_.txt");
    ASSERT_NE(smile, nullptr);
    EXPECT_EQ(SevenZip().Fetch(Fixtures() + "unicode.7z", smile->position).bytes,
              "no such character in code page 932\n");
}

TEST(SevenZip, DamageIsBrokenDataAndNeverAWrongEntry) {
    TempDir folder;
    std::string original = ReadBytes(Fixtures() + "copy.7z");
    // Stored data with one byte changed: that entry fails its CRC, the next still unpacks.
    size_t at = original.find("Varnito test archive");
    ASSERT_NE(at, std::string::npos);
    std::string archive = folder / "stored.7z";
    ASSERT_TRUE(WriteBytes(archive, Damaged("copy.7z", at)));
    SpiListing listing = SevenZip().List(archive);
    ASSERT_EQ(listing.result, 0);
    const ArchiveEntry* readme = FindEntry(listing, "tree\\readme.txt");
    const ArchiveEntry* note = FindEntry(listing, "tree\\docs\\nested\\deep\\note.txt");
    ASSERT_TRUE(readme && note);
    EXPECT_EQ(SevenZip().Fetch(archive, readme->position).result, BrokenData);
    EXPECT_EQ(SevenZip().Fetch(archive, note->position).bytes, "deep inside\n" "deep inside\n" "deep inside\n");

    // Packed data changed in the middle of a block, the headers' CRC, a file cut short.
    std::string lzma = folder / "lzma.7z";
    ASSERT_TRUE(WriteBytes(lzma, Damaged("lzma.7z", 5000)));
    listing = SevenZip().List(lzma);
    ASSERT_EQ(listing.result, 0);
    int broken = 0;
    for (const ArchiveEntry& entry : listing.entries)
        if (entry.unpackedSize > 0) broken += SevenZip().Fetch(lzma, entry.position).result == BrokenData;
    EXPECT_GE(broken, 1);
    std::string bytes = ReadBytes(Fixtures() + "default.7z");
    for (const std::string& damaged : {Damaged("default.7z", 14), Damaged("default.7z", bytes.size() - 10),
                                       bytes.substr(0, bytes.size() - 100), bytes.substr(0, 40)}) {
        std::string path = folder / ("damaged-" + std::to_string(broken++) + ".7z");
        ASSERT_TRUE(WriteBytes(path, damaged));
        SpiListing damagedListing = SevenZip().List(path);
        EXPECT_EQ(damagedListing.result, BrokenData);
        EXPECT_FALSE(damagedListing.handed) << "a list handed over with an error is read as complete";
    }
}

// The exports 7z.spi shares with Tar.spi: an entry written to a folder under its file name and
// dated, and a record found by its name, in letter case or (flag 0x80) without.
TEST(SevenZip, WritesAnEntryIntoAFolderAndFindsItByName) {
    TempDir folder;
    std::string archive = Fixtures() + "default.7z";
    SpiListing listing = SevenZip().List(archive);
    const ArchiveEntry* sjis = FindEntry(listing, "tree\\ソフト\\表ソ.txt");
    ASSERT_NE(sjis, nullptr);
    std::string dest = folder.path().substr(0, folder.path().size() - 1);  // no trailing separator
    ASSERT_EQ(SevenZip().getFile(archive.c_str(), sjis->position, &dest[0], 0, nullptr, 0), 0);
    std::string written = folder / "表ソ.txt";
    EXPECT_EQ(ReadBytes(written), ReadBytes(Fixtures() + "input\\tree\\ソフト\\表ソ.txt"));
    EXPECT_EQ(testsupport::ModificationTimestamp(written), sjis->timestamp);

    ArchiveEntry found = {};
    EXPECT_EQ(SevenZip().getFileInfo(archive.c_str(), 0, "tree/ソフト/表ソ.txt", 0, &found), 0);
    EXPECT_EQ(found.position, sjis->position);
    EXPECT_NE(SevenZip().getFileInfo(archive.c_str(), 0, "TREE\\README.TXT", 0, &found), 0);
    ASSERT_EQ(SevenZip().getFileInfo(archive.c_str(), 0, "TREE\\README.TXT", 0x80, &found), 0);
    EXPECT_STREQ(found.fileName, "readme.txt");
}
