// The settings dialog on the real registry of the test prefix, with copies of the fixture
// plug-ins, driven through its controls.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include "core/ImageViewerFolder.h"
#include "core/PluginFolder.h"
#include "core/SettingIO.h"
#include "core/Utility.h"
#include "framework/DataExchange.h"
#include "res/resource.h"
#include "tests/fixture/FixtureControl.h"
#include "tests/settings/SettingsTestHelpers.h"
#include "text/PathSize.h"
#include "text/WideText.h"

using namespace settingstest;
using testsupport::TempDir;
using testsupport::PluginFile;

namespace {
const std::string ZeroCount = "【使用可能なアーカイブプラグインは  0 個】";
const std::string TwoCount = "【使用可能なアーカイブプラグインは  2 個】";

class SettingsDialog : public testing::Test {
protected:

    // Two archive plug-ins whose names differ in case order and one image plug-in.
    void MakePluginFolder() {
        CopyPlugins(plugins, {{PluginFile("Bzip"), false, "Bzip reader", "*.bz"},
                              {PluginFile("azip"), false, "azip reader", "*.az"},
                              {PluginFile("cimage"), true, "", ""}});
    }
    // The plug-in folder without its trailing backslash, as a user types it.
    std::string PluginFolder() const { return plugins.Path().substr(0, plugins.Path().size() - 1); }

    testsupport::CleanProfile clean{true};
    PluginTestFolder plugins;
};

void SetImageViewerPath(const std::string& path) { ASSERT_TRUE(testsupport::WriteImageViewerPath(path.c_str())); }

void TypeChar(HWND edit, char c) { SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1); }
}  // namespace

TEST_F(SettingsDialog, CleanProfileShowsDefaults) {
    OpenSettings open;
    EXPECT_TRUE(open.Checked(IDC_SETTINGS_MODE_LIST));
    EXPECT_FALSE(open.Checked(IDC_SETTINGS_MODE_IMMEDIATE));
    EXPECT_EQ(open.Text(IDC_SETTINGS_EDITOR), "NotePad");
    EXPECT_EQ(open.Text(IDC_SETTINGS_DEST_FOLDER), "");
    // No folder set: the one the program would load, the plug-ins beside it (if there are).
    std::string beside = testsupport::ExeFolder() + "plugins";
    bool hasBeside = GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES;
    EXPECT_EQ(open.Text(IDC_SETTINGS_SPI_FOLDER), hasBeside ? beside : "");
    EXPECT_TRUE(open.Checked(IDC_SETTINGS_OPEN_CHECK));
    EXPECT_TRUE(open.Checked(IDC_SETTINGS_UPDATE_CHECK));
    EXPECT_FALSE(open.Checked(IDC_SETTINGS_AVOID_DOUBLE_FOLDER));
    for (int id : {IDC_SETTINGS_OPEN_CHECK, IDC_SETTINGS_UPDATE_CHECK, IDC_SETTINGS_AVOID_DOUBLE_FOLDER,
                   IDC_SETTINGS_DEST_LABEL, IDC_SETTINGS_DEST_FOLDER, IDC_SETTINGS_DEST_BROWSE})
        EXPECT_FALSE(open.Enabled(id)) << id;
    for (int id : {IDC_SETTINGS_EDITOR_LABEL, IDC_SETTINGS_EDITOR, IDC_SETTINGS_EDITOR_BROWSE})
        EXPECT_TRUE(open.Enabled(id)) << id;
    EXPECT_EQ(open.Text(IDC_SETTINGS_PLUGIN_COUNT), ZeroCount);
    EXPECT_EQ(open.RowCount(), 0);

    HWND header = reinterpret_cast<HWND>(SendMessageA(open.Item(IDC_SETTINGS_PLUGIN_LIST), LVM_GETHEADER, 0, 0));
    ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 4);
    const char* headings[] = {"", "Plug-in", "対応拡張子", "INFORMATION"};
    for (int column = 0; column < 4; ++column) {
        char text[64] = {};
        HDITEMA item = {};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, headings[column]);
    }
    EXPECT_TRUE(GetPropA(open.hwnd(), ExecutableName().c_str()) != nullptr);
}

