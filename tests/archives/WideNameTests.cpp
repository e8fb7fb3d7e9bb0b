// 7z.spi and Tar.spi through the wide exports and GetArchiveListW: names exactly as the archive
// stores them (7z's UTF-16, TAR's UTF-8 and pax names, code page 932 names as their characters),
// and a tree as npm leaves it, whose path is longer than the records hold.
#include <gtest/gtest.h>
#include <cstring>
#include <set>
#include "tests/archives/ArchiveFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WideFiles.h"
#include "tests/support/WideNames.h"

using archivetest::Fixtures;
using archivetest::SevenZip;
using archivetest::Tar;
using testsupport::WidePath;

namespace {

std::wstring WideFixture(const char* name) { return WidePath(Fixtures()) + WidePath(name); }

std::set<std::wstring> FullNames(const SpiLibrary& plugin, const std::wstring& archive) {
    SpiFullListing listing = plugin.ListFull(archive);
    EXPECT_EQ(listing.result, 0);
    EXPECT_TRUE(listing.wellFormed);
    std::set<std::wstring> names;
    for (const SpiListedEntry& entry : listing.entries) names.insert(JoinedName(entry));
    return names;
}

}  // namespace

TEST(WideNames, SevenZipNamesComeOutAsStored) { widenames::ExpectSixNames(SevenZip(), WideFixture("six.7z")); }

// GNU tar stores the UTF-8 bytes; bsdtar puts them in pax headers.
TEST(WideNames, TarNamesComeOutAsStored) {
    widenames::ExpectSixNames(Tar(), WideFixture("six-gnu.tar"));
    widenames::ExpectSixNames(Tar(), WideFixture("six-bsd.tar"));
}

TEST(WideNames, APathOfOver300CharactersIsListedInFullAndWritten) {
    widenames::ExpectDeepTree(SevenZip(), WideFixture("deep.7z"));
    widenames::ExpectDeepTree(Tar(), WideFixture("deep-gnu.tgz"));
    widenames::ExpectDeepTree(Tar(), WideFixture("deep-bsd.tar"));
}

// A Mac's decomposed ぐ is composed; code page 932 names are their characters.
TEST(WideNames, NamesAreComposedAndCodePage932NamesRead) {
    for (auto [plugin, archive] : {std::make_pair(&SevenZip(), "names.7z"), std::make_pair(&Tar(), "names.tar")}) {
        std::set<std::wstring> names = FullNames(*plugin, WideFixture(archive));
        EXPECT_EQ(names.count(L"names\\\u3050.txt"), 1u) << archive;
        EXPECT_EQ(names.count(L"names\\\u304F\u3099.txt"), 0u) << archive;
        EXPECT_EQ(names.count(L"names\\caf\u00E9.txt"), 1u) << archive;
    }
    std::set<std::wstring> sjis = FullNames(Tar(), WideFixture("sjis.tar"));
    EXPECT_EQ(sjis.count(L"sjis\\\u8868\u30BD.txt"), 1u);
    EXPECT_EQ(sjis.count(L"sjis\\\u30BD\u30D5\u30C8\\\u8aac\u660e.txt"), 1u);
}

// A file gzip packed alone is named as the archive less its suffix: here a name code page 932
// cannot spell, which only the wide exports open and tell.
TEST(WideNames, ALoneCompressedFileTakesTheArchivesWholeName) {
    testsupport::TempDir folder;
    std::wstring archive = WidePath(folder.path()) + L"\uD55C\uAD6D\uC5B4.bin.gz";
    ASSERT_TRUE(CopyFileW(WideFixture("lone.bin.gz").c_str(), archive.c_str(), TRUE));
    SpiWideListing listing = Tar().ListWide(archive);
    ASSERT_EQ(listing.result, 0);
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(JoinedName(listing.entries[0]), L"\uD55C\uAD6D\uC5B4.bin");
    EXPECT_EQ(Tar().FetchWide(archive, static_cast<LONG_PTR>(listing.entries[0].position)).bytes,
              testsupport::ReadBytes(Fixtures() + "input\\tree\\big.bin"));
}

// The pieces of a set are found beside its first one by their UTF-16 names.
TEST(WideNames, PiecesOfANameCodePage932CannotSpellAreJoined) {
    testsupport::TempDir folder;
    std::wstring base = WidePath(folder.path()) + L"\uD55C\uAD6D\uC5B4.tar.";
    for (const wchar_t* number : {L"001", L"002", L"003", L"004"})
        ASSERT_TRUE(CopyFileW((WideFixture("pieces\\gnu.tar.") + number).c_str(), (base + number).c_str(), TRUE));
    EXPECT_EQ(FullNames(Tar(), base + L"001"), FullNames(Tar(), WideFixture("gnu.tar")));
    // The first piece's bytes under a later piece's name: the name alone says no.
    std::string first = testsupport::ReadWideFile(base + L"001");
    char header[SpiHeaderBufferSize] = {};
    memcpy(header, first.data(), SpiHeaderBytes);
    EXPECT_EQ(Tar().isSupportedW((base + L"001").c_str(), reinterpret_cast<ULONG_PTR>(header)), 1);
    EXPECT_EQ(Tar().isSupportedW((base + L"002").c_str(), reinterpret_cast<ULONG_PTR>(header)), 0)
        << "a later piece is no archive";
}
