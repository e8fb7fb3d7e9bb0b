// The host with a plug-in of the published wide extension (the fixture's wide variant) beside
// plug-ins of code page 932 alone: each read through its own set of exports, never both for one
// archive, and archives of any name handed to each in a form it takes.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "tests/fixture/FixtureControl.h"
#include "tests/support/PluginTestFolder.h"
#include "tests/support/TestSupport.h"

using testsupport::PluginFile;

namespace {

// UTF-8 script names (u8 literals keep that in a code page 932 build).
std::string Script() {
    std::string longName;
    for (int i = 0; i < 250; ++i) longName += u8"ㄱ";
    return std::string(u8"entry path=데이터\\\\|name=José 😀.txt|data=hello\n") + u8"entry name=简体中文.txt|data=abc\n" +
           "entry name=" + longName + "|data=x\n";
}

class WideHost : public testing::Test {
protected:
    // An archive script in a folder whose name code page 932 cannot spell.
    std::wstring ArchiveOutsideCp932(const std::string& script) {
        std::wstring archive = testsupport::MakeFolder(archives, L"아카이브😀") + L"a.fix";
        EXPECT_TRUE(testsupport::WriteBytes(archive, "#fixture\n" + script));
        return archive;
    }
    PluginResult List(CPluginTable& table, const std::wstring& archive) { return table.ListArchive(archive, &listed); }
    std::string Fetched(CPluginTable& table, size_t index) {
        PluginBlock block;
        if (table.FetchEntry(listed, listed.entries[index], &block) != PluginSucceeded) return "(failed)";
        return std::string(reinterpret_cast<const char*>(block.Bytes()), block.Size());
    }

    PluginTestFolder plugins;
    testsupport::TempDir archives;
    ListedArchive listed;
};

}  // namespace

TEST_F(WideHost, AWidePluginIsReadThroughItsWideExportsAloneWithNamesOfEveryScript) {
    fixture::FixtureProbe wide(plugins.Add(PluginFile("wide"), "fixture_wide"));
    auto table = LoadTable(plugins.Path());
    ASSERT_TRUE(table->Slot(0).wide);
    std::wstring archive = ArchiveOutsideCp932(Script());
    ASSERT_EQ(List(*table, archive), PluginSucceeded);
    ASSERT_EQ(listed.entries.size(), 2u);
    const std::wstring folder = L"데이터\\", name = L"José 😀.txt", chinese = L"简体中文.txt";
    EXPECT_EQ(std::wstring(listed.entries[0].path), folder);
    EXPECT_EQ(std::wstring(listed.entries[0].fileName), name);
    EXPECT_EQ(std::wstring(listed.entries[1].fileName), chinese);
    EXPECT_EQ(listed.entries.Unshown(), 1u) << "the name cut to its 200-unit field";
    EXPECT_EQ(Fetched(*table, 0), "hello");
    EXPECT_EQ(Fetched(*table, 1), "abc");
    for (const char* call : {"IsSupported", "GetArchiveInfo", "GetFileInfo", "GetFile"}) {
        EXPECT_EQ(wide.Calls(call), 0) << call;
        EXPECT_GE(wide.Calls((std::string(call) + "W").c_str()), call == std::string("GetFileInfo") ? 0 : 1) << call;
    }
}

// An archive whose path code page 932 cannot spell reaches a plug-in of that code page by its
// short name, and the wide plug-in after it in the table by its real one.
TEST_F(WideHost, AnAnsiPluginBesideAWideOneGetsTheArchiveByANameItCanTake) {
    fixture::FixtureProbe ansi(plugins.Add(PluginFile("a_ansi")));
    fixture::FixtureProbe wide(plugins.Add(PluginFile("b_wide"), "fixture_wide"));
    auto table = LoadTable(plugins.Path());
    ASSERT_FALSE(table->Slot(0).wide);
    ASSERT_TRUE(table->Slot(1).wide);
    std::wstring archive = ArchiveOutsideCp932("entry path=dir\\\\|name=plain.txt|data=ansi\n");
    ASSERT_EQ(List(*table, archive), PluginSucceeded);
    EXPECT_EQ(listed.slot, 0);
    EXPECT_FALSE(listed.pluginPath.empty());
    EXPECT_EQ(listed.pluginPath.find('?'), std::string::npos) << listed.pluginPath;
    ASSERT_EQ(listed.entries.size(), 1u);
    EXPECT_EQ(Fetched(*table, 0), "ansi");
    EXPECT_EQ(ansi.Calls("GetArchiveInfo"), 1);
    EXPECT_EQ(wide.Calls("IsSupportedW"), 0) << "the first plug-in took it";

    // When the first refuses, the wide one is asked with the real path.
    ASSERT_TRUE(testsupport::WriteBytes(testsupport::Narrow(table->Slot(0).fullPath) + ".cfg", "accept never\n"));
    ASSERT_EQ(List(*table, archive), PluginSucceeded);
    EXPECT_EQ(listed.slot, 1);
    EXPECT_TRUE(listed.pluginPath.empty());
    EXPECT_EQ(Fetched(*table, 0), "ansi");
    EXPECT_EQ(wide.Calls("GetArchiveInfoW"), 1);
    EXPECT_EQ(wide.Calls("GetFileW"), 1);
    EXPECT_EQ(wide.Calls("GetArchiveInfo") + wide.Calls("GetFile"), 0);
}
