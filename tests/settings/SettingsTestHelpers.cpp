#include "tests/settings/SettingsTestHelpers.h"
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include "core/SettingIO.h"
#include "framework/WinApp.h"
#include "res/resource.h"

namespace settingstest {

void CopyPlugins(PluginTestFolder& folder, const std::vector<PluginSpec>& plugins) {
    for (const PluginSpec& plugin : plugins) {
        std::string config;
        if (!plugin.info.empty()) config += "info " + plugin.info + "\n";
        if (!plugin.extensions.empty()) config += "extensions " + plugin.extensions + "\n";
        folder.Add(plugin.name, plugin.image ? "fixture_image" : "fixture", config);
    }
}

OpenSettings::OpenSettings() {
    AfxGetApp()->m_pMainWnd = &dialog;
    dialog.Create(IDD_SETTINGS_DIALOG);
    ShowWindow(dialog.m_hWnd, SW_SHOW);
    testsupport::PumpMessages(50);
}

OpenSettings::~OpenSettings() {
    if (dialog.m_hWnd) DestroyWindow(dialog.m_hWnd);
    AfxGetApp()->m_pMainWnd = nullptr;
}

void OpenSettings::SetText(int id, const std::string& text) { SetWindowTextA(Item(id), text.c_str()); }

void OpenSettings::Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }

bool OpenSettings::Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

int OpenSettings::RowCount() const {
    return static_cast<int>(SendMessageA(Item(IDC_SETTINGS_PLUGIN_LIST), LVM_GETITEMCOUNT, 0, 0));
}

std::vector<std::string> OpenSettings::Column(int column) const {
    std::vector<std::string> texts;
    for (int row = 0; row < RowCount(); ++row) {
        char text[300] = {};
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(Item(IDC_SETTINGS_PLUGIN_LIST), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

int OpenSettings::RowImage(int row) const {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageA(Item(IDC_SETTINGS_PLUGIN_LIST), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

void OpenSettings::ClickHeader(int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(Item(IDC_SETTINGS_PLUGIN_LIST), LVM_GETHEADER, 0, 0));
    RECT rect = {};
    SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect));
    LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(header, WM_LBUTTONUP, 0, point);
}

std::vector<std::string> OpenSettings::Types() const {
    HWND list = Item(IDC_SETTINGS_TYPE_LIST);
    std::vector<std::string> types;
    for (int row = 0, rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); row < rows; ++row) {
        char text[64] = {};
        LVITEMA item = {};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        types.push_back(text);
    }
    return types;
}

namespace {
bool RowChecked(HWND list, int row) {
    return (SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) >> 12) == 2;
}
}  // namespace

std::vector<std::string> OpenSettings::CheckedTypes() const {
    std::vector<std::string> types = Types(), checked;
    for (size_t row = 0; row < types.size(); ++row)
        if (RowChecked(Item(IDC_SETTINGS_TYPE_LIST), static_cast<int>(row))) checked.push_back(types[row]);
    return checked;
}

bool OpenSettings::CheckType(const std::string& type, bool checked) {
    std::vector<std::string> types = Types();
    auto found = std::find(types.begin(), types.end(), type);
    if (found == types.end()) return false;
    int row = static_cast<int>(found - types.begin());
    HWND list = Item(IDC_SETTINGS_TYPE_LIST);
    if (RowChecked(list, row) == checked) return true;
    // The check box is the row's state image, at its left end.
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    LVHITTESTINFO hit = {};
    hit.pt = {bounds.left + 8, (bounds.top + bounds.bottom) / 2};
    SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem != row || !(hit.flags & LVHT_ONITEMSTATEICON)) return false;
    LPARAM point = MAKELPARAM(hit.pt.x, hit.pt.y);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(list, WM_LBUTTONUP, 0, point);
    return RowChecked(list, row) == checked;
}

namespace {
struct ModalRun {
    const std::function<void(HWND)>* drive;
};

HWND FindDialogOfThisProcess() {
    for (HWND w : VisibleTopLevelWindows()) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && testsupport::WindowText(w) == DialogCaption) return w;
    }
    return nullptr;
}

DWORD WINAPI DriveModal(void* param) {
    auto* run = static_cast<ModalRun*>(param);
    HWND dialog = nullptr;
    for (int i = 0; i < 500 && !dialog; ++i) {
        dialog = FindDialogOfThisProcess();
        if (!dialog) Sleep(20);
    }
    if (!dialog) return 1;
    (*run->drive)(dialog);
    // Whatever the test did, the dialog must not outlive it.
    for (int i = 0; i < 500 && IsWindow(dialog); ++i) Sleep(20);
    if (IsWindow(dialog)) PostMessageA(dialog, WM_CLOSE, 0, 0);
    return 0;
}
}  // namespace

INT_PTR RunModal(CSettingsDlg& dialog, const std::function<void(HWND)>& drive) {
    ModalRun run{&drive};
    AfxGetApp()->m_pMainWnd = &dialog;
    HANDLE thread = CreateThread(nullptr, 0, DriveModal, &run, 0, nullptr);
    INT_PTR result = dialog.DoModal();
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    AfxGetApp()->m_pMainWnd = nullptr;
    return result;
}

HWND FindOwnedWindow(HWND owner) {
    for (HWND w : VisibleTopLevelWindows())
        if (GetWindow(w, GW_OWNER) == owner) return w;
    return nullptr;
}

namespace {
BOOL CALLBACK CollectVisible(HWND w, LPARAM param) {
    if (IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(w);
    return TRUE;
}
}  // namespace

std::vector<HWND> VisibleTopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

PopupDriver::PopupDriver(HWND owner, std::function<void(HWND)> act) : owner_(owner), act_(std::move(act)) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

PopupDriver::~PopupDriver() { Join(); }

bool PopupDriver::Join() {
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    return seen_;
}

DWORD WINAPI PopupDriver::Run(void* self) {
    auto* driver = static_cast<PopupDriver*>(self);
    HWND popup = nullptr;
    for (int i = 0; i < 500 && !popup; ++i) {
        popup = FindOwnedWindow(driver->owner_);
        if (!popup) Sleep(20);
    }
    if (!popup) return 1;
    driver->seen_ = true;
    // A message sent from here is handled once the popup's thread takes messages again, that
    // is after its initialisation (which a slow machine may still be in).
    SendMessageTimeoutA(popup, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
    Sleep(200);  // let it paint and settle
    driver->act_(popup);
    for (int i = 0; i < 250 && IsWindow(popup); ++i) Sleep(20);
    if (IsWindow(popup)) PostMessageA(popup, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

}  // namespace settingstest
