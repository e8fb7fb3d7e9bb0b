// The folder and program pickers of the settings dialog, answered by a helper thread.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>
#include "res/resource.h"
#include "tests/settings/SettingsTestHelpers.h"

using namespace settingstest;
using testsupport::TempDir;
using testsupport::PluginFile;

namespace {
class SettingsPickers : public testing::Test {
protected:
    void SetUp() override { testsupport::ClearProfile(); }
    void TearDown() override { testsupport::ClearProfile(); }
};

std::string WithoutTrailingSeparator(const std::string& path) { return path.substr(0, path.size() - 1); }

void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

std::string CurrentDirectory() {
    char text[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof text, text);
    return text;
}
}  // namespace

TEST_F(SettingsPickers, DestinationPickerStartsAtTheFieldAndTakesThePick) {
    TempDir destination;
    OpenSettings open;
    open.Click(IDC_SETTINGS_MODE_IMMEDIATE);
    open.SetText(IDC_SETTINGS_DEST_FOLDER, destination.path());

    PopupDriver cancel(open.hwnd(), [](HWND browser) { Press(browser, IDCANCEL); });
    open.Click(IDC_SETTINGS_DEST_BROWSE);
    ASSERT_TRUE(cancel.Join());
    EXPECT_EQ(open.Text(IDC_SETTINGS_DEST_FOLDER), destination.path());

    // OK at once picks the folder the browser started at, written back as the shell gives it.
    PopupDriver pick(open.hwnd(), [](HWND browser) { Press(browser, IDOK); });
    open.Click(IDC_SETTINGS_DEST_BROWSE);
    ASSERT_TRUE(pick.Join());
    EXPECT_EQ(open.Text(IDC_SETTINGS_DEST_FOLDER), WithoutTrailingSeparator(destination.path()));
}

TEST_F(SettingsPickers, PluginFolderPickerRefillsTheList) {
    TempDir plugins;
    TempDir empty;
    CopyPlugins(plugins, {{PluginFile("one"), false, "one", "*.one"}, {PluginFile("two"), false, "two", "*.two"}});
    OpenSettings open;
    open.SetText(IDC_SETTINGS_SPI_FOLDER, empty.path());
    ASSERT_EQ(open.RowCount(), 0);

    std::string folder = WithoutTrailingSeparator(plugins.path());
    PopupDriver pick(open.hwnd(), [&](HWND browser) {
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
        Press(browser, IDOK);
    });
    open.Click(IDC_SETTINGS_SPI_BROWSE);
    ASSERT_TRUE(pick.Join());
    EXPECT_EQ(open.Text(IDC_SETTINGS_SPI_FOLDER), folder);
    EXPECT_EQ(open.RowCount(), 2);
    EXPECT_EQ(open.Text(IDC_SETTINGS_PLUGIN_COUNT), "【使用可能なアーカイブプラグインは  2 個】");

    PopupDriver cancel(open.hwnd(), [](HWND browser) { Press(browser, IDCANCEL); });
    open.Click(IDC_SETTINGS_SPI_BROWSE);
    ASSERT_TRUE(cancel.Join());
    EXPECT_EQ(open.Text(IDC_SETTINGS_SPI_FOLDER), folder);
}

TEST_F(SettingsPickers, EditorPickerOpensInTheProgramsFolderAndRestoresTheCurrentDirectory) {
    TempDir programs;
    TempDir elsewhere;
    testsupport::WriteBytes(programs / "old.exe", "MZ");
    testsupport::WriteBytes(programs / "new.exe", "MZ");
    std::string before = CurrentDirectory();
    SetCurrentDirectoryA(elsewhere.path().c_str());

    OpenSettings open;
    open.SetText(IDC_SETTINGS_EDITOR, programs / "old.exe");
    std::string shownFolder;
    std::string caption;
    std::string chosen = programs / "new.exe";
    PopupDriver pick(open.hwnd(), [&](HWND fileDialog) {
        caption = testsupport::WindowText(fileDialog);
        char folder[MAX_PATH] = {};
        SendMessageA(fileDialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
        shownFolder = folder;
        SendMessageA(fileDialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(chosen.c_str()));
        SendMessageA(fileDialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(chosen.c_str()));
        Press(fileDialog, IDOK);
    });
    open.Click(IDC_SETTINGS_EDITOR_BROWSE);
    ASSERT_TRUE(pick.Join());
    EXPECT_EQ(caption, "参照用エディタの選択");
    EXPECT_EQ(shownFolder + "\\", programs.path());
    EXPECT_EQ(open.Text(IDC_SETTINGS_EDITOR), chosen);
    EXPECT_EQ(CurrentDirectory() + "\\", elsewhere.path());

    PopupDriver cancel(open.hwnd(), [](HWND fileDialog) { Press(fileDialog, IDCANCEL); });
    open.Click(IDC_SETTINGS_EDITOR_BROWSE);
    ASSERT_TRUE(cancel.Join());
    EXPECT_EQ(open.Text(IDC_SETTINGS_EDITOR), chosen);

    SetCurrentDirectoryA(before.c_str());
}
