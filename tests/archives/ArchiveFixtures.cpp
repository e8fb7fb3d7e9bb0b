#include "tests/archives/ArchiveFixtures.h"
#include <gtest/gtest.h>
#include <zlib.h>
#include "tests/support/TestSupport.h"

namespace archivetest {

std::string Fixtures() { return testsupport::ExeFolder() + "archive_fixtures\\"; }

std::string PluginPath(const std::string& base) {
    std::string folder = base == "7z" ? "sevenzip" : "tar";
    return testsupport::ExeFolder() + "..\\spi\\" + folder + "\\" + testsupport::PluginFile(base);
}

const SpiLibrary& SevenZip() {
    static SpiLibrary plugin(PluginPath("7z"));
    return plugin;
}

const SpiLibrary& Tar() {
    static SpiLibrary plugin(PluginPath("Tar"));
    return plugin;
}

std::map<std::string, testsupport::ExtractedItem> ReferenceTree(const std::string& archive) {
    return testsupport::ExtractedTree(Fixtures() + "expected\\" + archive + "\\");
}

const ArchiveEntry* FindEntry(const SpiListing& listing, const std::string& joinedName) {
    for (const ArchiveEntry& entry : listing.entries)
        if (JoinedName(entry) == joinedName) return &entry;
    return nullptr;
}

uint32_t Crc32(const std::string& bytes) {
    return static_cast<uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

void ExpectSameAsReference(const SpiLibrary& plugin, const std::string& archive, bool checksCrc) {
    SCOPED_TRACE(archive);
    auto expected = ReferenceTree(archive);
    ASSERT_GE(expected.size(), 3u) << "the reference tool's copy is missing";
    SpiListing listing = plugin.List(Fixtures() + archive);
    ASSERT_EQ(listing.result, 0);
    std::map<std::string, bool> listed;
    for (const ArchiveEntry& entry : listing.entries) {
        std::string name = JoinedName(entry);
        SCOPED_TRACE(name);
        listed[name] = true;
        auto item = expected.find(name);
        ASSERT_NE(item, expected.end()) << "the reference tool made no such file";
        EXPECT_EQ(entry.fileName[0] == '\0', item->second.isFolder);
        if (item->second.isFolder) continue;
        EXPECT_EQ(entry.timestamp, item->second.modified);
        std::string bytes = testsupport::ReadBytes(item->second.fullPath);
        SpiFetched fetched = plugin.Fetch(Fixtures() + archive, entry.position);
        EXPECT_EQ(fetched.result, 0);
        EXPECT_EQ(entry.unpackedSize, bytes.size());
        EXPECT_EQ(fetched.bytes.size(), bytes.size());
        EXPECT_TRUE(fetched.bytes == bytes) << "the bytes differ from the reference tool's";
        if (checksCrc) {
            EXPECT_EQ(entry.crc, Crc32(bytes));
        }
    }
    // Every file and folder the tool made is listed (folders may also come only from names).
    for (const auto& item : expected)
        EXPECT_TRUE(listed.count(item.first) || item.second.isFolder) << item.first << " is not listed";
}

}  // namespace archivetest
