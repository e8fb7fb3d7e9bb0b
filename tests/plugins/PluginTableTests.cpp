// Loading a plug-in folder: which files become slots, in which order, and what they hold.
#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "tests/support/PluginTestFolder.h"

using testsupport::PluginFile;

namespace {

std::vector<std::string> SlotNames(const CPluginTable& table, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(testsupport::Narrow(table.Slot(i).fileName));
    return names;
}

TEST(PluginTable, ArchivePluginsComeFirstAndCapitalLettersSortFirst) {
    PluginTestFolder folder;
    folder.Add(PluginFile("b"));
    folder.Add(PluginFile("Zed"));
    folder.Add(PluginFile("A_image"), "fixture_image");
    folder.Add(PluginFile("alpha"));
    folder.Add(PluginFile("Beta"));
    int count = 0;
    auto table = LoadTable(folder.Path(), &count);

    ASSERT_EQ(5, count);
    EXPECT_EQ((std::vector<std::string>{PluginFile("Beta"), PluginFile("Zed"), PluginFile("alpha"), PluginFile("b"),
                                        PluginFile("A_image")}),
              SlotNames(*table, count));
    for (int i = 0; i < count; ++i) {
        const PluginSlot& slot = table->Slot(i);
        EXPECT_EQ(i < 4 ? 1 : 0, slot.isArchive) << slot.fileName;
        EXPECT_EQ(testsupport::Wide(folder.Path()) + slot.fileName, slot.fullPath);
        EXPECT_EQ(GetModuleHandleW(slot.fullPath.c_str()), slot.module) << slot.fileName;
        EXPECT_FALSE(slot.wide) << "the fixture exports only the code page 932 set";
        EXPECT_STREQ("Varnito fixture plug-in", slot.infoText);
        EXPECT_STREQ("*.fix", slot.extensions);
    }
    for (int i = count; i < MaxPlugins; ++i) EXPECT_EQ(nullptr, table->Slot(i).module);
}

TEST(PluginTable, OnlyTheExactVersionText00INMakesAnImagePlugin) {
    PluginTestFolder folder;
    folder.Add(PluginFile("lower"), "fixture", "version 00in\n");
    folder.Add(PluginFile("empty"), "fixture", "version \n");
    folder.Add(PluginFile("image"), "fixture_image");
    // Claims to be an image plug-in but has no picture exports.
    std::string pretender = folder.Add(PluginFile("pretender"), "fixture", "version 00IN\n");
    int count = 0;
    auto table = LoadTable(folder.Path(), &count);

    ASSERT_EQ(3, count);
    EXPECT_EQ((std::vector<std::string>{PluginFile("empty"), PluginFile("lower"), PluginFile("image")}),
              SlotNames(*table, count));
    EXPECT_EQ(1, table->Slot(0).isArchive);
    EXPECT_EQ(1, table->Slot(1).isArchive);
    EXPECT_EQ(0, table->Slot(2).isArchive);
    EXPECT_EQ(nullptr, GetModuleHandleA(pretender.c_str()));
}

TEST(PluginTable, FilesThatCannotBeBoundLeaveNoSlotAndNoLibrary) {
    PluginTestFolder folder;
    std::string noIsSupported = folder.Add(PluginFile("a_noissupported"), "fixture_noissupported");
    std::string noPreview = folder.Add(PluginFile("b_nopreview"), "fixture_image_nopreview");
    testsupport::WriteBytes(folder.Path() + PluginFile("c_junk"), "not a library");
    CreateDirectoryA((folder.Path() + PluginFile("d_folder")).c_str(), nullptr);
    folder.Add(PluginFile("e_good"));
    fixture::ResetFixtureLoads();
    int count = 0;
    auto table = LoadTable(folder.Path(), &count);

    ASSERT_EQ(1, count);
    EXPECT_EQ(testsupport::Wide(PluginFile("e_good")), table->Slot(0).fileName);
    EXPECT_EQ(3, fixture::FixtureLoads());  // both rejected libraries were opened
    EXPECT_EQ(nullptr, GetModuleHandleA(noIsSupported.c_str()));
    EXPECT_EQ(nullptr, GetModuleHandleA(noPreview.c_str()));
    for (int i = 1; i < MaxPlugins; ++i) EXPECT_EQ(nullptr, table->Slot(i).module);
}

TEST(PluginTable, FolderWithOrWithoutTrailingBackslashGivesTheSameTable) {
    PluginTestFolder folder;
    folder.Add(PluginFile("one"));
    std::string upperCase = PluginFile("two");  // the search ignores the extension's case
    for (size_t i = upperCase.find('.'); i < upperCase.size(); ++i)
        upperCase[i] = static_cast<char>(toupper(static_cast<unsigned char>(upperCase[i])));
    folder.Add(upperCase);
    std::string withSlash = folder.Path();
    std::string withoutSlash = withSlash.substr(0, withSlash.size() - 1);
    int countWith = 0;
    int countWithout = 0;
    auto tableWith = LoadTable(withSlash, &countWith);
    auto tableWithout = LoadTable(withoutSlash, &countWithout);

    ASSERT_EQ(2, countWith);
    ASSERT_EQ(2, countWithout);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(tableWith->Slot(i).fileName, tableWithout->Slot(i).fileName);
        EXPECT_EQ(tableWith->Slot(i).fullPath, tableWithout->Slot(i).fullPath);
    }
    EXPECT_EQ(testsupport::Wide(withSlash + PluginFile("one")), tableWith->Slot(0).fullPath);
}

