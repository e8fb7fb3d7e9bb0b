#include <gtest/gtest.h>
#include <windows.h>
#include "framework/WinApp.h"

TEST(Platform, AnsiCodePageIs932) { EXPECT_EQ(GetACP(), 932u); }

TEST(Platform, ApplicationNameComesFromStringResource) {
    char title[64] = {};
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), AFX_IDS_APP_TITLE, title, sizeof title), 0);
    EXPECT_STREQ(title, "Varnito");
    EXPECT_EQ(AfxGetApp()->m_appName, "Varnito");
}

#include "tests/support/TestSupport.h"

// The watcher that every window test relies on must see a real message box and close it.
TEST(Platform, MessageBoxWatcherReadsAndClosesBoxes) {
    testsupport::MessageBoxWatcher watcher;
    int result = MessageBoxA(nullptr, "本文です。", "見出し", MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    EXPECT_EQ(result, IDOK);
    ASSERT_TRUE(watcher.WaitFor(1));
    auto seen = watcher.Seen();
    EXPECT_EQ(seen[0].caption, "見出し");
    EXPECT_EQ(seen[0].text, "本文です。");
}
