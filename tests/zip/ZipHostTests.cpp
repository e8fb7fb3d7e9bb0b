// Zip.spi (Zip.sph) in Varnito's own plug-in host: chosen by CPluginTable, listed with ListArchive
// (folder and empty-file records completed through GetFileInfo) and fetched with FetchEntry.
#include <gtest/gtest.h>
#include <memory>
#include "plugins/PluginTable.h"
#include "tests/support/PasswordDialogUser.h"
#include "tests/support/PluginTestFolder.h"
#include "tests/support/TestSupport.h"
#include "tests/zip/UnzippedTree.h"
#include "tests/zip/ZipPluginLoader.h"

using testsupport::PasswordDialogUser;
using testsupport::ReadBytes;
using testsupport::PluginFile;
using testsupport::WriteBytes;

namespace {

class ZipInHost : public OnePluginInHost {
protected:
    ZipInHost() : OnePluginInHost(PluginPath(), PluginFile("Zip")) {}

    // Every entry of the archive is one of `expected`, listed with its time and fetched with
    // its bytes, and every one of `expected` is listed.
    void ExpectSameAsUnzipped(const std::string& archive, const std::map<std::string, UnzippedItem>& expected) {
        ListedArchive entries;
        ASSERT_EQ(ListInto(*table, archive, &entries).slot, 0);
        for (const ListedEntry& entry : entries.entries) {
            std::string joined = JoinedName(entry);
            SCOPED_TRACE(joined);
            auto item = expected.find(joined);
            ASSERT_NE(item, expected.end());
            EXPECT_EQ(entry.timestamp, item->second.modified);
            PluginBlock fetched;
            EXPECT_EQ(table->FetchEntry(entries, entry, &fetched), 0);
            if (!item->second.isFolder) {
                const char* bytes = reinterpret_cast<const char*>(fetched.Bytes());
                size_t size = bytes ? fetched.Size() : 0;
                ASSERT_EQ(size, entry.unpackedSize);
                EXPECT_TRUE(std::string(bytes ? bytes : "", size) == ReadBytes(item->second.fullPath));
            }
        }
        EXPECT_EQ(entries.entries.size(), expected.size());
    }

    // Fetches the entry of that joined name from a listing made before; *bytes gets its bytes.
    PluginResult Fetch(const ListedArchive& archive, const std::string& name, std::string* bytes = nullptr) {
        for (const ListedEntry& entry : archive.entries) {
            if (JoinedName(entry) != name) continue;
            PluginBlock fetched;
            PluginResult result = table->FetchEntry(archive, entry, &fetched);
            if (bytes && result == PluginSucceeded)
                bytes->assign(reinterpret_cast<const char*>(fetched.Bytes()), entry.unpackedSize);
            return result;
        }
        ADD_FAILURE() << "no entry " << name;
        return EntryNotUnpacked;
    }
};

// An archive's bytes with one byte of an entry's packed data changed, well past any header
// its encryption puts in front.
std::string WithDamagedEntry(const std::string& archive, const std::string& storedName) {
    std::string bytes = ReadBytes(archive);
    size_t name = bytes.find(storedName);  // in the first local header that names it
    if (name == std::string::npos || name < 30) return "";
    size_t header = name - 30;
    size_t extra = static_cast<uint8_t>(bytes[header + 28]) | static_cast<uint8_t>(bytes[header + 29]) << 8;
    bytes[name + storedName.size() + extra + 100] ^= 0x01;
    return bytes;
}

}  // namespace

TEST_F(ZipInHost, TableShowsThePluginsTexts) {
    ExpectTableShows("*.zip", "ZIP");
}

TEST_F(ZipInHost, ListsAndFetchesEveryEntryAsUnzipExtractsIt) {
    std::map<std::string, UnzippedItem> expected = UnzippedTree("tree");
    for (const char* name : {"tree.zip", "descriptor.zip", "stored.zip", "prefixed.zip"}) {
        SCOPED_TRACE(name);
        ExpectSameAsUnzipped(Fixtures() + name, expected);
    }
}

// zip on Linux (in a UTF-8 locale) stores UTF-8 names with neither the flag nor Info-ZIP's
// Unicode path field; a decomposed name is composed, characters code page 932 lacks become '_'.
TEST_F(ZipInHost, UnflaggedUtf8NamesFromLinuxZipComeOutAsWindowsShouldNameThem) {
    ExpectSameAsUnzipped(Fixtures() + "linux-names.zip", UnzippedTree("linux-names"));
}

TEST_F(ZipInHost, OtherFilesAndBrokenArchivesGiveTheHostsCodes) {
    ListedArchive entries;
    EXPECT_EQ(ListInto(*table, (Fixtures() + "comment.zip.txt"), &entries).result, NoPluginAccepts);

    std::string bytes = ReadBytes(Fixtures() + "small.zip");
    std::string truncated = archives / "truncated.zip";
    ASSERT_TRUE(WriteBytes(truncated, bytes.substr(0, bytes.size() - 10)));
    EXPECT_EQ(ListInto(*table, truncated, &entries).result, ArchiveInfoMissing);
}

namespace {
// Opens the file as the writer of an extracted file does: created anew or truncated.
bool CanBeTruncated(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}
}  // namespace

