#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "app/ExtractorApp.h"
#include "core/SettingIO.h"
#include "core/StartupPlan.h"
#include "tests/support/RecordedStarts.h"
#include "tests/support/TestProfile.h"
#include "tests/support/TestSupport.h"
#include "text/PathSize.h"


namespace {
const std::string kMarker = CommandLineMarker;

std::vector<std::string> Pieces(std::initializer_list<const char*> list) {
    return std::vector<std::string>(list.begin(), list.end());
}
}  // namespace

TEST(CommandLineText, SkipsTheProgramPathAndTheBlanksAfterIt) {
    EXPECT_STREQ(CommandLineText("\"C:\\Program Files\\Varnito.exe\"  \t a.zip b.zip"), "a.zip b.zip");
    EXPECT_STREQ(CommandLineText("C:\\v\\Varnito.exe a.zip "), "a.zip ");
    EXPECT_STREQ(CommandLineText("Varnito.exe"), "");
    EXPECT_STREQ(CommandLineText("\"unterminated path"), "");
    // Blanks inside the archive text are kept as they are.
    EXPECT_STREQ(CommandLineText("Varnito.exe \"a b\"  c"), "\"a b\"  c");
}

TEST(SplitCommandLine, CutsAtEveryBlankWithoutQuoting) {
    EXPECT_EQ(SplitCommandLine("C:\\arc\\a.lzh"), Pieces({"C:\\arc\\a.lzh"}));
    EXPECT_EQ(SplitCommandLine("a b"), Pieces({"a", "b"}));
    EXPECT_EQ(SplitCommandLine("a  b"), Pieces({"a", "", "b"}));
    EXPECT_EQ(SplitCommandLine("a "), Pieces({"a", ""}));
    EXPECT_EQ(SplitCommandLine("\"C:\\my docs\\a.zip\""), Pieces({"\"C:\\my", "docs\\a.zip\""}));
    // Shift-JIS never holds a 0x20 byte: names with 表 (0x95 0x5C) split only at real blanks.
    EXPECT_EQ(SplitCommandLine("表.zip ソフト.lzh"), Pieces({"表.zip", "ソフト.lzh"}));
}

TEST(DecideStartup, ModeTable) {
    EXPECT_EQ(DecideStartup("", 0).mode, StartMode::Settings);
    EXPECT_EQ(DecideStartup("", 1).mode, StartMode::Settings);
    EXPECT_EQ(DecideStartup("a.zip", 1).mode, StartMode::Immediate);
    EXPECT_EQ(DecideStartup("a.zip", 5).mode, StartMode::Immediate);
    EXPECT_EQ(DecideStartup("a.zip", -1).mode, StartMode::Immediate);
    EXPECT_EQ(DecideStartup("C:\\arc\\a.lzh", 0).mode, StartMode::List);
    EXPECT_EQ(DecideStartup("C:\\arc\\a.lzh C:\\arc\\b.zip", 0).mode, StartMode::Relaunch);
    EXPECT_EQ(DecideStartup((kMarker + " C:\\arc\\a b.zip").c_str(), 0).mode, StartMode::List);
}

TEST(DecideStartup, ImmediateModeRunsEveryPieceInOrderEvenEmptyOnes) {
    StartupPlan plan = DecideStartup("C:\\a.zip  C:\\b.zip", 1);
    EXPECT_EQ(plan.pieces, Pieces({"C:\\a.zip", "", "C:\\b.zip"}));
    // The marker means nothing here: it is a piece like any other.
    plan = DecideStartup((kMarker + " C:\\a.zip").c_str(), 1);
    EXPECT_EQ(plan.pieces, Pieces({CommandLineMarker, "C:\\a.zip"}));
}

TEST(DecideStartup, RelaunchPassesEveryPieceOnWhole) {
    EXPECT_EQ(DecideStartup("C:\\arc\\a.lzh C:\\arc\\b.zip", 0).pieces, Pieces({"C:\\arc\\a.lzh", "C:\\arc\\b.zip"}));
    EXPECT_EQ(DecideStartup("a.zip ", 0).pieces, Pieces({"a.zip", ""}));
    std::string longPiece(400, 'x');
    EXPECT_EQ(DecideStartup(("a " + longPiece).c_str(), 0).pieces, Pieces({"a", longPiece.c_str()}));
}

TEST(DecideStartup, ArchivePathOfListMode) {
    EXPECT_EQ(DecideStartup("C:\\arc\\a.lzh", 0).archivePath, "C:\\arc\\a.lzh");
    EXPECT_EQ(DecideStartup((kMarker + " C:\\arc\\a b.lzh").c_str(), 0).archivePath, "C:\\arc\\a b.lzh");
    EXPECT_EQ(DecideStartup(kMarker.c_str(), 0).archivePath, kMarker);
    EXPECT_EQ(DecideStartup((kMarker + " ").c_str(), 0).archivePath, "");
    EXPECT_EQ(DecideStartup("\"C:\\arc\\a.lzh\"", 0).archivePath, "\"C:\\arc\\a.lzh\"");
}

