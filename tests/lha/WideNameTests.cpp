// LHA names through the wide exports and GetArchiveListW: UTF-8 names as LHa for UNIX stores
// them in a UTF-8 locale (jlha cannot write them, so the archives are made byte by byte here),
// code page 932 names as LHA archivers on Windows store them, and a path longer than the records.
#include <gtest/gtest.h>
#include "tests/lha/LhaBytes.h"
#include "tests/lha/LhaPluginLoader.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WideFiles.h"
#include "tests/support/WideNames.h"

using namespace lhatest;
using testsupport::Utf8;
using testsupport::WidePath;

namespace {

class WideNames : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(plugin.Loaded()) << PluginPath(); }

    std::wstring Write(const std::string& name, const std::string& members) {
        std::string path = folder / name;
        EXPECT_TRUE(testsupport::WriteBytes(path, members + '\0'));
        return WidePath(path);
    }

    LhaPlugin plugin;
    testsupport::TempDir folder;
};

TEST_F(WideNames, Utf8NamesComeOutAsStored) {
    std::string members;
    for (const std::wstring& name : widenames::SixNames())
        members += Stored2("six", Utf8(name), widenames::Content(name));
    widenames::ExpectSixNames(plugin, Write("six.lzh", members));
}

TEST_F(WideNames, APathOfOver300CharactersIsListedInFullAndWritten) {
    std::wstring deep = widenames::DeepName();
    size_t split = deep.rfind(L'\\');
    std::string folderPart = Utf8(deep.substr(0, split)), file = Utf8(deep.substr(split + 1));
    for (char& c : folderPart)
        if (c == '\\') c = '/';
    std::wstring archive = Write("deep.lzh", Stored2(folderPart, file, widenames::DeepContent()) +
                                                 Stored2("deep", "package.json", widenames::Content(L"package.json")));
    widenames::ExpectDeepTree(plugin, archive);
}

// 0x5C is the second byte of both 表 and ソ: the wide names are the characters, not a folder.
TEST_F(WideNames, CodePage932NamesComeOutAsTheirCharacters) {
    std::wstring archive = Write("sjis.lzh", Stored0("ソフト\\表ソ.txt", "x") + Stored2("ソフト", "表.txt", "y"));
    SpiFullListing listing = plugin.ListFull(archive);
    ASSERT_TRUE(listing.wellFormed);
    ASSERT_EQ(listing.entries.size(), 2u);
    EXPECT_EQ(JoinedName(listing.entries[0]), L"\u30BD\u30D5\u30C8\\\u8868\u30BD.txt");
    EXPECT_EQ(JoinedName(listing.entries[1]), L"\u30BD\u30D5\u30C8\\\u8868.txt");
    int result = -99;
    std::vector<ArchiveEntry> ansi = plugin.List(Utf8(archive), &result);
    ASSERT_EQ(ansi.size(), 2u);
    EXPECT_EQ(JoinedName(ansi[0]), "ソフト\\表ソ.txt");
}

// LHA names are found in their own letter case, or in any when the host asks (flag 0x80).
TEST_F(WideNames, FoundInTheirOwnCaseOrAsciiLettersInAnyWhenAsked) {
    std::wstring archive = Write("case.lzh", Stored2("six", Utf8(L"caf\u00E9.txt"), "c"));
    ArchiveEntryW entry = {};
    EXPECT_EQ(plugin.getFileInfoW(archive.c_str(), 0, L"six/caf\u00E9.txt", 0, &entry), 0);
    EXPECT_NE(plugin.getFileInfoW(archive.c_str(), 0, L"SIX\\CAF\u00E9.TXT", 0, &entry), 0);
    EXPECT_EQ(plugin.getFileInfoW(archive.c_str(), 0, L"SIX\\CAF\u00E9.TXT", 0x80, &entry), 0);
    EXPECT_NE(plugin.getFileInfoW(archive.c_str(), 0, L"six\\caf\u00C9.txt", 0x80, &entry), 0);
}

}  // namespace