TEST_F(SettingsDialog, ModeButtonsSwitchTheTwoGroups) {
    OpenSettings open;
    const int immediateGroup[] = {IDC_SETTINGS_UPDATE_CHECK, IDC_SETTINGS_OPEN_CHECK, IDC_SETTINGS_AVOID_DOUBLE_FOLDER,
                                  IDC_SETTINGS_DEST_LABEL, IDC_SETTINGS_DEST_FOLDER, IDC_SETTINGS_DEST_BROWSE};
    const int editorGroup[] = {IDC_SETTINGS_EDITOR_LABEL, IDC_SETTINGS_EDITOR, IDC_SETTINGS_EDITOR_BROWSE};

    open.Click(IDC_SETTINGS_MODE_IMMEDIATE);
    EXPECT_TRUE(open.Checked(IDC_SETTINGS_MODE_IMMEDIATE));
    for (int id : immediateGroup) EXPECT_TRUE(open.Enabled(id)) << id;
    for (int id : editorGroup) EXPECT_FALSE(open.Enabled(id)) << id;

    open.Click(IDC_SETTINGS_MODE_LIST);
    EXPECT_TRUE(open.Checked(IDC_SETTINGS_MODE_LIST));
    for (int id : immediateGroup) EXPECT_FALSE(open.Enabled(id)) << id;
    for (int id : editorGroup) EXPECT_TRUE(open.Enabled(id)) << id;
}

TEST_F(SettingsDialog, UnknownStoredModeSelectsNoButtonAndIsStoredAsMinusOne) {
    CSettingIO().WriteInt("", "DefrostingMode", 5);
    OpenSettings open;
    EXPECT_FALSE(open.Checked(IDC_SETTINGS_MODE_LIST));
    EXPECT_FALSE(open.Checked(IDC_SETTINGS_MODE_IMMEDIATE));
    for (int id : {IDC_SETTINGS_UPDATE_CHECK, IDC_SETTINGS_OPEN_CHECK, IDC_SETTINGS_AVOID_DOUBLE_FOLDER,
                   IDC_SETTINGS_DEST_LABEL, IDC_SETTINGS_DEST_FOLDER, IDC_SETTINGS_DEST_BROWSE,
                   IDC_SETTINGS_EDITOR_LABEL, IDC_SETTINGS_EDITOR, IDC_SETTINGS_EDITOR_BROWSE})
        EXPECT_FALSE(open.Enabled(id)) << id;
    open.Click(IDOK);
    EXPECT_EQ(ReadProfileNumber("DefrostingMode"), -1);
}

TEST_F(SettingsDialog, ListsArchivePluginsAndSortsByNameIgnoringCase) {
    MakePluginFolder();
    CSettingIO().WriteString("", "SpiFold", plugins.Path().c_str());
    OpenSettings open;
    EXPECT_EQ(open.Text(IDC_SETTINGS_SPI_FOLDER), plugins.Path());
    ASSERT_EQ(open.RowCount(), 2);
    EXPECT_EQ(open.Text(IDC_SETTINGS_PLUGIN_COUNT), TwoCount);
    EXPECT_EQ(open.RowImage(0), 1);
    EXPECT_EQ(open.RowImage(1), 1);
    EXPECT_EQ(open.Column(0), std::vector<std::string>({"", ""}));

    open.ClickHeader(1);
    EXPECT_EQ(open.Column(1), std::vector<std::string>({PluginFile("azip"), PluginFile("Bzip")}));
    EXPECT_EQ(open.Column(2), std::vector<std::string>({"*.az", "*.bz"}));
    EXPECT_EQ(open.Column(3), std::vector<std::string>({"azip reader", "Bzip reader"}));
    open.ClickHeader(1);
    EXPECT_EQ(open.Column(1), std::vector<std::string>({PluginFile("Bzip"), PluginFile("azip")}));
    open.ClickHeader(1);
    EXPECT_EQ(open.Column(1), std::vector<std::string>({PluginFile("azip"), PluginFile("Bzip")}));

    // Each column keeps its own direction: the first click on another column is ascending.
    open.ClickHeader(3);
    EXPECT_EQ(open.Column(3), std::vector<std::string>({"azip reader", "Bzip reader"}));
    open.ClickHeader(2);
    EXPECT_EQ(open.Column(2), std::vector<std::string>({"*.az", "*.bz"}));
    open.ClickHeader(2);
    EXPECT_EQ(open.Column(2), std::vector<std::string>({"*.bz", "*.az"}));

    // The libraries are held only while the list is filled.
    for (const std::string& name : {PluginFile("Bzip"), PluginFile("azip"), PluginFile("cimage")})
        EXPECT_EQ(GetModuleHandleA((plugins.Path() + name).c_str()), nullptr) << name;
}

