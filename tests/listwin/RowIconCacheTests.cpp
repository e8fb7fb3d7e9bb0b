#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include "listwin/RowIconCache.h"
#include "tests/support/ShellFileType.h"
#include "tests/support/TestSupport.h"

using testsupport::ShellFileType;
using testsupport::TempDir;

namespace {

// An image list as the list window makes it, with one default image.
class RowIconCacheTest : public testing::Test {
protected:
    void SetUp() override {
        images = ImageList_Create(16, 16, ILC_COLOR24, 10, 10);
        ASSERT_NE(images, nullptr);
        ImageList_AddIcon(images, LoadIcon(nullptr, IDI_APPLICATION));
    }
    void TearDown() override { ImageList_Destroy(images); }

    int FilesIn(const std::string& folder) {
        int count = 0;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return 0;
        do count += found.cFileName[0] != '.';
        while (FindNextFileA(search, &found));
        FindClose(search);
        return count;
    }

    HIMAGELIST images = nullptr;
    TempDir work;
};

}  // namespace

TEST(FileSystemExtension, LastDotAndTrailingDotsIgnored) {
    EXPECT_EQ(FileSystemExtension(L"a.tar.gz"), L"gz");
    EXPECT_EQ(FileSystemExtension(L"README"), L"");
    EXPECT_EQ(FileSystemExtension(L"a.txt. . "), L"txt");
    EXPECT_EQ(FileSystemExtension(L".profile"), L"profile");
}

TEST_F(RowIconCacheTest, OneProbePerExtensionAndTheSameImageForIt) {
    CRowIconCache cache(images, testsupport::Wide(work.path()));
    int first = cache.ImageFor(L"a.txt");
    EXPECT_EQ(cache.ImageFor(L"b.txt"), first);
    EXPECT_EQ(cache.ImageFor(L"c.txt"), first);
    EXPECT_EQ(cache.ProbeCount(), 1);
    cache.ImageFor(L"d.exe");
    cache.ImageFor(L"e");
    cache.ImageFor(L"f");
    EXPECT_EQ(cache.ProbeCount(), 3);
    EXPECT_EQ(FilesIn(work.path()), 0) << "probe files are deleted";
}

TEST_F(RowIconCacheTest, EachSystemIconEntersTheImageListOnce) {
    ShellFileType first("vlwa", "shell32.dll,3"), same("vlwb", "shell32.dll,3"), other("vlwc", "shell32.dll,5");
    CRowIconCache cache(images, testsupport::Wide(work.path()));
    int a = cache.ImageFor(L"x.vlwa");
    EXPECT_EQ(a, 1) << "the first icon follows the default image";
    EXPECT_EQ(cache.ImageFor(L"y.vlwb"), a) << "another type with the same system icon";
    int c = cache.ImageFor(L"z.vlwc");
    EXPECT_EQ(c, 2);
    EXPECT_EQ(cache.ImageFor(L"w.VLWA"), a) << "the shell matches types without regard to case";
    EXPECT_EQ(ImageList_GetImageCount(images), 3);
    EXPECT_EQ(cache.ProbeCount(), 4);
}

TEST_F(RowIconCacheTest, NamesThatLeadElsewhereGetTheDefaultWithoutAFile) {
    TempDir outside;
    std::string work2 = work.path() + "w\\";
    ASSERT_TRUE(CreateDirectoryA(work2.c_str(), nullptr));
    CRowIconCache cache(images, testsupport::Wide(work2));
    std::string absolute = outside / "abs.txt";
    EXPECT_EQ(cache.ImageFor(testsupport::Wide(absolute)), 0);
    EXPECT_EQ(cache.ImageFor(L"..\\x.txt"), 0);
    EXPECT_EQ(cache.ImageFor(L"con"), 0);
    EXPECT_EQ(cache.ProbeCount(), 0);
    EXPECT_FALSE(testsupport::FileExists(absolute));
    EXPECT_FALSE(testsupport::FileExists(work / "x.txt"));
    EXPECT_EQ(FilesIn(outside.path()), 0);
}

TEST_F(RowIconCacheTest, AFileOfTheSameNameInTheWorkFolderIsLeftAlone) {
    ASSERT_TRUE(testsupport::WriteBytes(work / "viewed.txt", "edited by the user"));
    CRowIconCache cache(images, testsupport::Wide(work.path()));
    cache.ImageFor(L"viewed.txt");
    EXPECT_EQ(testsupport::ReadBytes(work / "viewed.txt"), "edited by the user");
}

TEST_F(RowIconCacheTest, AWorkFolderThatCannotBeMadeCostsOnlyTheIcon) {
    std::string unmade = work.path() + "missing\\inner\\";
    CRowIconCache cache(images, testsupport::Wide(unmade));
    EXPECT_EQ(cache.ImageFor(L"a.txt"), 0);
    EXPECT_EQ(cache.ImageFor(L"b.txt"), 0);
    EXPECT_EQ(cache.ProbeCount(), 0);
    EXPECT_EQ(ImageList_GetImageCount(images), 1);
}

TEST_F(RowIconCacheTest, AWorkFolderMadeForAProbeGoesAfterItAndOneWithFilesStays) {
    std::string made = work.path() + "made\\";
    CRowIconCache cache(images, testsupport::Wide(made));
    cache.ImageFor(L"a.txt");
    EXPECT_EQ(cache.ProbeCount(), 1);
    EXPECT_FALSE(testsupport::FileExists(made));

    ASSERT_TRUE(CreateDirectoryA(made.c_str(), nullptr));
    ASSERT_TRUE(testsupport::WriteBytes(made + "viewed.txt", "v"));
    cache.ImageFor(L"b.bmp");
    EXPECT_EQ(cache.ProbeCount(), 2);
    EXPECT_EQ(FilesIn(made), 1);
}
