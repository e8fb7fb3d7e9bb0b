// The resources: every dialog template with its caption, font, size and controls (class,
// id, text in code page 932, place and size in dialog units, key styles), the icons and
// the application title.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <vector>
#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"

namespace {

const char* const NoText = nullptr;  // an icon control: its text is not compared

struct ControlRow {
    const char* windowClass;
    int id;
    const char* text;
    RECT units;       // left, top, width, height in dialog units
    DWORD style;      // bits that must be set
    DWORD notStyle;   // bits that must be clear
};

struct DialogLayout {
    UINT templateId;
    const char* caption;
    int width, height;
    DWORD style;
    std::vector<ControlRow> controls;
};

constexpr DWORD Tab = WS_TABSTOP, Group = WS_GROUP, Visible = WS_VISIBLE;

const std::vector<DialogLayout>& Layouts() {
    static const std::vector<DialogLayout> layouts = {
        {IDD_SETTINGS_DIALOG, "Varnito環境設定", 279, 277, WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
         {
             {"Button", -1, "解凍設定", {7, 7, 265, 102}, BS_GROUPBOX, Tab},
             {"Button", 1010, "リストを開く", {15, 24, 103, 14}, BS_AUTORADIOBUTTON | BS_PUSHLIKE | BS_FLAT | BS_CENTER | Group | Tab, 0},
             {"Button", 1011, "即時解凍する", {120, 24, 103, 14}, BS_AUTORADIOBUTTON | BS_PUSHLIKE | BS_FLAT | BS_CENTER | Tab, Group},
             {"Static", 1027, "▼関連付けられたアプリケーションが無い時に使用するアプリケーション", {14, 46, 208, 8}, Group, 0},
             {"Edit", 1012, "", {14, 55, 237, 13}, ES_AUTOHSCROLL | Group | Tab, 0},
             {"Button", 1013, "参照", {252, 55, 14, 13}, BS_ICON | Group | Tab, 0},
             {"Static", 1007, "▼解凍先", {14, 77, 31, 8}, Group, 0},
             {"Button", 1006, "解凍後に解凍先を開く", {102, 76, 80, 10}, BS_AUTOCHECKBOX | Group | Tab, 0},
             {"Button", 1009, "上書き確認をする", {188, 76, 67, 10}, BS_AUTOCHECKBOX | Group | Tab, 0},
             {"Edit", 1000, "", {14, 87, 237, 13}, ES_AUTOHSCROLL | Group | Tab, 0},
             {"Button", 1002, "参照", {252, 87, 14, 13}, BS_ICON | Group | Tab, 0},
             {"Button", 1030, "Susie32 Plug-in設定", {7, 118, 265, 130}, BS_GROUPBOX, Group},
             {"Edit", 1001, "", {13, 134, 222, 13}, ES_AUTOHSCROLL | Group | Tab, 0},
             {"Button", 1003, "-", {237, 134, 14, 13}, BS_ICON | Group | Tab, 0},
             {"Button", 1004, "=", {252, 134, 14, 13}, BS_ICON | Group | Tab, 0},
             {"SysListView32", 1005, "", {13, 152, 253, 81}, LVS_REPORT | LVS_SINGLESEL | WS_BORDER | Group | Tab, 0},
             {"Static", 1008, "-", {55, 236, 211, 8}, SS_RIGHT | SS_CENTERIMAGE | Group, 0},
             {"Button", IDOK, "OK", {170, 255, 50, 14}, BS_DEFPUSHBUTTON | Tab, Group},
             {"Button", IDCANCEL, "ｷｬﾝｾﾙ", {222, 255, 50, 14}, Tab, Group},
         }},
        {IDD_DESTINATION_DIALOG, "解凍先設定", 226, 51, WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
         {
             {"Static", -1, "解凍先", {7, 7, 25, 14}, SS_CENTER | SS_SUNKEN, 0},
             {"Edit", 1013, "", {33, 7, 171, 14}, ES_AUTOHSCROLL | WS_BORDER | Tab, 0},
             {"Button", 1015, "-", {205, 7, 14, 13}, BS_ICON | Tab, 0},
             {"Button", 1014, "相対パスを有効にする", {7, 33, 81, 10}, BS_AUTOCHECKBOX | Tab, 0},
             {"Button", IDOK, "OK", {140, 30, 39, 14}, BS_DEFPUSHBUTTON | Tab, 0},
             {"Button", IDCANCEL, "ｷｬﾝｾﾙ", {180, 30, 39, 14}, Tab, 0},
         }},
        {IDD_OVERWRITE_DIALOG, "上書確認", 255, 151, WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
         {
             {"Static", -1, NoText, {7, 14, 18, 21}, SS_ICON, 0},
             {"Static", -1, "既存のファイルが見つかりました。", {35, 7, 103, 9}, 0, 0},
             {"Static", 1016, "", {35, 16, 213, 12}, 0, 0},
             {"Static", 1019, "", {35, 27, 213, 12}, 0, 0},
             {"Button", -1, "上書き対象ファイル（Archive）", {7, 52, 117, 44}, BS_GROUPBOX, 0},
             {"Static", -1, "サイズ", {11, 65, 34, 12}, SS_CENTER | SS_SUNKEN, 0},
             {"Static", 1020, "", {47, 65, 73, 12}, SS_SUNKEN, 0},
             {"Static", -1, "更新日時", {11, 79, 34, 12}, SS_CENTER | SS_SUNKEN, 0},
             {"Static", 1021, "", {47, 79, 73, 12}, SS_SUNKEN, 0},
             {"Button", -1, "既存ファイル情報（Disk）", {7, 101, 117, 44}, BS_GROUPBOX, 0},
             {"Static", -1, "サイズ", {11, 114, 34, 12}, SS_CENTER | SS_SUNKEN, 0},
             {"Static", 1017, "", {47, 114, 73, 12}, SS_SUNKEN, 0},
             {"Static", -1, "更新日時", {11, 128, 34, 12}, SS_CENTER | SS_SUNKEN, 0},
             {"Static", 1018, "", {47, 128, 73, 12}, SS_SUNKEN, 0},
             {"Button", -1, "対処方法", {134, 52, 114, 55}, BS_GROUPBOX, 0},
             {"Button", 1022, "上書きする", {141, 69, 48, 10}, BS_AUTORADIOBUTTON | Group | Tab, 0},
             {"Button", 1024, "上書きしない", {141, 86, 52, 10}, BS_AUTORADIOBUTTON, Group},
             {"Button", 1025, "全て上書き", {195, 69, 49, 10}, BS_AUTORADIOBUTTON, Group},
             {"Button", 1026, "全て無視", {195, 86, 43, 10}, BS_AUTORADIOBUTTON, Group},
             {"Button", IDOK, "解凍再開(&S)", {134, 114, 53, 30}, BS_DEFPUSHBUTTON | Group, 0},
             {"Button", IDCANCEL, "解凍中止(&X)", {195, 114, 53, 30}, 0, 0},
         }},
        {IDD_ABOUT_DIALOG, "バージョン情報", 179, 93, WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
         {
             {"Static", 1025, "Susie32 Plug-in利用型　アーカイブファイル解凍ソフト", {7, 7, 166, 12}, SS_CENTER | SS_SUNKEN, 0},
             {"Static", -1, "", {7, 26, 165, 38}, SS_ETCHEDFRAME, 0},
             {"Static", -1, NoText, {30, 35, 20, 20}, SS_ICON, 0},
             {"Static", -1, "Varnito  Ver1.00", {58, 36, 52, 8}, 0, 0},
             {"Button", IDOK, "閉じる", {122, 72, 50, 14}, BS_DEFPUSHBUTTON, 0},
         }},
        {IDD_ARCHIVE_LIST_DIALOG, "Varnito", 263, 197,
         WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
         {
             {"Button", 1012, "", {1, 2, 23, 26}, Visible, 0},
             {"Button", 1013, "", {25, 2, 23, 26}, Visible, 0},
             {"Static", -1, "", {52, 2, 1, 26}, SS_ETCHEDVERT, 0},
             {"Button", 1014, "", {57, 2, 23, 26}, Visible, 0},
             {"Static", -1, "", {84, 2, 1, 26}, SS_ETCHEDVERT, 0},
             {"Button", 1015, "", {89, 2, 23, 26}, Visible, 0},
             {"Button", 1017, "", {215, 2, 23, 26}, Visible, 0},
             {"Button", 1016, "", {239, 2, 23, 26}, Visible, 0},
             {"SysListView32", 1134, "", {0, 30, 263, 156}, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | Tab, LVS_SINGLESEL},
             {"Static", 1026, "-", {129, 187, 134, 10}, SS_RIGHT | SS_CENTERIMAGE | SS_SUNKEN, 0},
             {"Button", IDOK, "OK", {0, 183, 50, 14}, BS_DEFPUSHBUTTON, Visible},
             {"Button", IDCANCEL, "閉じる(&C)", {51, 183, 50, 14}, 0, Visible},
         }},
    };
    return layouts;
}

// Both progress dialogs share one layout.
std::vector<ControlRow> ProgressControls() {
    return {
        {"Static", 1025, "-", {0, 0, 186, 9}, SS_CENTER, 0},
        {"Static", 1023, "-", {0, 10, 186, 9}, SS_CENTER, 0},
        // The progress control draws its frame itself and drops the border style.
        {"msctls_progress32", 1024, "", {0, 21, 186, 9}, 0, 0},
        {"Static", -1, "■ 解凍処理中...", {0, 36, 60, 8}, 0, 0},
        {"Button", IDOK, "OK", {92, 32, 50, 14}, WS_DISABLED, Visible},
        {"Button", IDCANCEL, "中断", {143, 32, 43, 14}, Visible, 0},
    };
}

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

// Where the dialog manager puts a control: place and size are converted separately.
RECT PixelsOf(HWND dialog, const RECT& units) {
    RECT rect = units;
    MapDialogRect(dialog, &rect);
    return {rect.left, rect.top, rect.left + rect.right, rect.top + rect.bottom};
}

RECT ClientRectOf(HWND dialog, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

void ExpectLayout(UINT templateId, const char* caption, int width, int height, DWORD style,
                  const std::vector<ControlRow>& rows) {
    SCOPED_TRACE("dialog " + std::to_string(templateId));
    CDialog dialog(templateId);
    ASSERT_TRUE(dialog.Create(templateId));
    HWND hwnd = dialog.m_hWnd;

    EXPECT_EQ(testsupport::WindowText(hwnd), caption);
    EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE) & style, static_cast<LONG>(style));
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(Describe(client), Describe(PixelsOf(hwnd, {0, 0, width, height})));

    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "ＭＳ Ｐゴシック");

    HWND control = GetWindow(hwnd, GW_CHILD);
    for (const ControlRow& row : rows) {
        SCOPED_TRACE("control " + std::to_string(row.id) + " " + (row.text ? row.text : "(icon)"));
        ASSERT_NE(control, nullptr) << "missing control";
        EXPECT_EQ(ClassOf(control), row.windowClass);
        EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(control))), row.id);
        if (row.text) {
            EXPECT_EQ(testsupport::WindowText(control), row.text);
        } else {
            EXPECT_NE(SendMessageA(control, STM_GETICON, 0, 0), 0) << "the icon is loaded";
        }
        RECT place = ClientRectOf(hwnd, control), expected = PixelsOf(hwnd, row.units);
        DWORD type = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & SS_TYPEMASK;
        if (ClassOf(control) == "Static" && type == SS_ETCHEDVERT) {  // a line keeps its own length
            EXPECT_EQ(place.left, expected.left);
            EXPECT_EQ(place.top, expected.top);
            EXPECT_EQ(place.right, expected.right);
        } else if (row.text) {
            EXPECT_EQ(Describe(place), Describe(expected));
        } else {  // an icon control takes the icon's size
            EXPECT_EQ(place.left, expected.left);
            EXPECT_EQ(place.top, expected.top);
        }
        DWORD actual = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
        // The dialog manager turns a plain border into a sunken edge.
        if (GetWindowLongA(control, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) actual |= WS_BORDER;
        // Type values such as BS_AUTORADIOBUTTON are compared as the whole low nibble.
        DWORD typeMask = ClassOf(control) == "Button" ? BS_TYPEMASK : ClassOf(control) == "Static" ? SS_TYPEMASK : 0;
        if (typeMask && (row.style & typeMask)) {
            EXPECT_EQ(actual & typeMask, row.style & typeMask);
        }
        EXPECT_EQ(actual & (row.style & ~typeMask), row.style & ~typeMask);
        EXPECT_EQ(actual & row.notStyle, 0u);
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr) << "no control beyond the table";
    dialog.DestroyWindow();
}

}  // namespace

