// 7z.spi (7z.sph) on archives Debian's 7z made with a password, its data alone or its names
// too, with the password dialog answered from the test: in Varnito's host, and through the
// exports where the exact result or an output file counts. Each test loads its own copy of the
// plug-in, whose memory of passwords starts empty.
#include <gtest/gtest.h>
#include "tests/archives/ArchiveFixtures.h"
#include "tests/archives/ArchiveHost.h"
#include "tests/support/PasswordDialogUser.h"
#include "tests/support/PluginTestFolder.h"
#include "tests/support/TestSupport.h"

using namespace archivetest;
using testsupport::PasswordDialogUser;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

constexpr int Aborted = 1, BrokenData = 3;
// As make_fixtures.py made them; the second typed in code page 932, which 7z takes as UTF-16.
const char* const StoredPassword = "secret";
const char* const NamesPassword = "秘密secret";

// 7z.spi loaded afresh from a folder of its own.
class FreshSevenZip {
public:
    FreshSevenZip() : library_(folder_.AddCopy(PluginPath("7z"), testsupport::PluginFile("7z"))) {}
    const SpiLibrary& operator*() const { return library_; }
    const SpiLibrary* operator->() const { return &library_; }

private:
    PluginTestFolder folder_;
    SpiLibrary library_;
};

}  // namespace

// Solid archives of the whole tree (one with its names encrypted, one stored): listed, then
// every entry fetched in the host, each as 7z extracted it with the password, which was asked
// for once. An archive whose names are plain lists without a password.
TEST(SevenZipPasswords, TheRightPasswordUnpacksEveryEntryAsSevenZipDoesAndIsAskedOnce) {
    for (auto archive : {std::make_pair("encrypted.7z", StoredPassword),
                         std::make_pair("encrypted-names.7z", NamesPassword),
                         std::make_pair("encrypted-stored.7z", StoredPassword)}) {
        SCOPED_TRACE(archive.first);
        Host host({PluginPath("7z")});
        const std::string path = Fixtures() + archive.first;
        if (std::string(archive.first) == "encrypted.7z") {
            PasswordDialogUser nobody({});
            ListedArchive entries;
            EXPECT_TRUE(ListInto(*host.table, path, &entries).Listed());
            EXPECT_EQ(nobody.Finish().size(), 0u) << "plain names need no password";
        }
        PasswordDialogUser user({archive.second});
        ExpectSameAsReferenceInHost(host, path, archive.first, "7z");
        const auto& seen = user.Finish();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].archiveName, archive.first);
        EXPECT_FALSE(seen[0].wrongLineShown);
    }
}

// A wrong password brings the dialog back saying so, and the entry is unpacked with the right
// one from its start: a stored entry written to a folder (whose wrong bytes were written whole
// before its CRC failed) holds the right bytes alone; encrypted names list.
TEST(SevenZipPasswords, AWrongPasswordIsAskedAgainAndLeavesNothingBehind) {
    FreshSevenZip plugin;
    TempDir folder;
    const std::string stored = Fixtures() + "encrypted-stored.7z";
    SpiListing listing = plugin->List(stored);
    ASSERT_EQ(listing.result, 0);
    const ArchiveEntry* big = FindEntry(listing, "tree\\big.bin");
    ASSERT_NE(big, nullptr);
    PasswordDialogUser user({"Secret", StoredPassword, "wrong for the names", NamesPassword});
    std::string dest = folder.path();
    EXPECT_EQ(plugin->getFile(stored.c_str(), big->position, &dest[0], 0, nullptr, 0), 0);
    EXPECT_TRUE(ReadBytes(folder / "big.bin") == ReadBytes(Fixtures() + "input\\tree\\big.bin"));
    const ArchiveEntry* readme = FindEntry(listing, "tree\\readme.txt");
    ASSERT_NE(readme, nullptr);
    EXPECT_EQ(plugin->Fetch(stored, readme->position).result, 0) << "the right password is kept";

    SpiListing names = plugin->List(Fixtures() + "encrypted-names.7z");
    EXPECT_EQ(names.result, 0);
    EXPECT_NE(FindEntry(names, "tree\\ソフト\\表ソ.txt"), nullptr);
    const auto& seen = user.Finish();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_FALSE(seen[0].wrongLineShown);
    EXPECT_TRUE(seen[1].wrongLineShown);
    EXPECT_FALSE(seen[2].wrongLineShown) << "another archive asks afresh";
    EXPECT_TRUE(seen[3].wrongLineShown);
}

