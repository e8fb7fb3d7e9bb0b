#include "tests/archives/ArchiveFixtures.h"
#include <gtest/gtest.h>
#include <zlib.h>
#include "tests/support/TestSupport.h"

namespace archivetest {
namespace {

int64_t UnixTime(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<int64_t>(value.QuadPart / 10000000) - 11644473600LL;
}

void Collect(const std::string& root, const std::string& prefix, std::map<std::string, ReferenceItem>* items) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((root + prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        std::string joined = prefix + name + (isFolder ? "\\" : "");
        (*items)[joined] = {root + joined, isFolder, UnixTime(found.ftLastWriteTime)};
        if (isFolder) Collect(root, joined, items);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

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

std::map<std::string, ReferenceItem> ReferenceTree(const std::string& archive) {
    std::map<std::string, ReferenceItem> items;
    Collect(Fixtures() + "expected\\" + archive + "\\", "", &items);
    return items;
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
    std::map<std::string, ReferenceItem> expected = ReferenceTree(archive);
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