TEST_F(SettingsDialog, TypingTheFolderRefillsTheListOnEveryKeystroke) {
    MakePluginFolder();
    OpenSettings open;
    HWND edit = open.Item(IDC_SETTINGS_SPI_FOLDER);
    open.SetText(IDC_SETTINGS_SPI_FOLDER, "");
    std::string folder = PluginFolder();
    for (size_t i = 0; i + 1 < folder.size(); ++i) TypeChar(edit, folder[i]);
    EXPECT_EQ(open.RowCount(), 0);
    EXPECT_EQ(open.Text(IDC_SETTINGS_PLUGIN_COUNT), ZeroCount);

    fixture::ResetFixtureLoads();
    TypeChar(edit, folder.back());
    EXPECT_EQ(open.Text(IDC_SETTINGS_SPI_FOLDER), folder);
    EXPECT_EQ(open.RowCount(), 2);
    EXPECT_EQ(open.Text(IDC_SETTINGS_PLUGIN_COUNT), TwoCount);
    EXPECT_EQ(fixture::FixtureLoads(), 3);  // two archive plug-ins and the image plug-in

    TypeChar(edit, '\\');  // the same folder, listed again
    EXPECT_EQ(open.RowCount(), 2);
    EXPECT_EQ(fixture::FixtureLoads(), 6);

    TypeChar(edit, 'x');
    EXPECT_EQ(open.RowCount(), 0);
    EXPECT_EQ(open.Text(IDC_SETTINGS_PLUGIN_COUNT), ZeroCount);
    TypeChar(edit, '\b');
    EXPECT_EQ(open.RowCount(), 2);
    EXPECT_EQ(fixture::FixtureLoads(), 9);
}

TEST_F(SettingsDialog, FoldersWithoutArchivePluginsGiveTheZeroCount) {
    MakePluginFolder();
    TempDir empty;
    PluginTestFolder imagesOnly;
    CopyPlugins(imagesOnly, {{PluginFile("only"), true, "", ""}});
    OpenSettings open;
    for (const std::string& folder : {empty.path(), empty / "missing\\", imagesOnly.Path()}) {
        open.SetText(IDC_SETTINGS_SPI_FOLDER, plugins.Path());
        ASSERT_EQ(open.Text(IDC_SETTINGS_PLUGIN_COUNT), TwoCount);
        open.SetText(IDC_SETTINGS_SPI_FOLDER, folder);
        EXPECT_EQ(open.RowCount(), 0) << folder;
        EXPECT_EQ(open.Text(IDC_SETTINGS_PLUGIN_COUNT), ZeroCount) << folder;
    }
}