TEST(DialogTemplates, EveryDialogHasItsCaptionFontSizeAndControls) {
    for (const DialogLayout& layout : Layouts())
        ExpectLayout(layout.templateId, layout.caption, layout.width, layout.height, layout.style, layout.controls);
}

TEST(DialogTemplates, ProgressDialogsHaveNoTitleBarAndTheImmediateOneStaysOnTop) {
    ExpectLayout(IDD_LIST_PROGRESS_DIALOG, "", 187, 47, WS_POPUP | WS_VISIBLE | DS_MODALFRAME, ProgressControls());
    ExpectLayout(IDD_EXTRACT_PROGRESS_DIALOG, "", 187, 47, WS_POPUP | WS_VISIBLE | DS_MODALFRAME | DS_CENTER,
                 ProgressControls());

    CDialog listProgress(IDD_LIST_PROGRESS_DIALOG), extractProgress(IDD_EXTRACT_PROGRESS_DIALOG);
    ASSERT_TRUE(listProgress.Create(IDD_LIST_PROGRESS_DIALOG));
    ASSERT_TRUE(extractProgress.Create(IDD_EXTRACT_PROGRESS_DIALOG));
    EXPECT_EQ(listProgress.GetStyle() & WS_CAPTION, 0u);
    EXPECT_EQ(extractProgress.GetStyle() & WS_CAPTION, 0u);
    EXPECT_EQ(listProgress.GetExStyle() & WS_EX_TOPMOST, 0u);
    EXPECT_NE(extractProgress.GetExStyle() & WS_EX_TOPMOST, 0u);
    listProgress.DestroyWindow();
    extractProgress.DestroyWindow();
}

