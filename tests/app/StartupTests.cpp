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
const std::wstring kMarker = CommandLineMarker;

std::vector<std::wstring> Pieces(std::initializer_list<const wchar_t*> list) {
    return std::vector<std::wstring>(list.begin(), list.end());
}
}  // namespace

TEST(CommandLineText, SkipsTheProgramPathAndTheBlanksAfterIt) {
    EXPECT_STREQ(CommandLineText("\"C:\\Program Files\\Varnito.exe\"  \t a.zip b.zip"), "a.zip b.zip");
    EXPECT_STREQ(CommandLineText("C:\\v\\Varnito.exe a.zip "), "a.zip ");
    EXPECT_STREQ(CommandLineText("Varnito.exe"), "");
    EXPECT_STREQ(CommandLineText("\"unterminated path"), "");
    // Blanks inside the archive text are kept as they are.
    EXPECT_STREQ(CommandLineText("Varnito.exe \"a b\"  c"), "\"a b\"  c");
    // The wide command line the same way, with names of any script.
    const wchar_t* korean = L"\"C:\\Program Files\\Varnito.exe\"  한국어.zip b.zip";
    EXPECT_EQ(std::wstring(CommandLineText(korean)), std::wstring(korean + 32));
    EXPECT_STREQ(CommandLineText(L"Varnito.exe"), L"");
}

TEST(SplitCommandLine, CutsAtEveryBlankWithoutQuoting) {
    EXPECT_EQ(SplitCommandLine(L"C:\\arc\\a.lzh"), Pieces({L"C:\\arc\\a.lzh"}));
    EXPECT_EQ(SplitCommandLine(L"a b"), Pieces({L"a", L"b"}));
    EXPECT_EQ(SplitCommandLine(L"a  b"), Pieces({L"a", L"", L"b"}));
    EXPECT_EQ(SplitCommandLine(L"a "), Pieces({L"a", L""}));
    EXPECT_EQ(SplitCommandLine(L"\"C:\\my docs\\a.zip\""), Pieces({L"\"C:\\my", L"docs\\a.zip\""}));
    const wchar_t* names = L"表.zip 简体中文.lzh";
    EXPECT_EQ(SplitCommandLine(names), Pieces({L"表.zip", names + 6}));
}

TEST(DecideStartup, ModeTable) {
    EXPECT_EQ(DecideStartup(L"", 0).mode, StartMode::Settings);
    EXPECT_EQ(DecideStartup(L"", 1).mode, StartMode::Settings);
    EXPECT_EQ(DecideStartup(L"a.zip", 1).mode, StartMode::Immediate);
    EXPECT_EQ(DecideStartup(L"a.zip", 5).mode, StartMode::Immediate);
    EXPECT_EQ(DecideStartup(L"a.zip", -1).mode, StartMode::Immediate);
    EXPECT_EQ(DecideStartup(L"C:\\arc\\a.lzh", 0).mode, StartMode::List);
    EXPECT_EQ(DecideStartup(L"C:\\arc\\a.lzh C:\\arc\\b.zip", 0).mode, StartMode::Relaunch);
    EXPECT_EQ(DecideStartup((kMarker + L" C:\\arc\\a b.zip").c_str(), 0).mode, StartMode::List);
}

TEST(DecideStartup, ImmediateModeRunsEveryPieceInOrderEvenEmptyOnes) {
    StartupPlan plan = DecideStartup(L"C:\\a.zip  C:\\b.zip", 1);
    EXPECT_EQ(plan.pieces, Pieces({L"C:\\a.zip", L"", L"C:\\b.zip"}));
    // The marker means nothing here: it is a piece like any other.
    plan = DecideStartup((kMarker + L" C:\\a.zip").c_str(), 1);
    EXPECT_EQ(plan.pieces, Pieces({CommandLineMarker, L"C:\\a.zip"}));
}

TEST(DecideStartup, RelaunchPassesEveryPieceOnWhole) {
    EXPECT_EQ(DecideStartup(L"C:\\arc\\a.lzh C:\\arc\\b.zip", 0).pieces,
              Pieces({L"C:\\arc\\a.lzh", L"C:\\arc\\b.zip"}));
    EXPECT_EQ(DecideStartup(L"a.zip ", 0).pieces, Pieces({L"a.zip", L""}));
    std::wstring longPiece(400, L'x');
    EXPECT_EQ(DecideStartup((L"a " + longPiece).c_str(), 0).pieces, Pieces({L"a", longPiece.c_str()}));
}

TEST(DecideStartup, ArchivePathOfListMode) {
    EXPECT_EQ(DecideStartup(L"C:\\arc\\a.lzh", 0).archivePath, L"C:\\arc\\a.lzh");
    EXPECT_EQ(DecideStartup((kMarker + L" C:\\arc\\a b.lzh").c_str(), 0).archivePath, L"C:\\arc\\a b.lzh");
    EXPECT_EQ(DecideStartup(kMarker.c_str(), 0).archivePath, kMarker);
    EXPECT_EQ(DecideStartup((kMarker + L" ").c_str(), 0).archivePath, L"");
    EXPECT_EQ(DecideStartup(L"\"C:\\arc\\a.lzh\"", 0).archivePath, L"\"C:\\arc\\a.lzh\"");
}

TEST(DecideStartup, PathsOfAnyLengthAndScriptArePassedWhole) {
    std::wstring longPath = L"C:\\" + std::wstring(400, L'a') + L"\\한국어.zip";
    EXPECT_EQ(DecideStartup(longPath.c_str(), 0).archivePath, longPath);
    EXPECT_EQ(DecideStartup((kMarker + L" " + longPath).c_str(), 0).archivePath, longPath);
    EXPECT_EQ(DecideStartup((longPath + L" b").c_str(), 1).pieces, Pieces({longPath.c_str(), L"b"}));
}

