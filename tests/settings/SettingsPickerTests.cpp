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

std::wstring WithoutTrailingSeparator(const std::wstring& path) { return path.substr(0, path.size() - 1); }

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
    bool WaitForSelection(const std::wstring& name) const {
        return WaitFor([&] { return Text(Next(TVGN_CARET, nullptr)) == name; });
    }

    // Once the browser has opened at `start`, selects the folder `name` beside it. On failure,
    // `seen` tells what the tree showed.
    bool SelectBesideTheStart(const std::wstring& start, const std::wstring& name, std::wstring* seen) const {
        return WaitFor([&] {
            HTREEITEM selected = Next(TVGN_CARET, nullptr);
            *seen = L"selected: " + Text(selected) + L"; beside it:";
            if (Text(selected) != start) return false;
            for (HTREEITEM item = Next(TVGN_CHILD, Next(TVGN_PARENT, selected)); item; item = Next(TVGN_NEXT, item)) {
                *seen += L" " + Text(item);
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
    std::wstring Text(HTREEITEM item) const {
        if (!item) return std::wstring();
        wchar_t text[MAX_PATH] = {};
        TVITEMW look = {};
        look.mask = TVIF_TEXT;
        look.hItem = item;
        look.pszText = text;
        look.cchTextMax = MAX_PATH;
        SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&look));
        return text;
    }

    HWND tree_;
};

std::wstring LastComponent(const std::wstring& folder) {
    std::wstring path = WithoutTrailingSeparator(folder);
    return path.substr(path.find_last_of(L'\\') + 1);
}

std::string CurrentDirectory() {
    char text[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof text, text);
    return text;
}
}  // namespace

// Every picker takes a folder that code page 932 cannot spell.
TEST_F(SettingsPickers, DestinationPickerStartsAtTheFieldAndTakesThePick) {
    TempDir parent;
    const std::wstring destination = testsupport::MakeFolder(parent, OutsideCp932Name);
    ASSERT_FALSE(destination.empty());
    OpenSettings open;
    open.Click(IDC_SETTINGS_MODE_IMMEDIATE);
    open.SetWideText(IDC_SETTINGS_DEST_FOLDER, destination);

    PopupDriver cancel(open.hwnd(), [](HWND browser) { Press(browser, IDCANCEL); });
    open.Click(IDC_SETTINGS_DEST_BROWSE);
    ASSERT_TRUE(cancel.Join());
    EXPECT_EQ(open.WideText(IDC_SETTINGS_DEST_FOLDER), destination);

    // OK at once picks the folder the browser started at, written back as the shell gives it.
    bool opened = false;
    PopupDriver pick(open.hwnd(), [&](HWND browser) {
        opened = FolderTree(browser).WaitForSelection(LastComponent(destination));
        Press(browser, IDOK);
    });
    open.Click(IDC_SETTINGS_DEST_BROWSE);
    ASSERT_TRUE(pick.Join());
    ASSERT_TRUE(opened);
    EXPECT_EQ(open.WideText(IDC_SETTINGS_DEST_FOLDER), WithoutTrailingSeparator(destination));
}

TEST_F(SettingsPickers, PluginFolderPickerRefillsTheList) {
    // The browser starts at the empty folder; the plug-in folder is its sibling.
    TempDir parent;
    const std::wstring empty = testsupport::MakeFolder(parent, OutsideCp932Name);
    ASSERT_FALSE(empty.empty());
    const std::string plugins = parent / "plugins\\";
    ASSERT_TRUE(CreateDirectoryA(plugins.c_str(), nullptr));
    for (const char* name : {"one", "two"})
        ASSERT_TRUE(CopyFileA(fixture::FixturePath().c_str(), (plugins + PluginFile(name)).c_str(), FALSE));
    OpenSettings open;
    open.SetWideText(IDC_SETTINGS_SPI_FOLDER, empty);
    ASSERT_EQ(open.RowCount(), 0);

    // (In the emulated 32-bit machine, Wine's browser first opened after the folders were made
    // selects nothing; a browser opened and cancelled first, as in the destination test,
    // avoids that.)
    PopupDriver first(open.hwnd(), [](HWND browser) { Press(browser, IDCANCEL); });
    open.Click(IDC_SETTINGS_SPI_BROWSE);
    ASSERT_TRUE(first.Join());
    EXPECT_EQ(open.WideText(IDC_SETTINGS_SPI_FOLDER), empty);

    bool selected = false;
    std::wstring seen;
    PopupDriver pick(open.hwnd(), [&](HWND browser) {
        selected = FolderTree(browser).SelectBesideTheStart(LastComponent(empty), L"plugins", &seen);
        Press(browser, IDOK);
    });
    open.Click(IDC_SETTINGS_SPI_BROWSE);
    ASSERT_TRUE(pick.Join());
    ASSERT_TRUE(selected) << testing::PrintToString(seen);
    EXPECT_EQ(open.Text(IDC_SETTINGS_SPI_FOLDER), plugins.substr(0, plugins.size() - 1));
    EXPECT_EQ(open.RowCount(), 2);
    EXPECT_EQ(open.Text(IDC_SETTINGS_PLUGIN_COUNT), "【使用可能なアーカイブプラグインは  2 個】");
}

TEST_F(SettingsPickers, EditorPickerOpensInTheProgramsFolderAndRestoresTheCurrentDirectory) {
    TempDir parent;
    TempDir elsewhere;
    const std::wstring programs = testsupport::MakeFolder(parent, OutsideCp932Name);
    ASSERT_FALSE(programs.empty());
    const std::wstring chosen = programs + L"편집기😀.exe";
    ASSERT_TRUE(testsupport::WriteBytes(programs + L"old.exe", "MZ"));
    ASSERT_TRUE(testsupport::WriteBytes(chosen, "MZ"));
    std::string before = CurrentDirectory();
    SetCurrentDirectoryA(elsewhere.path().c_str());

    OpenSettings open;
    open.SetWideText(IDC_SETTINGS_EDITOR, programs + L"old.exe");
    std::wstring shownFolder;
    std::string caption;
    PopupDriver pick(open.hwnd(), [&](HWND fileDialog) {
        caption = testsupport::WindowText(fileDialog);
        // The dialog was opened through the wide function: it answers in UTF-16.
        wchar_t folder[MAX_PATH] = {};
        SendMessageW(fileDialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
        shownFolder = folder;
        SendMessageW(fileDialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(chosen.c_str()));
        SendMessageW(fileDialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(chosen.c_str()));
        Press(fileDialog, IDOK);
    });
    open.Click(IDC_SETTINGS_EDITOR_BROWSE);
    ASSERT_TRUE(pick.Join());
    EXPECT_EQ(caption, "参照用エディタの選択");
    EXPECT_EQ(shownFolder + L"\\", programs);
    EXPECT_EQ(open.WideText(IDC_SETTINGS_EDITOR), chosen);
    EXPECT_EQ(CurrentDirectory() + "\\", elsewhere.path());

    PopupDriver cancel(open.hwnd(), [](HWND fileDialog) { Press(fileDialog, IDCANCEL); });
    open.Click(IDC_SETTINGS_EDITOR_BROWSE);
    ASSERT_TRUE(cancel.Join());
    EXPECT_EQ(open.WideText(IDC_SETTINGS_EDITOR), chosen);

    SetCurrentDirectoryA(before.c_str());
}
