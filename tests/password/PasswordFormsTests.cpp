// A password typed on Japanese Windows, in the forms archives made elsewhere hold it.
#include <gtest/gtest.h>

#include "spi/common/password/PasswordForms.h"

namespace {

TEST(PasswordForms, JapaneseTextBecomesUtf8AndUtf16) {
    // 表 and ソ end in the byte 0x5C in code page 932: still one character each.
    EXPECT_EQ(password::AsUtf8("パス表ソa1"), "\xe3\x83\x91\xe3\x82\xb9\xe8\xa1\xa8\xe3\x82\xbd" "a1");
    EXPECT_EQ(password::AsUtf16Le("パス表ソa1"), std::string("\xd1\x30\xb9\x30\x68\x88\xbd\x30" "a\0" "1\0", 12));
}

TEST(PasswordForms, AsciiStaysAsItIsInUtf8AndBroadensInUtf16) {
    EXPECT_EQ(password::AsUtf8("Secret 1!"), "Secret 1!");
    EXPECT_EQ(password::AsUtf16Le("ab"), std::string("a\0b\0", 4));
}

TEST(PasswordForms, BytesThatAreNotCodePage932GiveNothing) {
    EXPECT_EQ(password::AsUtf8("ab\x83"), "") << "a lead byte without its second byte";
    EXPECT_EQ(password::AsUtf16Le(""), "");
}

}  // namespace
