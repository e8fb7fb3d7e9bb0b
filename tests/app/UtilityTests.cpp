#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <string>
#include "core/Utility.h"
#include "tests/support/RecordedStarts.h"
#include "tests/support/TestSupport.h"

using testsupport::TempDir;

namespace {
std::string Slashes(std::string s) {
    std::vector<char> buffer(s.begin(), s.end());
    buffer.push_back('\0');
    CUtility().ToSlashes(buffer.data());
    return buffer.data();
}
std::string NamePart(const char* path) {
    char out[260];
    CUtility().FileNamePart(path, out);
    return out;
}
std::string Split(PathPart part, const char* path) {
    char out[260];
    CUtility().SplitPath(part, path, out);
    return out;
}
std::string Grouped(unsigned long long value) {
    char out[40];
    CUtility().GroupDigits(value, out);
    return out;
}
}  // namespace

TEST(CharClass, JudgesLeadAndTrailBytes) {
    EXPECT_EQ(CUtility::CharClass(""), 0);
    EXPECT_EQ(CUtility::CharClass("\t"), 0);
    EXPECT_EQ(CUtility::CharClass("a"), 1);
    EXPECT_EQ(CUtility::CharClass("表"), 2);            // 0x95 0x5C
    EXPECT_EQ(CUtility::CharClass("\xF0\x40"), 3);
    EXPECT_EQ(CUtility::CharClass("\xFA\x5C"), 4);
    EXPECT_EQ(CUtility::CharClass("\x81\x7F"), 1);      // 0x7F is no trail byte
    EXPECT_EQ(CUtility::CharClass("\x81"), 1);          // lead byte before the terminator
    EXPECT_EQ(CUtility::CharClass("ｱ"), 1);             // half-width katakana is one byte
}

TEST(ToSlashes, TurnsBackslashesButKeepsDoubleByteCharacters) {
    EXPECT_EQ(Slashes("C:\\a\\b"), "C:/a/b");
    EXPECT_EQ(Slashes("\\\\server\\share"), "/server/share");
    EXPECT_EQ(Slashes("C:\\ソフト\\表\\x"), "C:/ソフト/表/x");
    EXPECT_EQ(Slashes("表\\"), "表/");
    std::string longPath(2000, '\\');
    EXPECT_EQ(Slashes(longPath), std::string(1000, '/'));
}

TEST(FileNamePart, FindsTheLastSeparatorDoubleByteAware) {
    EXPECT_EQ(NamePart("C:\\dl\\pics.lzh"), "pics.lzh");
    EXPECT_EQ(NamePart("C:pics.lzh"), "pics.lzh");
    EXPECT_EQ(NamePart("a/b\\c"), "c");
    EXPECT_EQ(NamePart("C:\\dl\\表"), "表");
    EXPECT_EQ(NamePart("C:\\ソ"), "ソ");
    EXPECT_EQ(NamePart("plain.zip"), "plain.zip");
    EXPECT_EQ(NamePart("C:\\dl\\"), "");
}

TEST(SplitPath, GivesBaseNameFolderAndExtension) {
    EXPECT_EQ(Split(PathPart::BaseName, "C:\\dl\\pics.lzh"), "pics");
    EXPECT_EQ(Split(PathPart::BaseName, "E:\\in\\data.tar.gz"), "data.tar");
    EXPECT_EQ(Split(PathPart::DriveAndFolder, "C:\\dl\\pics.lzh"), "C:\\dl\\");
    EXPECT_EQ(Split(PathPart::DriveAndFolder, "pics.lzh"), "");
    EXPECT_EQ(Split(PathPart::Extension, "C:\\dl\\pics.lzh"), ".lzh");
    EXPECT_EQ(Split(PathPart::BaseName, "C:\\a.b\\noext"), "noext");
    EXPECT_EQ(Split(PathPart::DriveAndFolder, "C:\\ソフト\\表.zip"), "C:\\ソフト\\");
    EXPECT_EQ(Split(PathPart::BaseName, "C:\\ソフト\\表.zip"), "表");
    EXPECT_EQ(Split(PathPart::BaseName, "C:/x/y.zip"), "y");
}