// キャンセル ends the call with the stopped result, and every later call about the same archive
// at once, without a dialog, until the host calls about another archive.
TEST(SevenZipPasswords, ACancelStopsThatArchiveWithoutAskingAgain) {
    FreshSevenZip plugin;
    const std::string path = Fixtures() + "encrypted.7z";
    SpiListing listing = plugin->List(path);
    ASSERT_EQ(listing.result, 0);
    PasswordDialogUser user({PasswordDialogUser::Cancel, StoredPassword});
    int fetched = 0;
    for (const ArchiveEntry& entry : listing.entries) {
        if (entry.unpackedSize == 0) continue;
        SpiFetched result = plugin->Fetch(path, entry.position);
        EXPECT_EQ(result.result, Aborted) << JoinedName(entry);
        EXPECT_FALSE(result.handed);
        ++fetched;
    }
    EXPECT_GE(fetched, 3);
    EXPECT_EQ(plugin->List(Fixtures() + "default.7z").result, 0);
    const ArchiveEntry* readme = FindEntry(listing, "tree\\readme.txt");
    ASSERT_NE(readme, nullptr);
    EXPECT_EQ(plugin->Fetch(path, readme->position).result, 0) << "asked again after another archive";
    EXPECT_EQ(user.Finish().size(), 2u);

    FreshSevenZip another;
    PasswordDialogUser cancels({PasswordDialogUser::Cancel});
    SpiListing names = another->List(Fixtures() + "encrypted-names.7z");
    EXPECT_EQ(names.result, Aborted);
    EXPECT_FALSE(names.handed);
    EXPECT_EQ(another->List(Fixtures() + "encrypted-names.7z").result, Aborted);
    EXPECT_EQ(cancels.Finish().size(), 1u);

    FreshSevenZip third;  // the dialog that says the password was wrong, cancelled
    PasswordDialogUser wrongThenCancel({"wrong", PasswordDialogUser::Cancel});
    names = third->List(Fixtures() + "encrypted-names.7z");
    EXPECT_EQ(names.result, Aborted);
    EXPECT_FALSE(names.handed);
    const auto& seen = wrongThenCancel.Finish();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[1].wrongLineShown);
}

// Once the password has opened the archive (its names), a damaged encrypted block is damage,
// not a wrong password: the entries it spoils fail as broken data, with no dialog.
TEST(SevenZipPasswords, ADamagedEncryptedBlockIsRefusedAsBroken) {
    FreshSevenZip plugin;
    TempDir folder;
    std::string bytes = ReadBytes(Fixtures() + "encrypted-names.7z");
    ASSERT_GT(bytes.size(), 3000u);
    bytes[2000] = static_cast<char>(bytes[2000] ^ 0x55);  // inside the packed tree, before the header
    const std::string path = folder / "damaged.7z";
    ASSERT_TRUE(WriteBytes(path, bytes));
    PasswordDialogUser user({NamesPassword});
    SpiListing listing = plugin->List(path);
    ASSERT_EQ(listing.result, 0);
    int broken = 0;
    for (const ArchiveEntry& entry : listing.entries) {
        if (entry.unpackedSize == 0) continue;
        SpiFetched fetched = plugin->Fetch(path, entry.position);
        EXPECT_TRUE(fetched.result == 0 || fetched.result == BrokenData) << JoinedName(entry) << ": " << fetched.result;
        broken += fetched.result == BrokenData;
    }
    EXPECT_GE(broken, 1);
    EXPECT_EQ(user.Finish().size(), 1u);
}
