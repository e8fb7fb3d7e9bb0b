#include <gtest/gtest.h>
#include <string>
#include "listwin/WorkFile.h"

TEST(WorkFile, PlainNamesAreAccepted) {
    for (const char* name : {"readme.txt", "..a", "a..b", "表.txt", "ソフト", "console.txt", "icon", "com10", "lpt", "x"})
        EXPECT_TRUE(IsPlainFileName(name)) << name;
}

TEST(WorkFile, NamesThatLeadElsewhereAreRefused) {
    for (const char* name : {"", ".", "..", "...", ". .", "..\\evil.txt", "../evil.txt", "a/b", "a\\b",
                             "\\evil.txt", "C:evil.txt", "C:\\evil.txt", "x.txt:stream", "CON", "nul.txt",
                             "Aux ", "com1", "LPT9.log", "conout$", "tab\there"})
        EXPECT_FALSE(IsPlainFileName(name)) << name;
}

TEST(WorkFile, PathIsFolderAndNameOrNothing) {
    char out[260];
    ASSERT_TRUE(WorkFilePath("C:\\TEMP\\Varnito_pics\\", "表.txt", out, sizeof out));
    EXPECT_STREQ(out, "C:\\TEMP\\Varnito_pics\\表.txt");

    EXPECT_FALSE(WorkFilePath("C:\\TEMP\\Varnito_pics\\", "..\\x", out, sizeof out));
    EXPECT_STREQ(out, "");

    std::string folder = "C:\\" + std::string(240, 'f') + "\\";
    std::string fits(259 - folder.size(), 'n'), tooLong(260 - folder.size(), 'n');
    EXPECT_TRUE(WorkFilePath(folder.c_str(), fits.c_str(), out, sizeof out));
    EXPECT_EQ(std::string(out).size(), 259u);
    EXPECT_FALSE(WorkFilePath(folder.c_str(), tooLong.c_str(), out, sizeof out));
}