TEST(SplitPath, BoundsItsOutput) {
    std::string longFolder = "C:\\" + std::string(400, 'f') + "\\a.zip";
    char out[16];
    memset(out, '#', sizeof out);
    CUtility().SplitPath(PathPart::DriveAndFolder, longFolder.c_str(), out, 10);
    EXPECT_EQ(strlen(out), 9u);
    EXPECT_EQ(out[10], '#');
}

TEST(GroupDigits, InsertsCommasEveryThreeDigits) {
    EXPECT_EQ(Grouped(0), "0");
    EXPECT_EQ(Grouped(999), "999");
    EXPECT_EQ(Grouped(1000), "1,000");
    EXPECT_EQ(Grouped(1234567), "1,234,567");
    EXPECT_EQ(Grouped(3000000000u), "3,000,000,000");
    EXPECT_EQ(Grouped(4294967295u), "4,294,967,295");
    EXPECT_EQ(Grouped(4294967396ull), "4,294,967,396");  // entries of the 64-bit build
    EXPECT_EQ(Grouped(18446744073709551615ull), "18,446,744,073,709,551,615");
}

TEST(FilesAndFolders, PathKindFileSizeAndStoredName) {
    TempDir dir;
    ASSERT_TRUE(testsupport::WriteBytes(dir / "Pics.LZH", "12345"));
    ASSERT_TRUE(testsupport::WriteBytes(dir / "empty.bin", ""));
    CUtility u;
    EXPECT_EQ(u.PathKind((dir / "Pics.LZH").c_str()), PathType::File);
    EXPECT_EQ(u.PathKind(dir.path().c_str()), PathType::Folder);
    EXPECT_EQ(u.PathKind((dir / "missing").c_str()), PathType::Missing);
    EXPECT_EQ(u.FileSize((dir / "Pics.LZH").c_str()), 5);
    EXPECT_EQ(u.FileSize((dir / "empty.bin").c_str()), 0);
    EXPECT_EQ(u.FileSize((dir / "missing").c_str()), -1);
    EXPECT_EQ(u.FileSize(""), -1);

    char path[260];
    snprintf(path, sizeof path, "%s", (dir / "pics.lzh").c_str());
    EXPECT_EQ(u.StoredName(path), 1);
    EXPECT_EQ(std::string(path), dir / "Pics.LZH");
    snprintf(path, sizeof path, "%s", (dir / "*.lzh").c_str());
    EXPECT_EQ(u.StoredName(path), 1);
    EXPECT_EQ(std::string(path), dir / "Pics.LZH");
    snprintf(path, sizeof path, "%s", (dir / "nothing.zip").c_str());
    EXPECT_EQ(u.StoredName(path), 0);
    EXPECT_EQ(std::string(path), dir / "nothing.zip");
}

TEST(FilesAndFolders, MakeFoldersCreatesEveryMissingLevel) {
    TempDir dir;
    CUtility u;
    std::string deep = dir / "a\\b/c\\表";
    EXPECT_NE(u.MakeFolders(deep.c_str()), 0);
    EXPECT_EQ(u.PathKind((dir / "a\\b\\c\\表").c_str()), PathType::Folder);
    EXPECT_EQ(u.MakeFolders(deep.c_str()), 1);  // already there
    EXPECT_EQ(u.MakeFolders(""), 0);
    ASSERT_TRUE(testsupport::WriteBytes(dir / "file", "x"));
    EXPECT_EQ(u.MakeFolders((dir / "file\\sub").c_str()), 0);
    std::string tooLong = dir.path() + std::string(1100, 'l');
    EXPECT_EQ(u.MakeFolders(tooLong.c_str()), 0);
}

