#include <gtest/gtest.h>
#include <cstring>
#include "extract/OutputPath.h"

namespace {
ArchiveEntry Entry(const char* path, const char* fileName) {
    ArchiveEntry entry = {};
    memcpy(entry.method, "-fx-", 4);
    strncpy(entry.path, path, sizeof entry.path - 1);
    strncpy(entry.fileName, fileName, sizeof entry.fileName - 1);
    return entry;
}
}  // namespace

TEST(OutputPath, StoredFoldersAreJoinedAsTheyCome) {
    OutputPath out;
    ASSERT_EQ(BuildOutputPath("D:\\out\\", Entry("doc\\", "a.txt"), true, &out), OutputPathResult::Ok);
    EXPECT_EQ(out.folderToMake, "D:\\out\\doc\\");
    EXPECT_EQ(out.folderText, "D:\\out\\doc\\");
    EXPECT_EQ(out.filePath, "D:\\out\\doc\\a.txt");

    ASSERT_EQ(BuildOutputPath("D:\\out\\", Entry("doc/sub", "a.txt"), true, &out), OutputPathResult::Ok);
    EXPECT_EQ(out.folderToMake, "D:\\out\\doc/sub");
    EXPECT_EQ(out.folderText, "D:\\out\\doc/sub/");
    EXPECT_EQ(out.filePath, "D:\\out\\doc/sub/a.txt");

    ASSERT_EQ(BuildOutputPath("D:\\out\\", Entry("", "a.txt"), true, &out), OutputPathResult::Ok);
    EXPECT_EQ(out.folderToMake, "D:\\out\\");
    EXPECT_EQ(out.filePath, "D:\\out\\a.txt");
}

TEST(OutputPath, WithoutStoredFoldersEverythingGoesIntoTheDestination) {
    OutputPath out;
    ASSERT_EQ(BuildOutputPath("D:\\out\\", Entry("x\\", "a.txt"), false, &out), OutputPathResult::Ok);
    EXPECT_EQ(out.folderText, "D:\\out\\");
    EXPECT_EQ(out.filePath, "D:\\out\\a.txt");
    EXPECT_TRUE(out.folderToMake.empty());
}

TEST(OutputPath, AFolderEndingInADoubleByteCharacterGetsItsSeparator) {
    // 0x95 0x5C is one character whose second byte is a backslash.
    OutputPath out;
    ASSERT_EQ(BuildOutputPath("D:\\out\\", Entry("\x95\x5C", "a.txt"), true, &out), OutputPathResult::Ok);
    EXPECT_EQ(out.filePath, "D:\\out\\\x95\x5C/a.txt");
}

TEST(OutputPath, NamesThatLeaveTheDestinationAreRefused) {
    const char* unsafePaths[] = {"..\\", "../", "a\\..\\..\\", "a/../../", "\\abs\\", "/abs/", "\\\\server\\share\\",
                                 "C:\\", "C:", "a\\.. \\", "a\\...\\"};
    OutputPath out;
    for (const char* path : unsafePaths) {
        EXPECT_EQ(BuildOutputPath("D:\\out\\", Entry(path, "a.txt"), true, &out), OutputPathResult::Unsafe) << path;
    }
    const char* unsafeNames[] = {"..\\a.txt", "../a.txt", "\\a.txt", "/a.txt", "C:a.txt", "a.txt:stream", ".."};
    for (const char* name : unsafeNames) {
        EXPECT_EQ(BuildOutputPath("D:\\out\\", Entry("", name), true, &out), OutputPathResult::Unsafe) << name;
        EXPECT_EQ(BuildOutputPath("D:\\out\\", Entry("sub\\", name), false, &out), OutputPathResult::Unsafe) << name;
    }
    // A stored folder "." followed by the name ".\x" is still inside; "." and ".." joined are not.
    EXPECT_EQ(BuildOutputPath("D:\\out\\", Entry(".", "x"), true, &out), OutputPathResult::Ok);
    EXPECT_EQ(BuildOutputPath("D:\\out\\", Entry("..", "x"), true, &out), OutputPathResult::Unsafe);
}

TEST(OutputPath, DotsInsideNamesAreFine) {
    OutputPath out;
    EXPECT_EQ(BuildOutputPath("D:\\out\\", Entry("a..b\\", "..x.txt"), true, &out), OutputPathResult::Ok);
    EXPECT_EQ(BuildOutputPath("D:\\out\\", Entry(".hidden/", "x..txt"), true, &out), OutputPathResult::Ok);
    // A double-byte character with 0x5C as its second byte followed by dots is no separator.
    EXPECT_EQ(BuildOutputPath("D:\\out\\", Entry("\x95\x5C..\\", "a"), true, &out), OutputPathResult::Ok);
}

TEST(OutputPath, PathsThatDoNotFitAreRefusedNotCut) {
    std::string destination = "D:\\" + std::string(196, 'd') + "\\";  // 200 bytes
    std::string folder(57, 'f');                                      // 257 with the destination
    OutputPath out;
    EXPECT_EQ(BuildOutputPath(destination, Entry((folder + "\\").c_str(), "a"), true, &out), OutputPathResult::Ok);
    EXPECT_EQ(out.filePath.size(), 259u);
    EXPECT_EQ(BuildOutputPath(destination, Entry((folder + "\\").c_str(), "ab"), true, &out),
              OutputPathResult::FileTooLong);
    EXPECT_EQ(BuildOutputPath(destination, Entry((folder + "xx\\").c_str(), "a"), true, &out),
              OutputPathResult::FolderTooLong);
    // The "/" added after a folder without separator counts too.
    EXPECT_EQ(BuildOutputPath(destination, Entry((folder + "xx").c_str(), "a"), true, &out),
              OutputPathResult::FolderTooLong);
    EXPECT_EQ(BuildOutputPath(destination, Entry("", std::string(60, 'n').c_str()), false, &out),
              OutputPathResult::FileTooLong);
    EXPECT_EQ(BuildOutputPath(destination, Entry("", std::string(59, 'n').c_str()), false, &out),
              OutputPathResult::Ok);
}
