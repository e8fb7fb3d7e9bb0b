#include <gtest/gtest.h>
#include <cstring>
#include <deque>
#include "extract/OutputPath.h"

namespace {
// Entries whose names live as long as the test.
class Entries {
public:
    const ListedEntry& Make(const std::wstring& path, const std::wstring& fileName) {
        names_.push_back(path);
        const wchar_t* storedPath = names_.back().c_str();
        names_.push_back(fileName);
        ListedEntry entry = {};
        memcpy(entry.method, "-fx-", 4);
        entry.path = storedPath;
        entry.fileName = names_.back().c_str();
        entries_.push_back(entry);
        return entries_.back();
    }

private:
    std::deque<std::wstring> names_;
    std::deque<ListedEntry> entries_;
};

OutputPathResult Build(const std::wstring& destination, const std::wstring& path, const std::wstring& name,
                       bool keepPaths, OutputPath* out) {
    Entries entries;
    return BuildOutputPath(destination, entries.Make(path, name), keepPaths, out);
}
}  // namespace

TEST(OutputPath, StoredFoldersAreJoinedAsTheyCome) {
    OutputPath out;
    ASSERT_EQ(Build(L"D:\\out\\", L"doc\\", L"a.txt", true, &out), OutputPathResult::Ok);
    EXPECT_EQ(out.folderToMake, L"D:\\out\\doc\\");
    EXPECT_EQ(out.folderText, L"D:\\out\\doc\\");
    EXPECT_EQ(out.filePath, L"D:\\out\\doc\\a.txt");

    ASSERT_EQ(Build(L"D:\\out\\", L"doc/sub", L"a.txt", true, &out), OutputPathResult::Ok);
    EXPECT_EQ(out.folderToMake, L"D:\\out\\doc/sub");
    EXPECT_EQ(out.folderText, L"D:\\out\\doc/sub/");
    EXPECT_EQ(out.filePath, L"D:\\out\\doc/sub/a.txt");

    ASSERT_EQ(Build(L"D:\\out\\", L"", L"a.txt", true, &out), OutputPathResult::Ok);
    EXPECT_EQ(out.folderToMake, L"D:\\out\\");
    EXPECT_EQ(out.filePath, L"D:\\out\\a.txt");
}

TEST(OutputPath, WithoutStoredFoldersEverythingGoesIntoTheDestination) {
    OutputPath out;
    ASSERT_EQ(Build(L"D:\\out\\", L"x\\", L"a.txt", false, &out), OutputPathResult::Ok);
    EXPECT_EQ(out.folderText, L"D:\\out\\");
    EXPECT_EQ(out.filePath, L"D:\\out\\a.txt");
    EXPECT_TRUE(out.folderToMake.empty());
}

TEST(OutputPath, NamesOfEveryScriptAreKeptAsTheyAre) {
    const std::wstring folder = L"한국어\\简体中文\\";
    const std::wstring name = L"emoji\U0001F600 Ελληνικά café.txt";
    OutputPath out;
    ASSERT_EQ(Build(L"D:\\out\\", folder, name, true, &out), OutputPathResult::Ok);
    EXPECT_EQ(out.filePath, L"D:\\out\\" + folder + name);
}

TEST(OutputPath, NamesThatLeaveTheDestinationAreRefused) {
    const wchar_t* unsafePaths[] = {L"..\\", L"../", L"a\\..\\..\\", L"a/../../", L"\\abs\\", L"/abs/",
                                    L"\\\\server\\share\\", L"C:\\", L"C:", L"a\\.. \\", L"a\\...\\"};
    OutputPath out;
    for (const wchar_t* path : unsafePaths)
        EXPECT_EQ(Build(L"D:\\out\\", path, L"a.txt", true, &out), OutputPathResult::Unsafe) << path;
    const wchar_t* unsafeNames[] = {L"..\\a.txt", L"../a.txt", L"\\a.txt", L"/a.txt", L"C:a.txt", L"a.txt:stream", L".."};
    for (const wchar_t* name : unsafeNames) {
        EXPECT_EQ(Build(L"D:\\out\\", L"", name, true, &out), OutputPathResult::Unsafe) << name;
        EXPECT_EQ(Build(L"D:\\out\\", L"sub\\", name, false, &out), OutputPathResult::Unsafe) << name;
    }
    // A stored folder "." followed by the name ".\x" is still inside; "." and ".." joined are not.
    EXPECT_EQ(Build(L"D:\\out\\", L".", L"x", true, &out), OutputPathResult::Ok);
    EXPECT_EQ(Build(L"D:\\out\\", L"..", L"x", true, &out), OutputPathResult::Unsafe);
}

// Windows takes trailing dots and blanks off a name, so "evil.txt." would write "evil.txt"
// and "dir " the folder "dir"; a colon names a stream of another file. All are refused, in
// the folder part as in the name; devices are refused whatever follows their name.
TEST(OutputPath, PartsEndingInADotOrBlankStreamsAndDevicesAreRefused) {
    OutputPath out;
    for (const wchar_t* name : {L"evil.txt.", L"evil.txt ", L"a.txt::$DATA", L"a:b", L"NUL", L"con.txt", L"COM\u00B9",
                                L"lpt\u00B3.log", L"AUX .c"}) {
        EXPECT_EQ(Build(L"D:\\out\\", L"", name, true, &out), OutputPathResult::Unsafe) << name;
        EXPECT_EQ(Build(L"D:\\out\\", L"", name, false, &out), OutputPathResult::Unsafe) << name;
    }
    for (const wchar_t* folder : {L"dir.\\", L"dir \\", L"a\\b.\\", L"a:b\\", L"nul\\", L"x\\COM1\\"})
        EXPECT_EQ(Build(L"D:\\out\\", folder, L"a.txt", true, &out), OutputPathResult::Unsafe) << folder;
    // Dots and blanks inside a name are fine, and so is a name that merely starts like a device.
    for (const wchar_t* name : {L"a..b.txt", L".hidden", L"a b.txt", L"console.txt", L"COM10", L"nul_file"})
        EXPECT_EQ(Build(L"D:\\out\\", L"a..b\\", name, true, &out), OutputPathResult::Ok) << name;
}

TEST(OutputPath, PathsOfAnyLengthTheFileSystemTakesAreBuiltWhole) {
    std::wstring destination = L"D:\\" + std::wstring(300, L'd') + L"\\";
    std::wstring folder;
    for (int i = 0; i < 5; ++i) folder += std::wstring(58, L'f') + L"\\";
    OutputPath out;
    ASSERT_EQ(Build(destination, folder, L"a.txt", true, &out), OutputPathResult::Ok);
    EXPECT_EQ(out.filePath, destination + folder + L"a.txt");
    std::wstring longest(LongestPath - destination.size(), L'n');
    EXPECT_EQ(Build(destination, L"", longest, false, &out), OutputPathResult::Ok);
    EXPECT_EQ(Build(destination, L"", longest + L"n", false, &out), OutputPathResult::FileTooLong);
    EXPECT_EQ(Build(destination, longest, L"a", true, &out), OutputPathResult::FolderTooLong);
}