TEST(FolderPrefixes, StartAfterTheRootAndKeepDoubleByteCharactersWhole) {
    using Folders = std::vector<std::string>;
    EXPECT_EQ(FolderPrefixes("\\\\server\\share\\a\\b"), Folders({"\\\\server\\share\\a\\", "\\\\server\\share\\a\\b"}));
    EXPECT_EQ(FolderPrefixes("\\\\server\\share\\"), Folders());
    EXPECT_EQ(FolderPrefixes("\\\\server"), Folders());
    // 表 ends in 0x5C, which is no separator there.
    EXPECT_EQ(FolderPrefixes("C:\\a/表\\b\\"), Folders({"C:\\a/", "C:\\a/表\\", "C:\\a/表\\b\\"}));
    EXPECT_EQ(FolderPrefixes("C:\\"), Folders());
    EXPECT_EQ(FolderPrefixes("C:a\\b"), Folders({"C:a\\", "C:a\\b"}));
    EXPECT_EQ(FolderPrefixes("\\a\\\\b"), Folders({"\\a\\", "\\a\\\\b"}));
    EXPECT_EQ(FolderPrefixes("out\\表"), Folders({"out\\", "out\\表"}));
}

// Wine serves \\server\share from the folder dosdevices\unc\server\share of its prefix.
TEST(FilesAndFolders, MakeFoldersOnANetworkShareMakesNothingOnTheCurrentDrive) {
    char prefix[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    if (length == 0 || length >= sizeof prefix) GTEST_SKIP() << "needs a share; Wine makes one from a folder";
    std::string unc = "Z:" + std::string(prefix) + "/dosdevices/unc";
    for (char& c : unc)
        if (c == '/') c = '\\';
    std::string share = unc + "\\vtest_server\\share";
    CUtility u;
    ASSERT_NE(u.MakeFolders(share.c_str()), 0);

    TempDir current;  // on drive C:, whose root is where stray folders would go
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof before, before);
    SetCurrentDirectoryA(current.path().c_str());
    int made = u.MakeFolders("\\\\vtest_server\\share\\made\\表\\deeper");
    bool stray = u.PathKind("C:\\vtest_server") != PathType::Missing;
    SetCurrentDirectoryA(before);
    testsupport::RemoveTree("C:\\vtest_server");
    EXPECT_NE(made, 0);
    EXPECT_EQ(u.PathKind((share + "\\made\\表\\deeper").c_str()), PathType::Folder);
    EXPECT_FALSE(stray);
    testsupport::RemoveTree(unc + "\\vtest_server");
    RemoveDirectoryA(unc.c_str());  // when nothing else is shared there
}

TEST(FilesAndFolders, DeleteFilesRespectsRecursionAndDotNames) {
    TempDir dir;
    CUtility u;
    ASSERT_TRUE(testsupport::WriteBytes(dir / "a.txt", "a"));
    ASSERT_TRUE(testsupport::WriteBytes(dir / ".keep", "k"));
    ASSERT_TRUE(CreateDirectoryA((dir / "sub").c_str(), nullptr));
    ASSERT_TRUE(testsupport::WriteBytes(dir / "sub\\b.txt", "b"));

    EXPECT_EQ(u.DeleteFiles(dir.path().c_str(), "*.*", 0, 0), 1);
    EXPECT_FALSE(testsupport::FileExists(dir / "a.txt"));
    EXPECT_TRUE(testsupport::FileExists(dir / ".keep"));
    EXPECT_TRUE(testsupport::FileExists(dir / "sub\\b.txt"));

    std::string noSlash = dir.path().substr(0, dir.path().size() - 1);
    EXPECT_EQ(u.DeleteFiles(noSlash.c_str(), "*.*", 1, 5), 6);
    EXPECT_FALSE(testsupport::FileExists(dir / "sub"));
    EXPECT_TRUE(testsupport::FileExists(dir / ".keep"));
    EXPECT_EQ(u.DeleteFiles((dir / "missing").c_str(), "*.*", 1, 3), 3);
}