TEST_F(SettingsDialog, OkWithEmptyFieldsStoresEmptyTexts) {
    CSettingIO settings;
    settings.WriteString("", "SpiFold", "C:\\old\\plugins");
    settings.WriteString("", "DefrostingFold", "C:\\old\\out");
    settings.WriteInt("", "DefrostingMode", 1);
    settings.WriteInt("", "OpenCheckFlag", 0);
    CSettingsDlg settingsDialog;
    INT_PTR result = RunModal(settingsDialog, [](HWND dialog) {
        for (int id : {IDC_SETTINGS_EDITOR, IDC_SETTINGS_DEST_FOLDER, IDC_SETTINGS_SPI_FOLDER})
            SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(ReadProfileText("SpiFold"), "");
    EXPECT_EQ(ReadProfileText("DefrostingFold"), "");
    EXPECT_EQ(ReadProfileText("NullOpenEditor"), "");
    EXPECT_EQ(ReadProfileNumber("DefrostingMode"), 1);
    EXPECT_EQ(ReadProfileNumber("OpenCheckFlag"), 0);
    EXPECT_EQ(ReadProfileNumber("UpdateChkFlag"), 1);
}

TEST_F(SettingsDialog, OkStoresWhatWasChosen) {
    MakePluginFolder();
    OpenSettings open;
    open.Click(IDC_SETTINGS_MODE_IMMEDIATE);
    open.Click(IDC_SETTINGS_UPDATE_CHECK);
    open.Click(IDC_SETTINGS_AVOID_DOUBLE_FOLDER);
    open.SetText(IDC_SETTINGS_DEST_FOLDER, "D:\\解凍\\");
    open.SetText(IDC_SETTINGS_EDITOR, "C:\\tools\\edit.exe");
    open.SetText(IDC_SETTINGS_SPI_FOLDER, plugins.Path());
    open.Click(IDOK);
    EXPECT_EQ(ReadProfileNumber("DefrostingMode"), 1);
    EXPECT_EQ(ReadProfileNumber("OpenCheckFlag"), 1);
    EXPECT_EQ(ReadProfileNumber("UpdateChkFlag"), 0);
    EXPECT_EQ(ReadProfileNumber("AvoidDoubleFolderFlag"), 1);
    EXPECT_EQ(ReadProfileText("DefrostingFold"), "D:\\解凍\\");
    EXPECT_EQ(ReadProfileText("NullOpenEditor"), "C:\\tools\\edit.exe");
    EXPECT_EQ(ReadProfileText("SpiFold"), plugins.Path());
}

TEST_F(SettingsDialog, TheStoredDoubleFolderChoiceIsShownAndAClearedOneStored) {
    CSettingIO settings;
    settings.WriteInt("", "DefrostingMode", 1);
    settings.WriteInt("", "AvoidDoubleFolderFlag", 1);
    OpenSettings open;
    EXPECT_TRUE(open.Checked(IDC_SETTINGS_AVOID_DOUBLE_FOLDER));
    EXPECT_TRUE(open.Enabled(IDC_SETTINGS_AVOID_DOUBLE_FOLDER));
    open.Click(IDC_SETTINGS_AVOID_DOUBLE_FOLDER);
    open.Click(IDOK);
    EXPECT_EQ(ReadProfileNumber("AvoidDoubleFolderFlag"), 0);
}

TEST_F(SettingsDialog, CancelEscapeAndCloseBoxStoreNothing) {
    MakePluginFolder();
    const std::string folder = plugins.Path();
    struct Way {
        const char* name;
        std::function<void(HWND)> close;
    };
    const Way ways[] = {
        {"cancel button", [](HWND d) { SendMessageA(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); }},
        {"escape", [](HWND d) { PostMessageA(GetDlgItem(d, IDC_SETTINGS_EDITOR), WM_KEYDOWN, VK_ESCAPE, 1); }},
        {"close box", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Way& way : ways) {
        testsupport::ClearProfile();
        CSettingIO settings;
        settings.WriteString("", "SpiFold", "C:\\kept");
        settings.WriteInt("", "DefrostingMode", 0);
        CSettingsDlg dialog;
        int rows = -1;
        INT_PTR result = RunModal(dialog, [&](HWND d) {
            SendMessageA(GetDlgItem(d, IDC_SETTINGS_MODE_IMMEDIATE), BM_CLICK, 0, 0);
            SendMessageA(GetDlgItem(d, IDC_SETTINGS_OPEN_CHECK), BM_CLICK, 0, 0);
            SendMessageA(GetDlgItem(d, IDC_SETTINGS_UPDATE_CHECK), BM_CLICK, 0, 0);
            SendMessageA(GetDlgItem(d, IDC_SETTINGS_AVOID_DOUBLE_FOLDER), BM_CLICK, 0, 0);
            for (int id : {IDC_SETTINGS_EDITOR, IDC_SETTINGS_DEST_FOLDER, IDC_SETTINGS_SPI_FOLDER})
                SendMessageA(GetDlgItem(d, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
            rows = static_cast<int>(SendMessageA(GetDlgItem(d, IDC_SETTINGS_PLUGIN_LIST), LVM_GETITEMCOUNT, 0, 0));
            way.close(d);
        });
        EXPECT_EQ(result, IDCANCEL) << way.name;
        EXPECT_EQ(rows, 2) << way.name;
        EXPECT_EQ(ReadProfileText("SpiFold"), "C:\\kept") << way.name;
        EXPECT_EQ(ReadProfileNumber("DefrostingMode"), 0) << way.name;
        for (const char* name : {"DefrostingFold", "NullOpenEditor"})
            EXPECT_EQ(ReadProfileText(name), testsupport::MissingText) << way.name << " " << name;
        for (const char* name : {"OpenCheckFlag", "UpdateChkFlag", "AvoidDoubleFolderFlag"})
            EXPECT_EQ(ReadProfileNumber(name), testsupport::MissingNumber) << way.name << " " << name;
    }
}

TEST_F(SettingsDialog, ImageViewerFolderFillsTheField) {
    MakePluginFolder();
    SetImageViewerPath(plugins.Path());
    OpenSettings open;
    open.Click(IDC_SETTINGS_SPI_FROM_VIEWER);
    EXPECT_EQ(open.Text(IDC_SETTINGS_SPI_FOLDER), plugins.Path());
    EXPECT_EQ(open.RowCount(), 2);
    EXPECT_EQ(ReadProfileText("SpiFold"), testsupport::MissingText);  // nothing stored before OK
}

TEST_F(SettingsDialog, MissingImageViewerKeyIsReported) {
    OpenSettings open;
    open.SetText(IDC_SETTINGS_SPI_FOLDER, "C:\\mine");
    testsupport::MessageBoxWatcher watcher;
    open.Click(IDC_SETTINGS_SPI_FROM_VIEWER);
    ASSERT_TRUE(watcher.WaitFor(1));
    auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Varnito");
    EXPECT_EQ(seen[0].text, "Susieがインストールされていないため、\nプラグインの検索はできません。");
    EXPECT_EQ(open.Text(IDC_SETTINGS_SPI_FOLDER), "C:\\mine");
}

TEST_F(SettingsDialog, PathsOutsideCodePage932AreStoredAndShownAgainExactly) {
    TempDir parent;
    // The plug-in folder holds a plug-in file: the dialog shows the stored folder, not the
    // one beside the program.
    const std::wstring pluginFolder = testsupport::MakeFolder(parent, OutsideCp932Name);
    ASSERT_FALSE(pluginFolder.empty());
    ASSERT_TRUE(CopyFileW(Cp932ToWide(fixture::FixturePath()).c_str(),
                          (pluginFolder + Cp932ToWide(PluginFile("one"))).c_str(), FALSE));
    const std::wstring destination = L"D:\\José\\" + std::wstring(OutsideCp932Name) + L"\\";
    const std::wstring editor = L"C:\\도구\\편집기😀.exe";
    {
        OpenSettings open;
        open.Click(IDC_SETTINGS_MODE_IMMEDIATE);
        open.SetWideText(IDC_SETTINGS_DEST_FOLDER, destination);
        open.SetWideText(IDC_SETTINGS_EDITOR, editor);
        open.SetWideText(IDC_SETTINGS_SPI_FOLDER, pluginFolder);
        open.Click(IDOK);
    }
    EXPECT_EQ(ReadProfileWideText("DefrostingFold"), destination);
    EXPECT_EQ(ReadProfileWideText("NullOpenEditor"), editor);
    EXPECT_EQ(ReadProfileWideText("SpiFold"), pluginFolder);

    OpenSettings again;
    EXPECT_EQ(again.WideText(IDC_SETTINGS_DEST_FOLDER), destination);
    EXPECT_EQ(again.WideText(IDC_SETTINGS_EDITOR), editor);
    EXPECT_EQ(again.WideText(IDC_SETTINGS_SPI_FOLDER), pluginFolder);
}

TEST_F(SettingsDialog, TextsLongerThanAPathAreRefusedNotCut) {
    // Stored from elsewhere: each reads as its default.
    const std::string longPath = "C:\\" + std::string(MaxWidePathLength, 'a');
    CSettingIO settings;
    settings.WriteString("", "SpiFold", longPath.c_str());
    settings.WriteString("", "DefrostingFold", longPath.c_str());
    settings.WriteString("", "NullOpenEditor", longPath.c_str());
    OpenSettings open;
    EXPECT_EQ(open.Text(IDC_SETTINGS_EDITOR), "NotePad");
    EXPECT_EQ(open.Text(IDC_SETTINGS_DEST_FOLDER), "");
    EXPECT_EQ(open.WideText(IDC_SETTINGS_SPI_FOLDER), BundledPluginFolder()) << "as when none is set";
    EXPECT_EQ(SendMessageW(open.Item(IDC_SETTINGS_DEST_FOLDER), EM_GETLIMITTEXT, 0, 0),
              static_cast<LRESULT>(MaxWidePathLength)) << "typing stops there";

    // Put into a field by other means than typing, the text would be cut at the limit inside
    // the surrogate pair at its end.
    const std::wstring cutInside = L"C:\\" + std::wstring(MaxWidePathLength - 4, L'd') + L"😀";
    ASSERT_EQ(cutInside.size(), MaxWidePathLength + 1);
    open.Click(IDC_SETTINGS_MODE_IMMEDIATE);
    open.SetWideText(IDC_SETTINGS_DEST_FOLDER, cutInside);
    testsupport::MessageBoxWatcher boxes;
    open.Click(IDOK);
    ASSERT_TRUE(boxes.WaitFor(1));
    EXPECT_EQ(boxes.Seen()[0].text, TextTooLongMessage(static_cast<int>(MaxWidePathLength)));
    EXPECT_TRUE(IsWindowVisible(open.hwnd())) << "the dialog stays open";
    EXPECT_EQ(GetFocus(), open.Item(IDC_SETTINGS_DEST_FOLDER));
    EXPECT_EQ(ReadProfileNumber("DefrostingMode"), testsupport::MissingNumber) << "nothing is stored";

    const std::wstring fits = L"C:\\" + std::wstring(MaxWidePathLength - 3, L'd');
    open.SetWideText(IDC_SETTINGS_DEST_FOLDER, fits);
    open.Click(IDOK);
    EXPECT_EQ(boxes.Seen().size(), 1u) << "the longest path is taken";
    EXPECT_EQ(ReadProfileWideText("DefrostingFold"), fits);
    EXPECT_EQ(ReadProfileText("NullOpenEditor"), "NotePad");
}

TEST_F(SettingsDialog, OverlongImageViewerPathIsNotTaken) {
    SetImageViewerPath("C:\\" + std::string(MaxWidePathLength - 2, 'b'));
    OpenSettings open;
    open.SetText(IDC_SETTINGS_SPI_FOLDER, "C:\\mine");
    open.Click(IDC_SETTINGS_SPI_FROM_VIEWER);
    EXPECT_EQ(open.Text(IDC_SETTINGS_SPI_FOLDER), "");
}
