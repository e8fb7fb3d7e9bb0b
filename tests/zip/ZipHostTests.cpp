// Zip.spi (Zip.sph) in Varnito's own plug-in host: chosen by CPluginTable, listed with ListArchive
// (folder and empty-file records completed through GetFileInfo) and fetched with FetchEntry.
#include <gtest/gtest.h>
#include <memory>
#include "plugins/PluginTable.h"
#include "tests/support/PluginTestFolder.h"
#include "tests/support/TestSupport.h"
#include "tests/zip/UnzippedTree.h"
#include "tests/zip/ZipPluginLoader.h"

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
        EntryList entries;
        ASSERT_EQ(table->ListArchive(archive.c_str(), &entries).slot, 0);
        for (const ArchiveEntry& entry : entries) {
            std::string joined = JoinedName(entry);
            SCOPED_TRACE(joined);
            auto item = expected.find(joined);
            ASSERT_NE(item, expected.end());
            EXPECT_EQ(entry.timestamp, item->second.modified);
            PluginBlock fetched;
            EXPECT_EQ(table->FetchEntry(0, archive.c_str(), &entry, &fetched), 0);
            if (!item->second.isFolder) {
                const char* bytes = reinterpret_cast<const char*>(fetched.Bytes());
                size_t size = bytes ? fetched.Size() : 0;
                ASSERT_EQ(size, entry.unpackedSize);
                EXPECT_TRUE(std::string(bytes ? bytes : "", size) == ReadBytes(item->second.fullPath));
            }
        }
        EXPECT_EQ(entries.size(), expected.size());
    }
};

}  // namespace

TEST_F(ZipInHost, TableShowsThePluginsTexts) {
    EXPECT_EQ(PluginFile("Zip"), table->Slot(0).fileName);
    EXPECT_EQ(table->Slot(0).isArchive, 1);
    EXPECT_STREQ(table->Slot(0).extensions, "*.zip");
    EXPECT_NE(strstr(table->Slot(0).infoText, "ZIP"), nullptr);
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
    EntryList entries;
    EXPECT_EQ(table->ListArchive((Fixtures() + "comment.zip.txt").c_str(), &entries).result, NoPluginAccepts);

    std::string bytes = ReadBytes(Fixtures() + "small.zip");
    std::string truncated = archives / "truncated.zip";
    ASSERT_TRUE(WriteBytes(truncated, bytes.substr(0, bytes.size() - 10)));
    EXPECT_EQ(table->ListArchive(truncated.c_str(), &entries).result, ArchiveInfoMissing);

    std::string encrypted = Fixtures() + "encrypted.zip";
    ASSERT_EQ(table->ListArchive(encrypted.c_str(), &entries).slot, 0);
    PluginBlock fetched;
    EXPECT_EQ(table->FetchEntry(0, encrypted.c_str(), &entries[0], &fetched), EntryNotUnpacked);
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
    EntryList entries;
    ASSERT_EQ(table->ListArchive(archive.c_str(), &entries).slot, 0);
    const ArchiveEntry* file = entries.begin();
    while (file != entries.end() && file->unpackedSize == 0) ++file;
    ASSERT_NE(file, entries.end());
    PluginBlock first;
    ASSERT_EQ(table->FetchEntry(0, archive.c_str(), file, &first), 0);
    std::string firstBytes(reinterpret_cast<const char*>(first.Bytes()), file->unpackedSize);

    EXPECT_FALSE(CanBeTruncated(archive));
    EXPECT_EQ(ReadBytes(archive), original);
    PluginBlock again;
    ASSERT_EQ(table->FetchEntry(0, archive.c_str(), file, &again), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(again.Bytes()), file->unpackedSize), firstBytes);

    table->Unload(AllSlots);
    EXPECT_TRUE(CanBeTruncated(archive));
}
