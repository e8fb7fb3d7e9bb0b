// The wide exports and GetArchiveListW: names exactly as the archive stores them, archives whose
// own file names code page 932 cannot spell, and paths longer than the records hold.
#include <gtest/gtest.h>
#include <cstring>
#include "tests/support/TestSupport.h"
#include "tests/support/WideFiles.h"
#include "tests/support/WideNames.h"
#include "tests/zip/ZipPluginLoader.h"

using testsupport::WidePath;

namespace {

std::wstring WideFixture(const char* name) { return WidePath(Fixtures()) + WidePath(name); }

}  // namespace

// Debian's zip stores the names in UTF-8 without saying so; 7z flags them.
TEST(ZipWide, NamesComeOutAsStoredWhateverCodePage932Lacks) {
    widenames::ExpectSixNames(Plugin(), WideFixture("six-zip.zip"));
    widenames::ExpectSixNames(Plugin(), WideFixture("six-7z.zip"));
}

TEST(ZipWide, APathOfOver300CharactersIsListedInFullAndWritten) {
    widenames::ExpectDeepTree(Plugin(), WideFixture("deep.zip"));
}

TEST(ZipWide, TellsItsTextsInUtf16CutToTheBuffer) {
    wchar_t text[40];
    wmemset(text, L'\x7F', 40);
    EXPECT_EQ(Plugin().getPluginInfoW(3, text, 32), 6);
    EXPECT_STREQ(text, L"ZIP \u66F8\u5EAB");
    EXPECT_EQ(text[32], L'\x7F') << "wrote past the buffer";
    EXPECT_EQ(Plugin().getPluginInfoW(2, text, 4), 3);
    EXPECT_STREQ(text, L"*.z");
    EXPECT_EQ(Plugin().getPluginInfoW(9, text, 32), 0);
}

// A self-extractor named in Korean with an emoji: the plug-in must open it by its name to
// find the ZIP behind the stub, which no code page 932 name can reach.
TEST(ZipWide, ArchivesOfNamesCodePage932CannotSpellAreOpened) {
    testsupport::TempDir folder;
    std::wstring path = WidePath(folder.path()) + L"\uC790\uB8CC\U0001F600.exe";
    ASSERT_TRUE(CopyFileW(WideFixture("prefixed.zip").c_str(), path.c_str(), TRUE));
    std::string bytes = testsupport::ReadWideFile(path);
    char header[SpiHeaderBufferSize] = {};
    memcpy(header, bytes.data(), SpiHeaderBytes);
    EXPECT_EQ(Plugin().isSupportedW(path.c_str(), reinterpret_cast<ULONG_PTR>(header)), 1);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    if (reinterpret_cast<ULONG_PTR>(file) <= 0xFFFF) {
        EXPECT_EQ(Plugin().isSupportedW(path.c_str(), reinterpret_cast<ULONG_PTR>(file)), 1);
    }
    CloseHandle(file);

    SpiFullListing listing = Plugin().ListFull(path);
    ASSERT_EQ(listing.result, 0);
    const SpiListedEntry* readme = nullptr;
    for (const SpiListedEntry& entry : listing.entries)
        if (JoinedName(entry) == L"tree\\readme.txt") readme = &entry;
    ASSERT_NE(readme, nullptr);
    EXPECT_EQ(Plugin().FetchWide(path, static_cast<LONG_PTR>(readme->record.position)).bytes,
              testsupport::ReadBytes(Fixtures() + "input\\tree\\readme.txt"));
}
