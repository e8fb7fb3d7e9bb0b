// The resources: every dialog template opens with its caption and font, its controls inside
// it under ids of their own and texts that came through the code page whole; the icons and
// the application title.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"

namespace {

const UINT DialogTemplates[] = {IDD_SETTINGS_DIALOG,      IDD_DESTINATION_DIALOG,      IDD_OVERWRITE_DIALOG,
                                IDD_ABOUT_DIALOG,         IDD_LIST_PROGRESS_DIALOG,    IDD_EXTRACT_PROGRESS_DIALOG,
                                IDD_ARCHIVE_LIST_DIALOG};

// An icon control's text names its icon resource; it is no text.
bool ShowsAnIcon(HWND control) {
    char name[16] = {};
    GetClassNameA(control, name, sizeof name);
    return lstrcmpiA(name, "Static") == 0 && (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

std::vector<HWND> ControlsOf(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
        controls.push_back(control);
    return controls;
}

// The text back from UTF-16, byte for byte: a text that the resource compiler mangled (a
// lead byte that lost its trail byte, a character code page 932 lacks) does not come back.
bool SurvivesTheCodePage(const std::string& text) {
    int wide = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.c_str(), -1, nullptr, 0);
    if (wide <= 0) return false;
    std::vector<wchar_t> utf16(wide);
    MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.c_str(), -1, utf16.data(), wide);
    std::vector<char> back(2 * wide + 1);
    BOOL lossy = FALSE;
    WideCharToMultiByte(932, 0, utf16.data(), -1, back.data(), static_cast<int>(back.size()), nullptr, &lossy);
    return !lossy && text == back.data();
}

// A dialog made from its template, without a modal loop, destroyed with the object.
class OpenTemplate {
public:
    explicit OpenTemplate(UINT id) : dialog_(id) { created_ = dialog_.Create(id) != FALSE; }
    ~OpenTemplate() {
        if (created_) dialog_.DestroyWindow();
    }
    bool Created() const { return created_; }
    HWND hwnd() const { return dialog_.m_hWnd; }

private:
    CDialog dialog_;
    bool created_ = false;
};

}  // namespace

TEST(DialogTemplates, EveryDialogHasItsCaptionAndFont) {
    const std::pair<UINT, const char*> captions[] = {
        {IDD_SETTINGS_DIALOG, "Varnito環境設定"}, {IDD_DESTINATION_DIALOG, "解凍先設定"},
        {IDD_OVERWRITE_DIALOG, "上書確認"},        {IDD_ABOUT_DIALOG, "バージョン情報"},
        {IDD_LIST_PROGRESS_DIALOG, ""},            {IDD_EXTRACT_PROGRESS_DIALOG, ""},
        {IDD_ARCHIVE_LIST_DIALOG, "Varnito"}};
    for (const auto& [id, caption] : captions) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        OpenTemplate dialog(id);
        ASSERT_TRUE(dialog.Created());
        EXPECT_EQ(testsupport::WindowText(dialog.hwnd()), caption);
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog.hwnd(), WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_STREQ(font.lfFaceName, "ＭＳ Ｐゴシック");
    }
}

TEST(DialogTemplates, EveryControlLiesInsideItsDialogUnderAnIdOfItsOwn) {
    for (UINT id : DialogTemplates) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        OpenTemplate dialog(id);
        ASSERT_TRUE(dialog.Created());
        RECT client;
        GetClientRect(dialog.hwnd(), &client);
        std::set<int> ids;
        std::vector<HWND> controls = ControlsOf(dialog.hwnd());
        EXPECT_FALSE(controls.empty());
        for (HWND control : controls) {
            int controlId = static_cast<short>(GetDlgCtrlID(control));
            SCOPED_TRACE("control " + std::to_string(controlId) + " " + testsupport::WindowText(control));
            RECT place;
            GetWindowRect(control, &place);
            MapWindowPoints(nullptr, dialog.hwnd(), reinterpret_cast<POINT*>(&place), 2);
            // Place and size are turned into pixels apart, so a control that ends at the
            // dialog's edge may end one pixel beyond it.
            EXPECT_GE(place.left, client.left);
            EXPECT_GE(place.top, client.top);
            EXPECT_LE(place.right, client.right + 1);
            EXPECT_LE(place.bottom, client.bottom + 1);
            EXPECT_GT(place.right - place.left, 0);
            if (controlId != -1) {
                EXPECT_TRUE(ids.insert(controlId).second) << "a second control of this id";
            }
        }
    }
}

TEST(DialogTemplates, EveryTextSurvivesTheCodePage) {
    std::set<std::string> texts;
    for (UINT id : DialogTemplates) {
        OpenTemplate dialog(id);
        ASSERT_TRUE(dialog.Created()) << id;
        texts.insert(testsupport::WindowText(dialog.hwnd()));
        for (HWND control : ControlsOf(dialog.hwnd()))
            if (!ShowsAnIcon(control)) texts.insert(testsupport::WindowText(control));
    }
    for (const std::string& text : texts) EXPECT_TRUE(SurvivesTheCodePage(text)) << text;
    // A sample, among them the texts most at risk: ソ ends in 0x5C, the half-width katakana
    // are single bytes above 0x7F, and & marks an access key.
    for (const char* sample : {"Susie32 Plug-in利用型　アーカイブファイル解凍ソフト", "ｷｬﾝｾﾙ", "解凍中止(&X)",
                               "▼関連付けられたアプリケーションが無い時に使用するアプリケーション", "相対パスを有効にする"})
        EXPECT_EQ(texts.count(sample), 1u) << sample;
}

TEST(DialogTemplates, ProgressDialogsHaveNoTitleBarAndTheImmediateOneStaysOnTop) {
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