TEST(DialogTemplates, TheOverwriteQuestionStaysOnTop) {
    CDialog dialog(IDD_OVERWRITE_DIALOG);
    ASSERT_TRUE(dialog.Create(IDD_OVERWRITE_DIALOG));
    EXPECT_NE(dialog.GetStyle() & DS_SYSMODAL, 0u);
    EXPECT_NE(dialog.GetExStyle() & WS_EX_TOPMOST, 0u);
    dialog.DestroyWindow();
}

namespace {
#pragma pack(push, 2)
struct IconDirectoryEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct IconDirectory {
    WORD reserved, type, count;
    IconDirectoryEntry entries[1];
};
#pragma pack(pop)

// "WxH/bits" for each picture of an icon resource.
std::vector<std::string> IconPictures(UINT id) {
    std::vector<std::string> pictures;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    if (!found) return pictures;
    auto* directory = static_cast<const IconDirectory*>(LockResource(LoadResource(module, found)));
    for (WORD i = 0; i < directory->count; ++i) {
        const IconDirectoryEntry& e = directory->entries[i];
        pictures.push_back(std::to_string(e.width ? e.width : 256) + "x" + std::to_string(e.height ? e.height : 256) +
                           "/" + std::to_string(e.bitCount));
    }
    return pictures;
}
}  // namespace