TEST(QuotedPaths, QuotesGroupBlanksAndBackslashesStayThemselves) {
    EXPECT_EQ(QuotedPaths(L"\"C:\\my docs\\a.zip\""), Pieces({L"C:\\my docs\\a.zip"}));
    EXPECT_EQ(QuotedPaths(L"  a.zip\t \"b c.lzh\"  d.7z "), Pieces({L"a.zip", L"b c.lzh", L"d.7z"}));
    // A folder's trailing backslash does not swallow the closing quote.
    EXPECT_EQ(QuotedPaths(L"\"C:\\my docs\\\" x"), Pieces({L"C:\\my docs\\", L"x"}));
    EXPECT_EQ(QuotedPaths(L"\\\\server\\share\\a.zip"), Pieces({L"\\\\server\\share\\a.zip"}));
    // Quoted and plain stretches next to each other make one path; "" is an empty one.
    EXPECT_EQ(QuotedPaths(L"C:\\\"my docs\"\\a.zip \"\""), Pieces({L"C:\\my docs\\a.zip", L""}));
    // A quote left open runs to the end.
    EXPECT_EQ(QuotedPaths(L"\"C:\\a b.zip"), Pieces({L"C:\\a b.zip"}));
    const wchar_t* korean = L"한국어 파일.zip";
    EXPECT_EQ(QuotedPaths((L"\"" + std::wstring(korean) + L"\" 表.lzh").c_str()), Pieces({korean, L"表.lzh"}));
    EXPECT_EQ(QuotedPaths(L" \t "), Pieces({}));
}

TEST(DecideStartup, ExtractSwitchExtractsAtOnceInEitherMode) {
    for (int mode : {0, 1}) {
        StartupPlan plan = DecideStartup(L"/extract \"C:\\my docs\\a.zip\" C:\\b.lzh", mode);
        EXPECT_EQ(plan.mode, StartMode::Immediate) << mode;
        EXPECT_EQ(plan.pieces, Pieces({L"C:\\my docs\\a.zip", L"C:\\b.lzh"})) << mode;
    }
    EXPECT_EQ(DecideStartup(L"/EXTRACT\t\"a b.zip\"", 0).pieces, Pieces({L"a b.zip"}));
}

TEST(DecideStartup, OpenSwitchFollowsTheMode) {
    StartupPlan list = DecideStartup(L"/open \"C:\\my docs\\a.zip\"", 0);
    EXPECT_EQ(list.mode, StartMode::List);
    EXPECT_EQ(list.archivePath, L"C:\\my docs\\a.zip");
    StartupPlan immediate = DecideStartup(L"/Open \"C:\\my docs\\a.zip\"", 1);
    EXPECT_EQ(immediate.mode, StartMode::Immediate);
    EXPECT_EQ(immediate.pieces, Pieces({L"C:\\my docs\\a.zip"}));
    // Several archives in list mode: a window each, through copies that take a path whole.
    StartupPlan several = DecideStartup(L"/open \"a b.zip\" c.zip", 0);
    EXPECT_EQ(several.mode, StartMode::Relaunch);
    EXPECT_EQ(several.pieces, Pieces({L"a b.zip", L"c.zip"}));
}

TEST(DecideStartup, ASwitchWithoutArchivesIsNothingToDo) {
    for (const wchar_t* text : {L"/extract", L"/open", L"/extract   ", L"/open \t"}) {
        EXPECT_EQ(DecideStartup(text, 0).mode, StartMode::Nothing) << text;
        EXPECT_EQ(DecideStartup(text, 1).mode, StartMode::Nothing) << text;
    }
}

TEST(DecideStartup, ATextThatOnlyBeginsLikeASwitchIsAPathAsBefore) {
    EXPECT_EQ(DecideStartup(L"/extractor.zip", 0).archivePath, L"/extractor.zip");
    EXPECT_EQ(DecideStartup(L"/opened.zip", 1).pieces, Pieces({L"/opened.zip"}));
    // The switch counts only at the start; quotes mean nothing without it.
    EXPECT_EQ(DecideStartup(L"a.zip /extract b.zip", 1).pieces, Pieces({L"a.zip", L"/extract", L"b.zip"}));
    EXPECT_EQ(DecideStartup(L"\"a b.zip\"", 1).pieces, Pieces({L"\"a", L"b.zip\""}));
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
    std::wstring Program() { return testsupport::Wide(program_.Path()); }
    testsupport::RecordingProgram program_{"record args.exe", "with blank"};
};

TEST_F(Relaunching, EachCopySeesTheMarkerABlankAndItsPiece) {
    CExtractorApp::Relaunch(Program(), Pieces({L"C:\\arc\\a.lzh", L"C:\\arc\\b.zip"}));
    EXPECT_EQ(Records(2), std::vector<std::string>({"/Varnito-ZV-Morvel C:\\arc\\a.lzh", "/Varnito-ZV-Morvel C:\\arc\\b.zip"}));
}

TEST_F(Relaunching, AnEmptyPieceStillStartsACopy) {
    CExtractorApp::Relaunch(Program(), Pieces({L"a.zip", L""}));
    EXPECT_EQ(Records(2), std::vector<std::string>({"/Varnito-ZV-Morvel ", "/Varnito-ZV-Morvel a.zip"}));
}

TEST_F(Relaunching, ALongPieceIsPassedOnWhole) {
    std::string longPiece = "C:\\" + std::string(600, 'n') + ".zip";
    CExtractorApp::Relaunch(Program(), {testsupport::Wide(longPiece)});
    EXPECT_EQ(Records(1), std::vector<std::string>{"/Varnito-ZV-Morvel " + longPiece});
}
