// Archives made by jlha (and by make_archives.py what no Debian tool writes), listed and
// unpacked through the plug-in's exports, compared with what lhasa extracted from them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <set>
#include "tests/lha/LhaPluginLoader.h"
#include "tests/support/TestSupport.h"

using namespace lhatest;

namespace {

class ReferenceArchives : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ASSERT_TRUE(plugin.Loaded()) << PluginPath();
        archive = DataFolder() + GetParam() + ".lzh";
        reference = ReadReference(GetParam());
        ASSERT_FALSE(reference.empty()) << "no reference for " << GetParam();
    }

    LhaPlugin plugin;
    std::string archive;
    std::map<std::string, Reference> reference;
};

TEST_P(ReferenceArchives, ListsEveryFileLhasaExtractsWithItsSizeAndTime) {
    int result = -99;
    std::vector<ArchiveEntry> entries = plugin.List(archive, &result);
    EXPECT_EQ(result, 0);
    std::set<std::string> listedFiles;
    for (const ArchiveEntry& entry : entries) {
        const std::string name = JoinedName(entry);
        auto found = reference.find(name);
        ASSERT_NE(found, reference.end()) << "not extracted by lhasa: " << name;
        if (entry.fileName[0] == '\0') {
            EXPECT_TRUE(found->second.isFolder) << name;
            EXPECT_EQ(MethodOf(entry), "-lhd-");
            EXPECT_EQ(entry.path[strlen(entry.path) - 1], '\\') << name;
            continue;
        }
        listedFiles.insert(name);
        EXPECT_EQ(entry.unpackedSize, found->second.size) << name;
        if (!found->second.isLink) {
            EXPECT_EQ(entry.timestamp, found->second.mtime) << name;
        }
    }
    for (const auto& [name, ref] : reference) {
        if (!ref.isFolder) {
            EXPECT_EQ(listedFiles.count(name), 1u) << "not listed: " << name;
        }
    }
}

TEST_P(ReferenceArchives, UnpacksEveryFileToMemoryAsLhasaDoes) {
    int result = -99;
    std::vector<ArchiveEntry> entries = plugin.List(archive, &result);
    ASSERT_EQ(result, 0);
    size_t files = 0;
    for (const ArchiveEntry& entry : entries) {
        if (entry.fileName[0] == '\0') continue;
        const Reference& ref = reference[JoinedName(entry)];
        std::string bytes = plugin.Fetch(archive, entry.position, &result);
        ASSERT_EQ(result, 0) << JoinedName(entry);
        ASSERT_GE(bytes.size(), entry.unpackedSize);
        EXPECT_TRUE(bytes.substr(0, entry.unpackedSize) == ref.bytes) << JoinedName(entry);
        ++files;
    }
    size_t referenceFiles = 0;
    for (const auto& named : reference) referenceFiles += named.second.isFolder ? 0 : 1;
    EXPECT_EQ(files, referenceFiles);
}

TEST_P(ReferenceArchives, GetFileInfoFindsEachEntryByItsJoinedName) {
    int result = -99;
    std::vector<ArchiveEntry> entries = plugin.List(archive, &result);
    ASSERT_FALSE(entries.empty());
    for (const ArchiveEntry& listed : entries) {
        ArchiveEntry found = {};
        const std::string name = JoinedName(listed);
        ASSERT_EQ(plugin.getFileInfo(archive.c_str(), 0, name.c_str(), 0, &found), 0) << name;
        EXPECT_EQ(memcmp(&found, &listed, sizeof found), 0) << name;
    }
    ArchiveEntry none = {};
    EXPECT_NE(plugin.getFileInfo(archive.c_str(), 0, "no-such-entry.txt", 0, &none), 0);
}

INSTANTIATE_TEST_SUITE_P(Made, ReferenceArchives, testing::ValuesIn(ArchiveNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name) c = c == '-' ? '_' : c;
                             return name;
                         });

// What the archives hold, independent of lhasa: methods, the Shift-JIS names and the split
// into folder and file name.
TEST(ReferenceArchiveContents, MethodsNamesAndFoldersAreAsStored) {
    LhaPlugin plugin;
    ASSERT_TRUE(plugin.Loaded());
    for (const std::string& name : MethodArchiveNames()) {
        int result = -99;
        std::vector<ArchiveEntry> entries = plugin.List(DataFolder() + name + ".lzh", &result);
        std::map<std::string, const ArchiveEntry*> byName;
        for (const ArchiveEntry& entry : entries) byName[JoinedName(entry)] = &entry;

        const std::string method = "-lh" + name.substr(name.size() - 1) + "-";
        ASSERT_TRUE(byName.count("big.txt")) << name;
        EXPECT_EQ(MethodOf(*byName["big.txt"]), method) << name;
        EXPECT_LT(byName["big.txt"]->packedSize, byName["big.txt"]->unpackedSize / 4) << name;
        ASSERT_TRUE(byName.count("empty.bin")) << name;
        EXPECT_EQ(byName["empty.bin"]->unpackedSize, 0u);

        const std::string sjisFolderFile = "dir\\\x8e\x91\x97\xbf\\data.txt";   // dir\資料\data.txt
        ASSERT_TRUE(byName.count(sjisFolderFile)) << name;
        EXPECT_STREQ(byName[sjisFolderFile]->path, "dir\\\x8e\x91\x97\xbf\\") << name;
        EXPECT_TRUE(byName.count("\x93\xfa\x96\x7b.txt")) << name;

        ASSERT_TRUE(byName.count("dir\\sub\\")) << name;
        EXPECT_STREQ(byName["dir\\sub\\"]->fileName, "");
        EXPECT_EQ(byName["dir\\sub\\"]->unpackedSize, 0u);
    }
}

// 表 (0x95 0x5C) and ソ (0x83 0x5C) end in the byte of '\', which is no separator there.
TEST(ReferenceArchiveContents, DoubleByteCharactersEndingIn5CStayWhole) {
    LhaPlugin plugin;
    ASSERT_TRUE(plugin.Loaded());
    for (int level = 0; level <= 2; ++level) {
        int result = -99;
        std::vector<ArchiveEntry> entries = plugin.List(DataFolder() + "dbcs-l" + std::to_string(level) + ".lzh", &result);
        std::vector<std::pair<std::string, std::string>> split;
        for (const ArchiveEntry& entry : entries) split.emplace_back(entry.path, entry.fileName);
        EXPECT_THAT(split, testing::UnorderedElementsAre(
                               testing::Pair("\x95\x5c\x8e\xa6\\", ""),
                               testing::Pair("\x95\x5c\x8e\xa6\\", "readme.txt"),
                               testing::Pair("\x95\x5c\x8e\xa6\\", "\x83\x5c\x81\x5b\x83\x58.txt")))
            << "level " << level;
    }
}

}  // namespace