// Between its fetches the plug-in keeps the archive open, for reading and without sharing
// writes: an entry written over its own archive (an entry named like the archive, extracted
// into the archive's folder) cannot truncate it. Releasing the library lets the file go.
TEST_F(ZipInHost, AnArchiveCannotBeTruncatedWhileItsEntriesAreFetchedAndIsLetGoWithTheLibrary) {
    std::string archive = archives / "own.zip";
    std::string original = ReadBytes(Fixtures() + "small.zip");
    ASSERT_TRUE(WriteBytes(archive, original));
    ListedArchive entries;
    ASSERT_EQ(ListInto(*table, archive, &entries).slot, 0);
    const ListedEntry* file = entries.entries.begin();
    while (file != entries.entries.end() && file->unpackedSize == 0) ++file;
    ASSERT_NE(file, entries.entries.end());
    PluginBlock first;
    ASSERT_EQ(table->FetchEntry(entries, *file, &first), 0);
    std::string firstBytes(reinterpret_cast<const char*>(first.Bytes()), file->unpackedSize);

    EXPECT_FALSE(CanBeTruncated(archive));
    EXPECT_EQ(ReadBytes(archive), original);
    PluginBlock again;
    ASSERT_EQ(table->FetchEntry(entries, *file, &again), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(again.Bytes()), file->unpackedSize), firstBytes);

    table->Unload(AllSlots);
    EXPECT_TRUE(CanBeTruncated(archive));
}

// Archives that Debian's zip and 7z encrypted, fetched with the password typed once into the
// plug-in's dialog: ZipCrypto with a Japanese password (zip took its UTF-8 bytes, the dialog
// gives code page 932), ZipCrypto with data descriptors (the header's check byte is then the
// time's), WinZip AES with 128 and 256-bit keys.
TEST_F(ZipInHost, EncryptedArchivesAskForThePasswordOnceAndFetchEveryEntryAsUnzipExtractsIt) {
    std::map<std::string, UnzippedItem> expected = UnzippedTree("tree");
    const std::pair<const char*, const char*> encrypted[] = {
        {"pw-zipcrypto.zip", "パス"}, {"pw-streamed.zip", "Secret1"}, {"pw-aes128.zip", "Secret1"},
        {"pw-aes256.zip", "Secret1"}};
    for (const auto& archive : encrypted) {
        SCOPED_TRACE(archive.first);
        PasswordDialogUser user({archive.second});
        ExpectSameAsUnzipped(Fixtures() + archive.first, expected);
        std::vector<PasswordDialogUser::Shown> shown = user.Finish();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].archiveName, archive.first);
        EXPECT_FALSE(shown[0].wrongLineShown);
    }
}

// A wrong password brings the dialog back saying so. キャンセル ends the call with the host's
// quiet code, and the archive's other entries fail at once without asking; the password of
// the archive before is still kept.
TEST_F(ZipInHost, AWrongPasswordAsksAgainAndACancelStopsTheArchiveWithoutAskingAgain) {
    std::string aes = Fixtures() + "pw-aes256.zip", zipCrypto = Fixtures() + "pw-zipcrypto.zip";
    ListedArchive aesEntries, zipCryptoEntries;
    ASSERT_EQ(ListInto(*table, aes, &aesEntries).slot, 0);
    for (const ListedEntry& entry : aesEntries.entries) {  // the method of the AES field, not 99
        if (JoinedName(entry) == "tree\\readme.txt") {
            EXPECT_EQ(EntryMethodText(entry), "Deflate");
        }
    }
    std::string readme;
    {
        PasswordDialogUser user({"Secret2", "Secret1"});
        EXPECT_EQ(Fetch(aesEntries, "tree\\readme.txt", &readme), PluginSucceeded);
        std::vector<PasswordDialogUser::Shown> shown = user.Finish();
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_FALSE(shown[0].wrongLineShown);
        EXPECT_TRUE(shown[1].wrongLineShown);
    }
    EXPECT_EQ(readme, ReadBytes(Fixtures() + "input\\tree\\readme.txt"));

    ASSERT_EQ(ListInto(*table, zipCrypto, &zipCryptoEntries).slot, 0);
    {
        PasswordDialogUser user({PasswordDialogUser::Cancel});
        EXPECT_EQ(Fetch(zipCryptoEntries, "tree\\readme.txt"), StoppedByUser);
        EXPECT_EQ(Fetch(zipCryptoEntries, "tree\\big.bin"), StoppedByUser);
        EXPECT_EQ(user.Finish().size(), 1u) << "asked again after キャンセル";
    }
    {
        PasswordDialogUser user({});
        EXPECT_EQ(Fetch(aesEntries, "tree\\big.bin"), PluginSucceeded);
        EXPECT_EQ(user.Finish().size(), 0u) << "the password of the first archive was not kept";
    }
}

// A changed byte fails the AES authentication code (checked before anything is handed over)
// and ZipCrypto's CRC-32: refused as damage, not taken for a wrong password.
TEST_F(ZipInHost, ADamagedEncryptedEntryIsRefusedAndThePasswordNotAskedAgain) {
    const std::pair<const char*, const char*> encrypted[] = {{"pw-aes128.zip", "Secret1"},
                                                             {"pw-streamed.zip", "Secret1"}};
    for (const auto& archive : encrypted) {
        SCOPED_TRACE(archive.first);
        std::string damaged = archives / archive.first;
        ASSERT_TRUE(WriteBytes(damaged, WithDamagedEntry(Fixtures() + archive.first, "tree/big.bin")));
        ListedArchive entries;
        ASSERT_EQ(ListInto(*table, damaged, &entries).slot, 0);
        PasswordDialogUser user({archive.second});
        EXPECT_EQ(Fetch(entries, "tree\\big.bin"), EntryNotUnpacked);
        std::string readme;
        EXPECT_EQ(Fetch(entries, "tree\\readme.txt", &readme), PluginSucceeded);
        EXPECT_EQ(readme, ReadBytes(Fixtures() + "input\\tree\\readme.txt"));
        EXPECT_EQ(user.Finish().size(), 1u);
    }
}