TEST(Icons, EachIconHasItsSizesInSixteenColours) {
    using testing::ElementsAre;
    EXPECT_THAT(IconPictures(IDI_PROGRAM), ElementsAre("32x32/4", "16x16/4"));
    for (UINT id : {IDI_EXTRACT_SELECTED, IDI_WARNING_TRIANGLE, IDI_HEART, IDI_FOLDER, IDI_EXTRACT_ALL,
                    IDI_OPEN_ENTRY, IDI_SELECT, IDI_EXIT, IDI_VERSION, IDI_SHEET})
        EXPECT_THAT(IconPictures(id), ElementsAre("32x32/4")) << id;
    for (UINT id : {IDI_PLUGIN_CROSS, IDI_PLUGIN_RING, IDI_BLANK_PAGE})
        EXPECT_THAT(IconPictures(id), ElementsAre("16x16/4")) << id;
}

TEST(Icons, LoadAtTheirOwnSizeWithTheHotSpotInTheMiddle) {
    for (UINT id : {IDI_EXTRACT_ALL, IDI_PLUGIN_RING}) {
        HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, 0));
        ASSERT_NE(icon, nullptr) << id;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        DWORD expected = id == IDI_PLUGIN_RING ? 8 : 16;
        EXPECT_EQ(info.xHotspot, expected);
        EXPECT_EQ(info.yHotspot, expected);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(Strings, TheApplicationTitleIsVarnito) {
    char title[64] = {};
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), AFX_IDS_APP_TITLE, title, sizeof title), 0);
    EXPECT_STREQ(title, "Varnito");
    EXPECT_EQ(AfxGetApp()->m_appName, "Varnito");
}
