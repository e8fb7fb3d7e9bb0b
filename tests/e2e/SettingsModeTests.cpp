// Settings mode: the program started without arguments shows its settings dialog, once.
#include "tests/e2e/E2eTest.h"

namespace e2e {
namespace {

constexpr char SettingsCaption[] = "Varnito環境設定";
constexpr int ImmediateRadio = 1011, ListRadio = 1010;
constexpr int EditorEdit = 1012, DestinationEdit = 1000, PluginFolderEdit = 1001, PluginList = 1005;
constexpr int OpenFolderCheck = 1006, AskBeforeOverwriteCheck = 1009;

class SettingsMode : public E2eTest {};

bool ListsPlugin(HWND list, const std::string& fileName) {
    for (const auto& row : Rows(list, 2))
        if (lstrcmpiA(row[1].c_str(), fileName.c_str()) == 0) return true;
    return false;
}

TEST_F(SettingsMode, ASecondStartBringsTheFirstBackAndOkStoresTheValues) {
    PrepareProfile(0, "C:\\old\\destination");
    VarnitoProcess first;
    ASSERT_TRUE(first.Start(""));
    HWND dialog = first.WaitForWindow(SettingsCaption);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ControlText(dialog, PluginFolderEdit), PluginFolder());
    EXPECT_EQ(ControlText(dialog, DestinationEdit), "C:\\old\\destination");
    EXPECT_TRUE(IsChecked(dialog, ListRadio));
    EXPECT_TRUE(ListsPlugin(GetDlgItem(dialog, PluginList), testsupport::PluginFile("Zip")));

    // Minimized, then the program started again without arguments.
    ShowWindow(dialog, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(dialog) ? dialog : nullptr; }, 5000));
    {
        VarnitoProcess second;
        ASSERT_TRUE(second.Start(""));
        EXPECT_TRUE(second.WaitForExit()) << "the second start did not end";
        EXPECT_TRUE(second.Windows().empty());
    }
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(dialog) && GetForegroundWindow() == dialog ? dialog : nullptr; }, 5000))
        << "the first dialog was not brought forward";
    EXPECT_EQ(first.Windows().size(), 1u);

    ASSERT_TRUE(ClickAndWait(dialog, ImmediateRadio));
    ASSERT_TRUE(SetControlText(dialog, EditorEdit, "C:\\tools\\editor.exe"));
    ASSERT_TRUE(SetControlText(dialog, DestinationEdit, "C:\\new\\destination"));
    ASSERT_TRUE(ClickAndWait(dialog, OpenFolderCheck));          // 0 -> 1
    ASSERT_TRUE(ClickAndWait(dialog, AskBeforeOverwriteCheck));  // 1 -> 0
    // Nothing is stored before OK.
    EXPECT_EQ(ReadProfileNumber("DefrostingMode"), 0);
    PressButton(dialog, IDOK);
    ASSERT_TRUE(first.WaitForExit());

    EXPECT_EQ(ReadProfileNumber("DefrostingMode"), 1);
    EXPECT_EQ(ReadProfileText("NullOpenEditor"), "C:\\tools\\editor.exe");
    EXPECT_EQ(ReadProfileText("DefrostingFold"), "C:\\new\\destination");
    EXPECT_EQ(ReadProfileNumber("OpenCheckFlag"), 1);
    EXPECT_EQ(ReadProfileNumber("UpdateChkFlag"), 0);
    EXPECT_EQ(ReadProfileText("SpiFold"), PluginFolder());
}

TEST_F(SettingsMode, CancelStoresNothing) {
    PrepareProfile(1, "C:\\kept");
    VarnitoProcess varnito;
    ASSERT_TRUE(varnito.Start(""));
    HWND dialog = varnito.WaitForWindow(SettingsCaption);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(IsChecked(dialog, ImmediateRadio));
    ASSERT_TRUE(SetControlText(dialog, DestinationEdit, "C:\\changed"));
    ASSERT_TRUE(ClickAndWait(dialog, ListRadio));
    PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(varnito.WaitForExit());
    EXPECT_EQ(ReadProfileText("DefrostingFold"), "C:\\kept");
    EXPECT_EQ(ReadProfileNumber("DefrostingMode"), 1);
}

}  // namespace
}  // namespace e2e
