#include <gtest/gtest.h>
#include <string>
#include "listwin/WorkFile.h"

TEST(WorkFile, PlainNamesAreAccepted) {
    for (const wchar_t* name : {L"readme.txt", L"..a", L"a..b", L"表.txt", L"ソフト", L"console.txt", L"icon", L"com10",
                                L"lpt", L"x", L"한국어.txt", L"emoji\U0001F600.txt"})
        EXPECT_TRUE(IsPlainFileName(name)) << name;
}

TEST(WorkFile, NamesThatLeadElsewhereAreRefused) {
    for (const wchar_t* name : {L"", L".", L"..", L"...", L". .", L"..\\evil.txt", L"../evil.txt", L"a/b", L"a\\b",
                                L"\\evil.txt", L"C:evil.txt", L"C:\\evil.txt", L"x.txt:stream", L"CON", L"nul.txt",
                                L"Aux ", L"com1", L"LPT9.log", L"conout$", L"tab\there", L"evil.txt.", L"evil.txt ",
                                L"COM\u00B2"})
        EXPECT_FALSE(IsPlainFileName(name)) << name;
}

TEST(WorkFile, PathIsFolderAndNameOrNothing) {
    EXPECT_EQ(WorkFilePath(L"C:\\TEMP\\Varnito_pics\\", L"表.txt"), L"C:\\TEMP\\Varnito_pics\\表.txt");
    EXPECT_EQ(WorkFilePath(L"C:\\TEMP\\Varnito_pics\\", L"..\\x"), L"");
    // Any length: the file functions take long paths in their extended form.
    std::wstring folder = L"C:\\" + std::wstring(240, L'f') + L"\\", name(40, L'n');
    EXPECT_EQ(WorkFilePath(folder, name), folder + name);
}
