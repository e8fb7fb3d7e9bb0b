// The one reading of code page 932 text that the program and our plug-ins share: where a
// byte that looks like a separator, a bar or a letter belongs to a double-byte character.
#include <gtest/gtest.h>
#include <string>
#include "text/Cp932.h"

namespace {
size_t NameStart(const std::string& path) { return cp932::AfterLastSeparator(path.data(), path.size(), "\\/:"); }
}  // namespace

TEST(Cp932Text, ATrailByteThatLooksLikeASeparatorBelongsToItsCharacter) {
    EXPECT_FALSE(cp932::EndsWithSeparator("C:\\ソ"));   // 0x83 0x5C
    EXPECT_TRUE(cp932::EndsWithSeparator("C:\\表\\"));  // 0x95 0x5C, then a separator
    EXPECT_TRUE(cp932::EndsWithSeparator("a/"));
    EXPECT_FALSE(cp932::EndsWithSeparator(""));
    EXPECT_EQ(NameStart("C:\\dl\\表"), 6u);
    EXPECT_EQ(NameStart("表"), 0u);
    // A lead byte without a trail byte is a character of its own: the '/' after it separates,
    // as it does for the file system, so no "..\" can hide behind it.
    EXPECT_TRUE(cp932::EndsWithSeparator("\x81/"));
    EXPECT_EQ(NameStart("\x81/.."), 2u);
    EXPECT_EQ(cp932::CharWidth("\x81\x7F"), 1u);
    EXPECT_EQ(cp932::CharWidth("\x81"), 1u);  // before the terminator

    const std::string path = "C:\\ソフト\\表.zip";  // ソ and 表 end in 0x5C
    cp932::PathParts parts = cp932::SplitPath(path.data(), path.size());
    EXPECT_EQ(path.substr(0, parts.folderStart), "C:");
    EXPECT_EQ(path.substr(parts.folderStart, parts.nameStart - parts.folderStart), "\\ソフト\\");
    EXPECT_EQ(path.substr(parts.nameStart, parts.extensionStart - parts.nameStart), "表");
    EXPECT_EQ(path.substr(parts.extensionStart), ".zip");
}

TEST(Cp932Text, CutsAndFoldsOnlyWholeCharacters) {
    const std::string text = "aテ表";  // 1 + 2 + 2 bytes
    EXPECT_EQ(cp932::FittingLength(text.data(), text.size(), 5), 5u);
    EXPECT_EQ(cp932::FittingLength(text.data(), text.size(), 4), 3u);  // not half of 表
    EXPECT_EQ(cp932::FittingLength(text.data(), text.size(), 2), 1u);
    EXPECT_EQ(cp932::FittingLength("ab\0cd", 5, 10), 2u);           // ends at a zero byte

    // テ is 0x83 0x65: its second byte is an 'e' that must not become 'E' (0x83 0x45 is ウ).
    EXPECT_EQ(cp932::UpperAscii("テst.zip"), "テST.ZIP");
    EXPECT_EQ(cp932::UpperAscii("\x81" "a"), "\x81" "a");  // 0x81 0x61 is one character
}
