// Lha.spi (Lha.sph) in Varnito's own plug-in host: chosen for .lzh archives by CPluginTable, listed
// with ListArchive (records at position 0 and folder records completed by GetFileInfo) and
// fetched with FetchEntry.
#include <gtest/gtest.h>
#include <memory>
#include "plugins/PluginTable.h"
#include "tests/lha/LhaPluginLoader.h"
#include "tests/support/PluginTestFolder.h"
#include "tests/support/TestSupport.h"

using namespace lhatest;
using testsupport::PluginFile;

namespace {

class LhaInHost : public OnePluginInHost {
protected:
    LhaInHost() : OnePluginInHost(PluginPath(), PluginFile("Lha")) {}
};

TEST_F(LhaInHost, TableShowsThePluginsTexts) {
    ExpectTableShows("*.lzh", "LHA");
}

TEST_F(LhaInHost, ListsAndFetchesEveryArchiveAsLhasaExtractsIt) {
    for (const std::string& name : ArchiveNames()) {
        if (name == "utf8-l0") continue;  // its reference is named as code page 932 hosts see it: below
        const std::string archive = DataFolder() + name + ".lzh";
        std::map<std::string, Reference> reference = ReadReference(name);
        ListedArchive entries;
        ASSERT_EQ(ListInto(*table, archive, &entries).slot, 0) << name;
        size_t files = 0;
        for (const ListedEntry& entry : entries.entries) {
            const std::string joined = JoinedName(entry);
            ASSERT_TRUE(reference.count(joined)) << name << ": " << joined;
            const Reference& ref = reference[joined];
            PluginBlock fetched;
            EXPECT_EQ(table->FetchEntry(entries, entry, &fetched), 0) << name << ": " << joined;
            if (!ref.isFolder) {
                ++files;
                if (!ref.isLink) {
                    EXPECT_EQ(entry.timestamp, ref.mtime) << name << ": " << joined;
                }
                const char* bytes = reinterpret_cast<const char*>(fetched.Bytes());
                ASSERT_TRUE(bytes || entry.unpackedSize == 0);
                ASSERT_GE(fetched.Size(), entry.unpackedSize);
                EXPECT_TRUE(std::string(bytes ? bytes : "", entry.unpackedSize) == ref.bytes) << name << ": " << joined;
            }
        }
        size_t referenceFiles = 0;
        for (const auto& named : reference) referenceFiles += named.second.isFolder ? 0 : 1;
        EXPECT_EQ(files, referenceFiles) << name;
    }
}

// UTF-8 names reach the host as stored, composed: two names that code page 932 hosts get as
// caf_.txt and caf_~2.txt stay café.txt and cafè.txt.
TEST_F(LhaInHost, Utf8NamesReachTheHostExactlyAndComposed) {
    ListedArchive listed;
    ASSERT_EQ(ListInto(*table, DataFolder() + "utf8-l0.lzh", &listed).slot, 0);
    const std::wstring expected[] = {L"\u304c.txt", L"\u3050.txt", L"caf\u00e9.txt", L"caf\u00e8.txt",
                                     L"\ud55c\uad6d\uc5b4.txt", L"plain.txt"};
    ASSERT_EQ(listed.entries.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(std::wstring(listed.entries[i].fileName), expected[i]) << i;
        PluginBlock fetched;
        ASSERT_EQ(table->FetchEntry(listed, listed.entries[i], &fetched), 0) << i;
        std::string content = "member " + std::to_string(i) + "\n";
        EXPECT_TRUE(fetched.Size() >= content.size() &&
                    std::string(reinterpret_cast<const char*>(fetched.Bytes()), content.size()) == content)
            << i;
    }
}

TEST_F(LhaInHost, OtherFilesAndBrokenArchivesGiveTheHostsCodes) {
    const std::string text = archives / "notes.lzh";
    ASSERT_TRUE(testsupport::WriteBytes(text, "just some text, not an archive\r\n"));
    ListedArchive entries;
    EXPECT_EQ(ListInto(*table, text, &entries).result, NoPluginAccepts);

    std::string bytes = testsupport::ReadBytes(DataFolder() + "l2-lh6.lzh");
    const std::string truncated = archives / "truncated.lzh";
    ASSERT_TRUE(testsupport::WriteBytes(truncated, bytes.substr(0, bytes.size() - 1000)));
    EXPECT_EQ(ListInto(*table, truncated, &entries).result, ArchiveInfoMissing);

    // Damage the last member's data (lh6 compressed text): the listing works, the fetch fails.
    ASSERT_EQ(ListInto(*table, (DataFolder() + "l2-lh6.lzh"), &entries).slot, 0);
    const ListedEntry* big = nullptr;
    for (const ListedEntry& entry : entries.entries)
        if (JoinedName(entry) == "big.txt") big = &entry;
    ASSERT_NE(big, nullptr);
    const size_t dataEnd = big->position + 100 + big->packedSize / 2;   // inside the packed bytes
    bytes[dataEnd] = static_cast<char>(bytes[dataEnd] ^ 0x21);
    const std::string damaged = archives / "damaged.lzh";
    ASSERT_TRUE(testsupport::WriteBytes(damaged, bytes));
    PluginBlock fetched;
    ListedArchive damagedCopy;  // the same entries, read from the damaged copy
    damagedCopy.host = table.get();
    damagedCopy.slot = 0;
    damagedCopy.path = testsupport::Wide(damaged);
    EXPECT_EQ(table->FetchEntry(damagedCopy, *big, &fetched), EntryNotUnpacked);
    EXPECT_EQ(fetched.Bytes(), nullptr);
}

// The plug-in keeps the archive it reads open, so nothing can write it meanwhile; asking for
// another archive lets the first one go, and releasing the library the second.
TEST_F(LhaInHost, KeepsOnlyTheArchiveAskedForLastOpenUntilTheLibraryIsReleased) {
    const std::string names[] = {"l2-lh6", "l1-lh5"};
    std::string copies[2];
    for (int i = 0; i < 2; ++i) {
        copies[i] = archives / (names[i] + ".lzh");
        ASSERT_TRUE(CopyFileA((DataFolder() + names[i] + ".lzh").c_str(), copies[i].c_str(), FALSE));
    }
    auto writable = [](const std::string& path) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        return file != INVALID_HANDLE_VALUE;
    };
    for (int i = 0; i < 2; ++i) {
        ListedArchive entries;
        ASSERT_EQ(ListInto(*table, copies[i], &entries).slot, 0) << names[i];
        std::map<std::string, Reference> reference = ReadReference(names[i]);
        for (const ListedEntry& entry : entries.entries) {
            PluginBlock fetched;
            ASSERT_EQ(table->FetchEntry(entries, entry, &fetched), 0) << JoinedName(entry);
            const char* bytes = reinterpret_cast<const char*>(fetched.Bytes());
            if (!reference[JoinedName(entry)].isFolder) {
                EXPECT_TRUE(std::string(bytes ? bytes : "", entry.unpackedSize) == reference[JoinedName(entry)].bytes)
                    << names[i] << ": " << JoinedName(entry);
            }
        }
        EXPECT_FALSE(writable(copies[i])) << names[i];
        if (i == 1) {
            EXPECT_TRUE(writable(copies[0])) << "the first archive is still held";
        }
    }
    table->Unload(AllSlots);
    EXPECT_TRUE(writable(copies[1]));
}

}  // namespace