TEST(FilesAndFolders, DeleteFilesLeavesAFileHeldOpen) {
    TempDir dir;
    ASSERT_TRUE(testsupport::WriteBytes(dir / "held.txt", "h"));
    HANDLE held = CreateFileA((dir / "held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CUtility().DeleteFiles(dir.path().c_str(), "*.*", 0, 0), 0);
    EXPECT_TRUE(testsupport::FileExists(dir / "held.txt"));
    CloseHandle(held);
}

TEST(Processes, RunProgramNeedsSomethingToStart) {
    CUtility u;
    EXPECT_EQ(u.RunProgram(nullptr, nullptr, 0), 0);
    EXPECT_EQ(u.RunProgram("", "", 0), 0);
    EXPECT_EQ(u.RunProgram("C:\\no\\such\\program.exe", "x", 0), 0);
}

TEST(Processes, RunProgramWithAPathHoldingBlanksPassesTheParametersExactly) {
    testsupport::RecordingProgram program("record args.exe", "two words");
    EXPECT_EQ(CUtility().RunProgram(program.Path().c_str(), "/Varnito-ZV-Morvel C:\\a b.lzh", 1), 1);
    // Waited for: the record is there already.
    std::vector<std::string> records = testsupport::RecordedStarts(program.Folder());
    EXPECT_EQ(records, std::vector<std::string>{"/Varnito-ZV-Morvel C:\\a b.lzh"});
}

TEST(Processes, WaitingForAProgramKeepsTheWindowsAliveAndAQuitRequestForTheLoopsAround) {
    // Longer than one step of the wait, so the messages are handled while the program runs.
    std::string program = testsupport::ExeFolder() + "linger.exe";
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_APP, 0, 0);
    PostQuitMessage(7);
    EXPECT_EQ(CUtility().RunProgram(program.c_str(), "1500", 1), 1);
    // What is left in the queue: the quit request, not the window's message.
    std::vector<UINT> left;
    WPARAM quitCode = 0;
    MSG message = {};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        left.push_back(message.message);
        if (message.message == WM_QUIT) quitCode = message.wParam;
    }
    EXPECT_EQ(std::count(left.begin(), left.end(), WM_QUIT), 1);
    EXPECT_EQ(std::count(left.begin(), left.end(), WM_APP), 0);
    EXPECT_EQ(quitCode, 7u);
    DestroyWindow(window);
}

namespace {
// Exit code of the claim helper run as a second process.
DWORD ClaimInOtherProcess(const std::string& mutexName, const std::string& property) {
    std::string command = "\"" + testsupport::ExeFolder() + "claim_instance.exe\" " + mutexName + " " + property;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 99;
    // Keep this thread's windows answering while the other process looks at them.
    while (WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT) testsupport::PumpMessages(5);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return code;
}
}  // namespace

TEST(Processes, ClaimSingleInstanceAcrossProcessesBringsTheFirstWindowBack) {
    std::string mutexName = "VarnitoTestClaim-" + std::to_string(GetCurrentProcessId());
    std::string property = "VarnitoTestWindow" + std::to_string(GetCurrentProcessId());
    CUtility u;
    EXPECT_EQ(ClaimInOtherProcess(mutexName, property), 1u);  // nobody holds it yet
    ASSERT_EQ(u.ClaimSingleInstance(mutexName.c_str(), property.c_str()), 1);
    EXPECT_EQ(u.ClaimSingleInstance(mutexName.c_str(), property.c_str()), 0);

    HWND window = CreateWindowExA(0, "STATIC", "first", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    SetPropA(window, property.c_str(), reinterpret_cast<HANDLE>(1));
    ShowWindow(window, SW_SHOWMINIMIZED);
    testsupport::PumpMessages(100);
    ASSERT_TRUE(IsIconic(window));

    EXPECT_EQ(ClaimInOtherProcess(mutexName, property), 0u);
    testsupport::PumpMessages(100);
    EXPECT_FALSE(IsIconic(window));
    RemovePropA(window, property.c_str());
    DestroyWindow(window);
}
