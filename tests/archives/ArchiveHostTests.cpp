// 7z.spi and Tar.spi in Varnito's own plug-in host beside the other bundled plug-ins: chosen
// by content, listed with ListArchive and fetched with FetchEntry; archives in numbered pieces
// (with Zip.spi), whole and incomplete; and the cost of a solid
// archive, counted through test builds of the plug-ins that export how often they started a
// block (or compressed stream) from its beginning.
#include <gtest/gtest.h>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include "plugins/PluginTable.h"
#include "tests/archives/ArchiveFixtures.h"
#include "tests/archives/ArchiveHost.h"
#include "tests/support/PluginTestFolder.h"
#include "tests/support/TestSupport.h"

using namespace archivetest;
using testsupport::PluginFile;
using testsupport::TempDir;

namespace {

typedef unsigned int(WINAPI* PluginStartsFn)();

std::string Bundled(const std::string& folder, const std::string& base) {
    return testsupport::ExeFolder() + "..\\spi\\" + folder + "\\" + PluginFile(base);
}

// Lists the archive and fetches every entry in archive order; the entries' count. Each fetched
// entry must match the CRC its record states where it states one.
size_t FetchAll(CPluginTable& table, const std::string& archive) {
    ListedArchive listed;
    ListInto(table, archive, &listed);
    EXPECT_GE(listed.slot, 0);
    if (listed.slot < 0) return 0;
    const EntryList& entries = listed.entries;
    for (const ListedEntry& entry : entries) {
        PluginBlock fetched;
        EXPECT_EQ(table.FetchEntry(listed, entry, &fetched), 0) << JoinedName(entry);
        const char* bytes = reinterpret_cast<const char*>(fetched.Bytes());
        std::string content = bytes ? std::string(bytes, entry.unpackedSize) : std::string();
        if (entry.crc != 0) {
            EXPECT_EQ(Crc32(content), entry.crc) << JoinedName(entry);
        }
    }
    return entries.size();
}

// Lists the archive in the host and fetches every entry in archive order, each against what
// tar -x made of it: the same names, sizes and bytes, and every file tar made listed.
void ExpectHostExtractsAsTar(CPluginTable& table, const std::string& archive) {
    SCOPED_TRACE(archive);
    auto expected = ReferenceTree(archive);
    ASSERT_GE(expected.size(), 3u) << "tar's copy is missing";
    std::string path = Fixtures() + archive;
    ListedArchive archiveListed;
    ListInto(table, path, &archiveListed);
    ASSERT_GE(archiveListed.slot, 0);
    std::set<std::string> listed;
    for (const ListedEntry& entry : archiveListed.entries) {
        std::string name = JoinedName(entry);
        SCOPED_TRACE(name);
        auto item = expected.find(name);
        ASSERT_NE(item, expected.end()) << "tar made no such file";
        listed.insert(name);
        if (item->second.isFolder) continue;
        std::string bytes = testsupport::ReadBytes(item->second.fullPath);
        ASSERT_EQ(entry.unpackedSize, bytes.size());
        PluginBlock fetched;
        ASSERT_EQ(table.FetchEntry(archiveListed, entry, &fetched), 0);
        const char* fetchedBytes = reinterpret_cast<const char*>(fetched.Bytes());
        EXPECT_TRUE(bytes.empty() || (fetchedBytes && std::string(fetchedBytes, bytes.size()) == bytes))
            << "the bytes differ from tar's";
    }
    for (const auto& item : expected)
        EXPECT_TRUE(listed.count(item.first) || item.second.isFolder) << item.first << " is not listed";
}

// The four bundled plug-ins, as Varnito loads them.
std::vector<std::string> AllPlugins() {
    return {Bundled("zip", "Zip"), Bundled("lha", "Lha"), PluginPath("7z"), PluginPath("Tar")};
}

// The name of piece `number` of a set: "name.001" for 1.
std::string PieceName(const std::string& name, size_t number) {
    char suffix[16];
    snprintf(suffix, sizeof suffix, ".%03u", static_cast<unsigned>(number));
    return name + suffix;
}

// A set of pieces (pieces\<name>.001, ...), copied into `folder`; the number of pieces.
size_t CopyPieces(const std::string& name, const TempDir& folder) {
    size_t count = 0;
    for (;; ++count) {
        std::string piece = Fixtures() + "pieces\\" + PieceName(name, count + 1);
        if (GetFileAttributesA(piece.c_str()) == INVALID_FILE_ATTRIBUTES) return count;
        EXPECT_TRUE(CopyFileA(piece.c_str(), (folder / PieceName(name, count + 1)).c_str(), FALSE)) << piece;
    }
}

// The split ZIP pieces\split.zip with its .z pieces, copied into `folder`; the number of .z pieces.
size_t CopySplitZip(const TempDir& folder) {
    std::string pieces = Fixtures() + "pieces\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((pieces + "split.z*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    size_t count = 0;
    do {
        std::string name = found.cFileName;
        EXPECT_TRUE(CopyFileA((pieces + name).c_str(), (folder / name).c_str(), FALSE)) << name;
        if (name != "split.zip") ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

// The last entry with content.
const ListedEntry* LastFile(const EntryList& entries) {
    const ListedEntry* last = nullptr;
    for (const ListedEntry& entry : entries)
        if (entry.fileName[0] != '\0' && entry.unpackedSize > 0) last = &entry;
    return last;
}

}  // namespace

// 7-Zip's volumes, and a TAR, a .tar.gz and a ZIP cut by split: each opened through its first
// piece and read as the whole archive by the plug-in its first piece's bytes choose.
TEST(ArchivesInHost, ArchivesInNumberedPiecesReadAsOneFile) {
    Host host(AllPlugins());
    std::string pieces = Fixtures() + "pieces\\";
    ExpectSameAsReferenceInHost(host, pieces + "volumes.7z.001", "volumes.7z", "7z");
    ExpectSameAsReferenceInHost(host, pieces + "gnu.tar.001", "gnu.tar", "Tar");
    ExpectSameAsReferenceInHost(host, pieces + "gnu.tar.gz.001", "gnu.tar.gz", "Tar");
    ExpectSameAsReferenceInHost(host, pieces + "pieces.zip.001", "pieces.zip", "Zip");
}

// Names in UTF-16 (7z) and UTF-8 (pax), decomposed or with characters code page 932 lacks,
// come to the host as Windows should name the files.
TEST(ArchivesInHost, UnicodeNamesComeOutComposedInCodePage932) {
    Host host(AllPlugins());
    ExpectSameAsReferenceInHost(host, Fixtures() + "names.7z", "names.7z", "7z");
    ExpectSameAsReferenceInHost(host, Fixtures() + "names.tar", "names.tar", "Tar");
}

// A later piece is no archive to any plug-in; a set with a piece missing in the middle, or with
// a piece one byte short, is refused rather than read as a shorter file. After listing, a piece
// added after the last changes the set the plug-in keeps open (it now holds a short piece before
// its last), and a piece that goes away while the plug-in had another archive open: either way
// the fetch of what the set held fails.
TEST(ArchivesInHost, AnIncompleteSetOfPiecesIsRefused) {
    Host host(AllPlugins());
    for (auto set : {std::make_pair("volumes.7z", "default.7z"), std::make_pair("gnu.tar", "gnu.tar"),
                     std::make_pair("gnu.tar.gz", "gnu.tar.gz"), std::make_pair("pieces.zip", "pieces.zip")}) {
        const std::string name = set.first;
        SCOPED_TRACE(name);
        ListedArchive entries;
        {
            TempDir folder;
            ASSERT_GE(CopyPieces(name, folder), 3u);
            std::string first = folder / PieceName(name, 1), second = folder / PieceName(name, 2);
            EXPECT_EQ(ListInto(*host.table, second, &entries).result, NoPluginAccepts);
            std::string bytes = testsupport::ReadBytes(second);
            ASSERT_TRUE(testsupport::WriteBytes(second, bytes.substr(0, bytes.size() - 1)));
            EXPECT_FALSE(ListInto(*host.table, first, &entries).Listed()) << "a piece one byte short";
            ASSERT_TRUE(DeleteFileA(second.c_str()));
            EXPECT_FALSE(ListInto(*host.table, first, &entries).Listed()) << "a missing piece";
        }
        TempDir folder;
        size_t count = CopyPieces(name, folder);
        std::string first = folder / PieceName(name, 1), added = folder / PieceName(name, count + 1);
        int slot = ListInto(*host.table, first, &entries).slot;
        ASSERT_GE(slot, 0);
        const ListedEntry* lastFile = LastFile(entries.entries);
        ASSERT_NE(lastFile, nullptr);
        PluginBlock fetched;
        ASSERT_TRUE(CopyFileA(first.c_str(), added.c_str(), FALSE));
        EXPECT_NE(host.table->FetchEntry(entries, *lastFile, &fetched), 0) << "a piece added";
        ASSERT_TRUE(DeleteFileA(added.c_str()));

        ASSERT_EQ(ListInto(*host.table, first, &entries).slot, slot);
        lastFile = LastFile(entries.entries);
        ListedArchive other;
        ASSERT_EQ(ListInto(*host.table, (Fixtures() + set.second), &other).slot, slot);
        ASSERT_TRUE(DeleteFileA((folder / PieceName(name, count)).c_str()));
        EXPECT_NE(host.table->FetchEntry(entries, *lastFile, &fetched), 0) << "a piece gone";
    }
}

// A split ZIP is opened through its .zip, the last piece, and read as the whole archive: entries
// on earlier pieces, and big.bin across many of them.
TEST(ArchivesInHost, ASplitZipIsReadThroughItsZip) {
    Host host(AllPlugins());
    ExpectSameAsReferenceInHost(host, Fixtures() + "pieces\\split.zip", "split.zip", "Zip");
}

// A .z piece is no archive to any plug-in. A split ZIP with a piece one byte short, a piece missing
// in the middle, or without its first piece, is refused; a piece that goes away after listing
// makes the fetch fail.
TEST(ArchivesInHost, AnIncompleteSplitZipIsRefused) {
    Host host(AllPlugins());
    ListedArchive entries;
    {
        TempDir folder;
        ASSERT_GE(CopySplitZip(folder), 5u);
        std::string zip = folder / "split.zip", second = folder / "split.z02";
        EXPECT_EQ(ListInto(*host.table, (folder / "split.z01"), &entries).result, NoPluginAccepts);
        EXPECT_EQ(ListInto(*host.table, second, &entries).result, NoPluginAccepts);
        std::string bytes = testsupport::ReadBytes(second);
        ASSERT_TRUE(testsupport::WriteBytes(second, bytes.substr(0, bytes.size() - 1)));
        EXPECT_FALSE(ListInto(*host.table, zip, &entries).Listed()) << "a piece one byte short";
        ASSERT_TRUE(DeleteFileA(second.c_str()));
        EXPECT_FALSE(ListInto(*host.table, zip, &entries).Listed()) << "a missing piece";
        ASSERT_TRUE(DeleteFileA((folder / "split.z01").c_str()));
        EXPECT_FALSE(ListInto(*host.table, zip, &entries).Listed()) << "the first piece missing";
    }
    TempDir folder;
    CopySplitZip(folder);
    std::string zip = folder / "split.zip";
    int slot = ListInto(*host.table, zip, &entries).slot;
    ASSERT_GE(slot, 0);
    const ListedEntry* lastFile = LastFile(entries.entries);
    ASSERT_NE(lastFile, nullptr);
    ListedArchive other;
    ASSERT_EQ(ListInto(*host.table, (Fixtures() + "pieces\\pieces.zip.001"), &other).slot, slot);
    ASSERT_TRUE(DeleteFileA((folder / "split.z03").c_str()));
    PluginBlock fetched;
    EXPECT_NE(host.table->FetchEntry(entries, *lastFile, &fetched), 0) << "a piece gone";
}

TEST(ArchivesInHost, EachArchiveGoesToItsPluginByContent) {
    Host host(AllPlugins());
    int sevenZip = host.SlotOf(PluginFile("7z")), tar = host.SlotOf(PluginFile("Tar"));
    ASSERT_GE(sevenZip, 0);
    ASSERT_GE(tar, 0);
    TempDir renamed;
    // Names that say nothing: the first bytes decide.
    for (auto archive : {std::make_pair("default.7z", sevenZip), std::make_pair("gnu.tar", tar),
                         std::make_pair("bsd.tgz", tar), std::make_pair("gnu.tar.bz2", tar),
                         std::make_pair("gnu.tar.xz", tar), std::make_pair("lone.bin.xz", tar)}) {
        SCOPED_TRACE(archive.first);
        std::string copy = renamed / (std::string(archive.first) + ".dat");
        ASSERT_TRUE(CopyFileA((Fixtures() + archive.first).c_str(), copy.c_str(), FALSE));
        ListedArchive entries;
        EXPECT_EQ(ListInto(*host.table, copy, &entries).slot, archive.second);
    }
}

// A solid 7z archive of 5,000 entries, listed and extracted entry by entry in archive order
// as the host does, decodes its one block once; a .tar.xz of the same files decompresses once
// to list and once to extract. Going back starts again.
TEST(ArchivesInHost, ASolidArchiveIsDecodedOncePerRunInArchiveOrder) {
    for (auto plugin :
         {std::make_pair("sevenzip_counting", "many.7z"), std::make_pair("tar_counting", "many.tar.xz")}) {
        SCOPED_TRACE(plugin.second);
        std::string path = testsupport::ExeFolder() + "counting\\" + PluginFile(plugin.first);
        Host host({path});
        HMODULE module = host.table->Slot(0).module;
        ASSERT_NE(module, nullptr);
        auto starts = reinterpret_cast<PluginStartsFn>(reinterpret_cast<void*>(GetProcAddress(module, "PluginStarts")));
        ASSERT_NE(starts, nullptr);
        bool isTar = std::string(plugin.second).find(".tar") != std::string::npos;
        unsigned before = starts();
        std::string archive = Fixtures() + plugin.second;
        EXPECT_GE(FetchAll(*host.table, archive), 5000u);
        EXPECT_EQ(starts() - before, isTar ? 2u : 1u);

        ListedArchive entries;
        ASSERT_EQ(ListInto(*host.table, archive, &entries).slot, 0);
        size_t early = 10;
        while (early < entries.entries.size() && entries.entries[early].fileName[0] == '\0') ++early;
        ASSERT_LT(early, entries.entries.size());
        PluginBlock again;
        EXPECT_EQ(host.table->FetchEntry(entries, entries.entries[early], &again), 0);
        EXPECT_EQ(starts() - before, isTar ? 3u : 2u) << "an entry behind the decoder starts again";
    }
}

// Sparse files as GNU tar (old GNU headers with two extension blocks of regions, pax 0.0, 0.1
// and 1.0) and bsdtar write them come out whole, holes as zeros, under their real names, and
// the file after them is still there.
TEST(ArchivesInHost, SparseFilesComeOutWholeInEveryForm) {
    Host host({PluginPath("Tar")});
    for (const char* archive : {"sparse-gnu.tar", "sparse-pax0.0.tar", "sparse-pax0.1.tar", "sparse-pax1.0.tar",
                                "sparse-bsd.tar", "sparse-gnu.tar.xz"})
        ExpectHostExtractsAsTar(*host.table, archive);
}

// Hard links in a .tar.xz extracted in archive order (200 files each followed by a link to it,
// 30 links to one file, and a file larger than the plug-in keeps of links' targets followed by
// its link): the stream decompresses once to list, once for the entries in order and once more
// for the large file's link, rather than starting again at every link and the entry after it.
TEST(ArchivesInHost, HardLinksInACompressedTarDoNotStartTheStreamAgain) {
    Host host({testsupport::ExeFolder() + "counting\\" + PluginFile("tar_counting")});
    HMODULE module = host.table->Slot(0).module;
    ASSERT_NE(module, nullptr);
    auto starts = reinterpret_cast<PluginStartsFn>(reinterpret_cast<void*>(GetProcAddress(module, "PluginStarts")));
    ASSERT_NE(starts, nullptr);
    unsigned before = starts();
    ExpectHostExtractsAsTar(*host.table, "links.tar.xz");
    EXPECT_EQ(starts() - before, 3u);
}
