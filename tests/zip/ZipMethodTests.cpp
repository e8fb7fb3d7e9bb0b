// Entries packed with Deflate64, bzip2, LZMA, xz and Zstandard, as 7-Zip and Info-ZIP write them
// (Zstandard entries by the fixture script around Debian's zstd): the
// plug-in gives the bytes the reference tool extracts, names the method, and refuses damage.
#include <gtest/gtest.h>
#include <cstring>
#include <map>
#include "tests/support/TestSupport.h"
#include "tests/zip/UnzippedTree.h"
#include "tests/zip/ZipPluginLoader.h"

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

struct MethodArchive {
    const char* name;    // method-<name>.zip, extracted by 7-Zip into (or packed from) expected\method-<name>
    const char* method;  // the method column's text for its packed entries
};

const MethodArchive MethodArchives[] = {
    {"deflate64", "Deflat64"}, {"bzip2", "BZip2"}, {"lzma", "LZMA"}, {"lzma-sized", "LZMA"}, {"xz", "XZ"},
    {"zstd", "Zstd"}};

std::string MethodText(const ArchiveEntry& entry) {
    const char* text = reinterpret_cast<const char*>(entry.method);
    return std::string(text, strnlen(text, sizeof entry.method));
}

// Every file entry comes out as the reference tool extracted it; returns how many entries
// carried `method`.
int ExpectSameBytes(const std::string& archive, const std::string& expectedName, const std::string& method) {
    std::map<std::string, UnzippedItem> expected = UnzippedTree(expectedName);
    Listing listing = ListArchive(archive);
    EXPECT_EQ(listing.result, 0);
    size_t files = 0, listedFiles = 0;
    for (const auto& item : expected) files += !item.second.isFolder;
    int packed = 0;
    for (const ArchiveEntry& entry : listing.entries) {
        std::string name = JoinedName(entry);
        SCOPED_TRACE(name);
        auto item = expected.find(name);
        if (item == expected.end()) {
            ADD_FAILURE() << "the reference tool made no such file";
            continue;
        }
        if (item->second.isFolder) continue;
        ++listedFiles;
        packed += MethodText(entry) == method;
        Fetched fetched = FetchEntry(archive, entry.position);
        EXPECT_EQ(fetched.result, 0);
        EXPECT_TRUE(fetched.bytes == ReadBytes(item->second.fullPath)) << "the bytes differ";
    }
    EXPECT_EQ(listedFiles, files);
    return packed;
}

}  // namespace

TEST(ZipMethods, EntriesOfEveryCodecMethodMatchTheReferenceTool) {
    for (const MethodArchive& archive : MethodArchives) {
        SCOPED_TRACE(archive.name);
        std::string name = std::string("method-") + archive.name;
        EXPECT_GE(ExpectSameBytes(Fixtures() + name + ".zip", name, archive.method), 2)
            << "the text and the large file are packed with the method";
    }
    SCOPED_TRACE("bzip2 by Info-ZIP's zip");
    EXPECT_EQ(ExpectSameBytes(Fixtures() + "bzip2.zip", "bzip2", "BZip2"), 1);
}

TEST(ZipMethods, DamagedCodecEntriesAreBrokenData) {
    TempDir folder;
    for (const MethodArchive& archive : MethodArchives) {
        SCOPED_TRACE(archive.name);
        std::string name = std::string("method-") + archive.name + ".zip";
        Listing listing = ListArchive(Fixtures() + name);
        const ArchiveEntry* big = FindEntry(listing, "tree\\big.bin");
        ASSERT_NE(big, nullptr);
        std::string bytes = ReadBytes(Fixtures() + name);
        // The large entry fills most of the archive: its packed data spans the middle. Each
        // damaged copy has a name of its own, as the plug-in keeps the last archive open.
        for (size_t at : {bytes.size() / 3, bytes.size() / 2}) {
            std::string damaged = bytes, copy = folder / (std::to_string(at) + name);
            damaged[at] ^= 0x10;
            ASSERT_TRUE(WriteBytes(copy, damaged));
            Fetched fetched = FetchEntry(copy, big->position);
            EXPECT_EQ(fetched.result, 3) << "damage at " << at;
            EXPECT_FALSE(fetched.handed);
        }
    }
}
