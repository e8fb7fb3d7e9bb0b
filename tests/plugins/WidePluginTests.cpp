// A third-party plug-in of the published wide extension (the fixture's wide variant), called
// straight through its exports as a host of that extension would call it.
#include <gtest/gtest.h>
#include <windows.h>
#include <cwchar>
#include <string>
#include <vector>
#include "plugins/SusiePlugin.h"
#include "tests/fixture/FixtureControl.h"
#include "tests/support/PluginTestFolder.h"
#include "tests/support/SpiLibrary.h"
#include "tests/support/TestSupport.h"

namespace {

// The script and its names are UTF-8 (u8 literals keep that in a code page 932 build).
const std::wstring OutsideCp932Folder = L"데이터\\";
const std::wstring OutsideCp932Name = L"José 😀.txt";
const std::wstring LongNameUnit = L"ㄱ";
std::string Script() {
    std::string longName;
    for (int i = 0; i < 250; ++i) longName += u8"ㄱ";
    return std::string(u8"entry path=데이터\\\\|name=José 😀.txt|data=hello\n") +
           u8"entry path=表\\\\|name=ソ.txt|data=abc\n" + "entry name=" + longName + "|data=x\n";
}

std::wstring Field(const wchar_t (&field)[200]) { return std::wstring(field, wcsnlen(field, 200)); }

template <typename T>
T Export(HMODULE module, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The records of a wide list block before its terminator, read within the block's size.
std::vector<ArchiveEntryW> WideRecords(HLOCAL block) {
    std::vector<ArchiveEntryW> records;
    size_t size = LocalSize(block);
    const char* bytes = static_cast<const char*>(LocalLock(block));
    for (size_t at = 0; bytes && at + sizeof(ArchiveEntryW) <= size && bytes[at]; at += sizeof(ArchiveEntryW)) {
        records.emplace_back();
        memcpy(&records.back(), bytes + at, sizeof(ArchiveEntryW));
    }
    LocalUnlock(block);
    return records;
}

class WidePlugin : public testing::Test {
protected:
    WidePlugin()
        : path(plugins.Add(testsupport::PluginFile("wide"), "fixture_wide", u8"info ワイド 와이드\n")), spi(path),
          probe(path) {}

    PluginTestFolder plugins;
    std::string path;
    SpiLibrary spi;
    fixture::FixtureProbe probe;
};

}  // namespace

TEST_F(WidePlugin, HasTheWideExportsBesideTheAnsiOnesButNotOurOwnList) {
    ASSERT_TRUE(spi.module && spi.getArchiveInfo && spi.getArchiveInfoW);
    for (const char* name : {"GetPluginInfoW", "IsSupportedW", "GetArchiveInfoW", "GetFileInfoW", "GetFileW"})
        EXPECT_NE(GetProcAddress(spi.module, name), nullptr) << name;
    EXPECT_EQ(GetProcAddress(spi.module, "GetArchiveListW"), nullptr);
}

TEST_F(WidePlugin, TheWideExportsGiveTheNamesInUtf16AndCountAsTheWideSet) {
    ASSERT_TRUE(spi.module && spi.getArchiveInfo && spi.getArchiveInfoW);
    testsupport::TempDir archives;
    const std::wstring archive = testsupport::MakeFolder(archives, L"데이터😀") + L"a.fix";
    ASSERT_TRUE(testsupport::WriteBytes(archive, "#fixture\n" + Script()));

    wchar_t info[64] = {};
    EXPECT_GT(Export<GetPluginInfoWFn>(spi.module, "GetPluginInfoW")(1, info, 64), 0);
    const std::wstring infoText = L"ワイド 와이드";
    EXPECT_EQ(std::wstring(info), infoText);

    HLOCAL block = nullptr;
    ASSERT_EQ(Export<GetArchiveInfoWFn>(spi.module, "GetArchiveInfoW")(archive.c_str(), 0, 0, &block), 0);
    ASSERT_NE(block, nullptr);
    std::vector<ArchiveEntryW> records = WideRecords(block);
    LocalFree(block);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(Field(records[0].path), OutsideCp932Folder);
    EXPECT_EQ(Field(records[0].fileName), OutsideCp932Name);
    EXPECT_EQ(std::wstring(records[2].fileName, 200), std::wstring(200, LongNameUnit[0])) << "no terminator";
    EXPECT_EQ(records[2].crc, 0xC0DE0002u) << "the field ends where it must";

    const std::wstring joined = OutsideCp932Folder + OutsideCp932Name;
    ArchiveEntryW described = {};
    auto getFileInfoW = Export<GetFileInfoWFn>(spi.module, "GetFileInfoW");
    ASSERT_EQ(getFileInfoW(archive.c_str(), 0, joined.c_str(), 0, &described), 0);
    EXPECT_EQ(described.position, records[0].position);
    EXPECT_EQ(probe.LastInfoNameW(), joined);

    ASSERT_EQ(Export<GetFileWFn>(spi.module, "GetFileW")(archive.c_str(), records[0].position,
                                                         reinterpret_cast<LPWSTR>(&block), SpiOutputToMemory,
                                                         nullptr, 0),
              0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(LocalLock(block)), LocalSize(block)), "hello");
    LocalUnlock(block);
    LocalFree(block);

    for (const char* name : {"GetPluginInfoW", "GetArchiveInfoW", "GetFileInfoW", "GetFileW"})
        EXPECT_EQ(probe.Calls(name), 1) << name;
    for (const char* name : {"GetPluginInfo", "GetArchiveInfo", "GetFileInfo", "GetFile"})
        EXPECT_EQ(probe.Calls(name), 0) << name;
}

TEST_F(WidePlugin, TheAnsiExportsGiveCodePage932WhereItSpellsTheName) {
    ASSERT_TRUE(spi.module && spi.getArchiveInfo && spi.getArchiveInfoW);
    char info[64] = {};
    EXPECT_GT(spi.getPluginInfo(1, info, sizeof info), 0);
    EXPECT_STREQ(info, "ワイド ???");

    SpiListing listing = spi.List(plugins.Archive("a.fix", Script()));
    ASSERT_EQ(listing.result, 0);
    ASSERT_EQ(listing.entries.size(), 3u);
    EXPECT_EQ(std::string(listing.entries[0].path), "???\\");
    EXPECT_EQ(JoinedName(listing.entries[1]), "表\\ソ.txt");
    EXPECT_EQ(std::string(listing.entries[2].fileName, 200), std::string(200, '?')) << "no terminator";
    EXPECT_EQ(probe.Calls("GetArchiveInfo"), 1);
    EXPECT_EQ(probe.Calls("GetArchiveInfoW"), 0);
}