TEST(DecideStartup, PathsLongerThanTheirBufferAreRefusedNotCut) {
    std::string fits(259, 'a');
    std::string tooLong(260, 'a');
    EXPECT_EQ(DecideStartup(fits.c_str(), 0).archivePath, fits);
    EXPECT_EQ(DecideStartup(tooLong.c_str(), 0).archivePath, "");
    EXPECT_EQ(DecideStartup((kMarker + " " + tooLong).c_str(), 0).archivePath, "");
    EXPECT_EQ(DecideStartup((tooLong + " b").c_str(), 1).pieces, Pieces({"", "b"}));
}

class PluginFolderLookUp : public ::testing::Test {
protected:
    static void CreateViewerKey(const char* path) { ASSERT_TRUE(testsupport::WriteImageViewerPath(path)); }
    static bool SpiFoldExists() { return SpiFold() != testsupport::MissingText; }
    static std::string SpiFold() { return testsupport::ReadProfileText("SpiFold"); }

    testsupport::CleanProfile clean_{true};
};

TEST_F(PluginFolderLookUp, TakesTheViewersFolderWhenSpiFoldIsEmpty) {
    CreateViewerKey("C:\\viewer\\plugins");
    CExtractorApp::LookUpPluginFolder();
    EXPECT_EQ(SpiFold(), "C:\\viewer\\plugins");
}

TEST_F(PluginFolderLookUp, AnExpandablePathIsExpanded) {
    ASSERT_TRUE(testsupport::WriteImageViewerPath("%VARNITO_TEST_VIEWER%\\プラグイン", true));
    SetEnvironmentVariableA("VARNITO_TEST_VIEWER", "C:\\表示");
    CExtractorApp::LookUpPluginFolder();
    SetEnvironmentVariableA("VARNITO_TEST_VIEWER", nullptr);
    EXPECT_EQ(SpiFold(), "C:\\表示\\プラグイン");
}

TEST_F(PluginFolderLookUp, WritesAnEmptyFolderWhenTheViewerHasNoPath) {
    CreateViewerKey(nullptr);
    CExtractorApp::LookUpPluginFolder();
    EXPECT_TRUE(SpiFoldExists());
    EXPECT_EQ(SpiFold(), "");
}

TEST_F(PluginFolderLookUp, WritesNothingWithoutTheViewersKey) {
    CExtractorApp::LookUpPluginFolder();
    EXPECT_FALSE(SpiFoldExists());
}

TEST_F(PluginFolderLookUp, KeepsASetFolderAndIgnoresTheViewer) {
    CSettingIO().WriteString("", "SpiFold", "D:\\mine");
    CreateViewerKey("C:\\viewer\\plugins");
    CExtractorApp::LookUpPluginFolder();
    EXPECT_EQ(SpiFold(), "D:\\mine");
}

TEST_F(PluginFolderLookUp, AViewerPathLongerThanAPathIsNotCut) {
    std::string longPath = "C:\\" + std::string(MaxWidePathLength - 2, 'p');
    CreateViewerKey(longPath.c_str());
    CExtractorApp::LookUpPluginFolder();
    std::string stored = SpiFold();
    EXPECT_TRUE(stored.empty()) << stored.size();
}

// Relaunch starts real processes: a stand-in program records the command line it received.
class Relaunching : public ::testing::Test {
protected:
    std::vector<std::string> Records(size_t count) { return program_.Starts(count); }
    testsupport::RecordingProgram program_{"record args.exe", "with blank"};
};

TEST_F(Relaunching, EachCopySeesTheMarkerABlankAndItsPiece) {
    CExtractorApp::Relaunch(program_.Path().c_str(), Pieces({"C:\\arc\\a.lzh", "C:\\arc\\b.zip"}));
    EXPECT_EQ(Records(2), Pieces({"/Varnito-ZV-Morvel C:\\arc\\a.lzh", "/Varnito-ZV-Morvel C:\\arc\\b.zip"}));
}

TEST_F(Relaunching, AnEmptyPieceStillStartsACopy) {
    CExtractorApp::Relaunch(program_.Path().c_str(), Pieces({"a.zip", ""}));
    EXPECT_EQ(Records(2), Pieces({"/Varnito-ZV-Morvel ", "/Varnito-ZV-Morvel a.zip"}));
}

TEST_F(Relaunching, ALongPieceIsPassedOnWhole) {
    std::string longPiece = "C:\\" + std::string(600, 'n') + ".zip";
    CExtractorApp::Relaunch(program_.Path().c_str(), {longPiece});
    EXPECT_EQ(Records(1), std::vector<std::string>{kMarker + " " + longPiece});
}