TEST(PluginTable, FolderEndingInADoubleByteCharacterGetsItsBackslash) {
    testsupport::TempDir parent;
    std::string folder = parent.path() + "ソフト表";  // "表" ends in the byte 0x5C
    ASSERT_EQ('\\', folder.back());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(fixture::FixturePath().c_str(), (folder + "\\" + PluginFile("x")).c_str(), FALSE));
    int count = 0;
    auto table = LoadTable(folder, &count);

    ASSERT_EQ(1, count);
    EXPECT_EQ(testsupport::Wide(folder + "\\" + PluginFile("x")), table->Slot(0).fullPath);
}

TEST(PluginTable, EmptyOrMissingFolderLoadsNothing) {
    PluginTestFolder folder;
    int count = -1;
    auto table = LoadTable(folder.Path(), &count);
    EXPECT_EQ(0, count);
    auto missing = LoadTable(folder.Path() + "missing", &count);
    EXPECT_EQ(0, count);
    for (int i = 0; i < MaxPlugins; ++i) EXPECT_EQ(nullptr, table->Slot(i).module);
}

TEST(PluginTable, FolderTooLongForAPathLoadsNothing) {
    std::string longFolder = "C:\\" + std::string(300, 'x');
    int count = -1;
    auto table = LoadTable(longFolder, &count);
    EXPECT_EQ(0, count);
}

TEST(PluginTable, UnloadReleasesLibrariesAndKeepsTexts) {
    PluginTestFolder folder;
    std::string first = folder.Add(PluginFile("first"), "fixture", "info First plug-in\nextensions *.one\n");
    std::string second = folder.Add(PluginFile("second"));
    int count = 0;
    auto table = LoadTable(folder.Path(), &count);
    ASSERT_EQ(2, count);

    table->Unload(1);
    EXPECT_EQ(nullptr, table->Slot(1).module);
    EXPECT_EQ(nullptr, GetModuleHandleA(second.c_str()));
    EXPECT_NE(nullptr, table->Slot(0).module);

    table->Unload(AllSlots);
    EXPECT_EQ(nullptr, table->Slot(0).module);
    EXPECT_EQ(nullptr, GetModuleHandleA(first.c_str()));
    EXPECT_EQ(testsupport::Wide(PluginFile("first")), table->Slot(0).fileName);
    EXPECT_STREQ("First plug-in", table->Slot(0).infoText);
    EXPECT_STREQ("*.one", table->Slot(0).extensions);
    EXPECT_EQ(1, table->Slot(0).isArchive);
    ListedArchive entries;
    EXPECT_EQ(NoPluginAccepts, ListInto(*table, folder.Archive("x.arc", "entry name=a|data=a\n"), &entries).result);
}

TEST(PluginTable, DestroyingTheTableReleasesEveryLibrary) {
    PluginTestFolder folder;
    std::string path = folder.Add(PluginFile("only"));
    {
        auto table = LoadTable(folder.Path());
        EXPECT_NE(nullptr, GetModuleHandleA(path.c_str()));
    }
    EXPECT_EQ(nullptr, GetModuleHandleA(path.c_str()));
}

TEST(PluginTable, LongPluginTextsAreCutWithinTheSlotOnACharacterBoundary) {
    PluginTestFolder folder;
    std::string wide;
    for (int i = 0; i < 45; ++i) wide += "あ";
    // 250 bytes: the plug-in fills the whole 200-byte buffer without a terminator.
    folder.Add(PluginFile("long"), "fixture", "info " + wide + "\nextensions \\{250}e\n");
    int count = 0;
    auto table = LoadTable(folder.Path(), &count);
    ASSERT_EQ(1, count);

    const PluginSlot& slot = table->Slot(0);
    EXPECT_EQ(wide.substr(0, 78), slot.infoText);
    EXPECT_EQ(std::string(79, 'e'), slot.extensions);
}

TEST(PluginTable, LoadsAtMost200PluginsAndOpensNoFurtherFile) {
    PluginTestFolder folder;
    for (int i = 0; i < 201; ++i) {
        char name[32];
        snprintf(name, sizeof name, "p%03d", i);
        folder.Add(PluginFile(name));
    }
    fixture::ResetFixtureLoads();
    int count = 0;
    auto table = LoadTable(folder.Path(), &count);

    EXPECT_EQ(200, count);
    EXPECT_EQ(200, fixture::FixtureLoads());
    for (int i = 0; i < MaxPlugins; ++i) EXPECT_NE(nullptr, table->Slot(i).module);
    for (int i = 1; i < count; ++i) EXPECT_LT(table->Slot(i - 1).fileName, table->Slot(i).fileName);
}

#if defined(_WIN64)
// A 64-bit process cannot load a 32-bit plug-in: one left in the folder under its own name,
// or renamed to the 64-bit one, is passed over without a word, and the others load.
TEST(PluginTable, ThirtyTwoBitPluginsArePassedOverSilently) {
    PluginTestFolder folder;
    std::string plugin32 = testsupport::ExeFolder() + "plugin32.spi";
    ASSERT_TRUE(CopyFileA(plugin32.c_str(), (folder.Path() + "old.spi").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(plugin32.c_str(), (folder.Path() + PluginFile("a_renamed")).c_str(), FALSE));
    folder.Add(PluginFile("b_good"));
    testsupport::MessageBoxWatcher boxes;
    int count = 0;
    auto table = LoadTable(folder.Path(), &count);

    ASSERT_EQ(1, count);
    EXPECT_EQ(testsupport::Wide(PluginFile("b_good")), table->Slot(0).fileName);
    EXPECT_EQ(nullptr, GetModuleHandleA((folder.Path() + PluginFile("a_renamed")).c_str()));
    EXPECT_TRUE(boxes.Seen().empty());
}
#endif

}  // namespace
