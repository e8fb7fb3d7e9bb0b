// The folder and program pickers of the settings dialog, answered by a helper thread.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <commctrl.h>
#include <dlgs.h>
#include "res/resource.h"
#include "tests/settings/SettingsTestHelpers.h"

using namespace settingstest;
using testsupport::TempDir;
using testsupport::PluginFile;

namespace {
class SettingsPickers : public testing::Test {
protected:
    testsupport::CleanProfile clean;
};

std::string WithoutTrailingSeparator(const std::string& path) { return path.substr(0, path.size() - 1); }

void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// The browser's folder tree, driven from the test's helper thread as a user's clicks would.
// (Its BFFM_SETSELECTION is no way to do it: the message may reach the browser while it is
// still opening, before it selects its start folder; and Wine's browser finds a folder by
// comparing item ids, file times included, with those its tree read on opening, so it fails
// once a parent folder such as the temporary-files folder has changed since.)
class FolderTree {
public:
    explicit FolderTree(HWND browser) : tree_(FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr)) {}

    // Waits until the browser has opened: the last thing it does is select the start folder.
    // (The 32-bit product's tests run in an emulated machine, where a browser takes seconds.)
    bool WaitForSelection(const std::string& name) const {
        return WaitFor([&] { return Text(Next(TVGN_CARET, nullptr)) == name; });
    }

    // Once the browser has opened at `start`, selects the folder `name` beside it. On failure,
    // `seen` tells what the tree showed.
    bool SelectBesideTheStart(const std::string& start, const std::string& name, std::string* seen) const {
        return WaitFor([&] {
            HTREEITEM selected = Next(TVGN_CARET, nullptr);
            *seen = "selected: " + Text(selected) + "; beside it:";
            if (Text(selected) != start) return false;
            for (HTREEITEM item = Next(TVGN_CHILD, Next(TVGN_PARENT, selected)); item; item = Next(TVGN_NEXT, item)) {
                *seen += " " + Text(item);
                if (Text(item) == name)
                    return SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != FALSE;
            }
            return false;
        });
    }

private:
    template <typename Condition>
    static bool WaitFor(Condition met) {
        for (int i = 0; i < 1500; ++i) {
            if (met()) return true;
            Sleep(20);
        }
        return false;
    }
    HTREEITEM Next(UINT relation, HTREEITEM from) const {
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
    }
    std::string Text(HTREEITEM item) const {
        if (!item) return std::string();
        char text[MAX_PATH] = {};
        TVITEMA look = {};
        look.mask = TVIF_TEXT;
        look.hItem = item;
        look.pszText = text;
        look.cchTextMax = sizeof text;
        SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&look));
        return text;
    }

    HWND tree_;
};

std::string LastComponent(const std::string& folder) {
    std::string path = WithoutTrailingSeparator(folder);
    return path.substr(path.find_last_of('\\') + 1);
}

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
    bool opened = false;
    PopupDriver pick(open.hwnd(), [&](HWND browser) {
        opened = FolderTree(browser).WaitForSelection(LastComponent(destination.path()));
        Press(browser, IDOK);
    });
    open.Click(IDC_SETTINGS_DEST_BROWSE);
    ASSERT_TRUE(pick.Join());
    ASSERT_TRUE(opened);
    EXPECT_EQ(open.Text(IDC_SETTINGS_DEST_FOLDER), WithoutTrailingSeparator(destination.path()));
}

TEST_F(SettingsPickers, PluginFolderPickerRefillsTheList) {
    PluginTestFolder plugins;
    TempDir empty;
    CopyPlugins(plugins, {{PluginFile("one"), false, "one", "*.one"}, {PluginFile("two"), false, "two", "*.two"}});
    OpenSettings open;
    open.SetText(IDC_SETTINGS_SPI_FOLDER, empty.path());
    ASSERT_EQ(open.RowCount(), 0);

    // The browser starts at the empty folder; the plug-in folder is its sibling. (In the
    // emulated 32-bit machine, Wine's browser first opened after the folders were made selects
    // nothing; a browser opened and cancelled first, as in the destination test, avoids that.)
    PopupDriver first(open.hwnd(), [](HWND browser) { Press(browser, IDCANCEL); });
    open.Click(IDC_SETTINGS_SPI_BROWSE);
    ASSERT_TRUE(first.Join());
    EXPECT_EQ(open.Text(IDC_SETTINGS_SPI_FOLDER), empty.path());

    std::string folder = WithoutTrailingSeparator(plugins.Path());
    bool selected = false;
    std::string seen;
    PopupDriver pick(open.hwnd(), [&](HWND browser) {
        selected = FolderTree(browser).SelectBesideTheStart(LastComponent(empty.path()), LastComponent(plugins.Path()), &seen);
        Press(browser, IDOK);
    });
    open.Click(IDC_SETTINGS_SPI_BROWSE);
    ASSERT_TRUE(pick.Join());
    ASSERT_TRUE(selected) << seen;
    EXPECT_EQ(open.Text(IDC_SETTINGS_SPI_FOLDER), folder);
    EXPECT_EQ(open.RowCount(), 2);
    EXPECT_EQ(open.Text(IDC_SETTINGS_PLUGIN_COUNT), "【使用可能なアーカイブプラグインは  2 個】");

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
