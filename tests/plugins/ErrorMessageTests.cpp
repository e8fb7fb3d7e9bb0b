// The message text of every plug-in result code.
#include <gtest/gtest.h>
#include <cstring>
#include <set>
#include <string>
#include <vector>
#include "plugins/PluginTable.h"
#include "tests/support/TestSupport.h"

namespace {

// The text back from UTF-16: a text that windres or the compiler mangled (a lead byte that lost
// its trail byte, say) does not come back, or not byte for byte.
bool SurvivesTheCodePage(const std::string& text) {
    int wide = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.c_str(), -1, nullptr, 0);
    if (wide <= 0) return false;
    std::vector<wchar_t> utf16(wide);
    MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.c_str(), -1, utf16.data(), wide);
    char back[512] = {};
    BOOL lossy = FALSE;
    WideCharToMultiByte(932, 0, utf16.data(), -1, back, sizeof back, nullptr, &lossy);
    return !lossy && text == back;
}

TEST(PluginErrorText, EveryCodeHasAMessageOfItsOwnThatFitsItsBox) {
    std::set<std::string> texts;
    for (int code = -1; code >= LowestPluginResult; --code) {
        const char* text = PluginErrorText(code);
        ASSERT_NE(nullptr, text) << code;
        EXPECT_GT(strlen(text), 0u) << code;
        EXPECT_LT(strlen(text), 256u) << code << ": the box's buffer";
        EXPECT_TRUE(SurvivesTheCodePage(text)) << code;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), static_cast<size_t>(-LowestPluginResult));
    EXPECT_EQ(LowestPluginResult, -21);
}

TEST(PluginErrorText, NoneForSuccessOrUnknownCodes) {
    EXPECT_EQ(nullptr, PluginErrorText(PluginSucceeded));
    EXPECT_EQ(nullptr, PluginErrorText(1));
    EXPECT_EQ(nullptr, PluginErrorText(LowestPluginResult - 1));
}

}  // namespace
