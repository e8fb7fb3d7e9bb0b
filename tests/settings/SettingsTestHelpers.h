#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "settings/SettingsDlg.h"
#include "tests/support/PluginTestFolder.h"
#include "tests/support/TestProfile.h"
#include "tests/support/TestSupport.h"

namespace settingstest {

constexpr char DialogCaption[] = "Varnito環境設定";
// A folder name that code page 932 cannot spell: Korean and an emoji (a surrogate pair).
constexpr wchar_t OutsideCp932Name[] = L"데이터😀";

// Archive plug-ins under the given names (each with its own information and extension texts)
// and image plug-ins, copied into a plug-in folder.
struct PluginSpec {
    std::string name;
    bool image = false;
    std::string info;
    std::string extensions;
};
void CopyPlugins(PluginTestFolder& folder, const std::vector<PluginSpec>& plugins);

// The settings dialog as start-up shows it, but without a modal loop, so that a test can
// drive it from its own thread. It is the application's main window while it lives.
class OpenSettings {
public:
    OpenSettings();
    ~OpenSettings();
    HWND hwnd() const { return dialog.m_hWnd; }
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
    std::string Text(int id) const { return testsupport::WindowText(Item(id)); }
    void SetText(int id, const std::string& text);
    std::wstring WideText(int id) const { return testsupport::WindowWideText(Item(id)); }
    void SetWideText(int id, const std::wstring& text) { SetWindowTextW(Item(id), text.c_str()); }
    void Click(int id);
    bool Checked(int id) const;
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

    // Rows of the plug-in list: the text of one column, top to bottom.
    std::vector<std::string> Column(int column) const;
    int RowCount() const;
    int RowImage(int row) const;
    // Clicks a header of the plug-in list the way the mouse does.
    void ClickHeader(int column);

    // Rows of the file type list, top to bottom, and those of them checked.
    std::vector<std::string> Types() const;
    std::vector<std::string> CheckedTypes() const;
    // Clicks the check box of a type's row where it does not show `checked` yet; false when
    // there is no such row or the click did not take.
    bool CheckType(const std::string& type, bool checked);

    CSettingsDlg dialog;
};

// Runs the dialog modally on this thread while `drive` works on it from another thread
// (all it does reaches the dialog through messages). Returns the dialog's result.
INT_PTR RunModal(CSettingsDlg& dialog, const std::function<void(HWND)>& drive);

// Waits (on a helper thread) for a window that the dialog opens on top of itself, hands it
// to `act`, and waits for it to be gone. Starts watching at once; Join() ends the watch.
class PopupDriver {
public:
    PopupDriver(HWND owner, std::function<void(HWND)> act);
    ~PopupDriver();
    // False when no window appeared in time.
    bool Join();

private:
    HWND owner_;
    std::function<void(HWND)> act_;
    bool seen_ = false;
    HANDLE thread_ = nullptr;
    static DWORD WINAPI Run(void* self);
};

// A visible top-level window owned by `owner`, or null.
HWND FindOwnedWindow(HWND owner);
// Every visible top-level window of the desktop.
std::vector<HWND> VisibleTopLevelWindows();

// What the dialog stored in the profile (testsupport::MissingText, MissingNumber when absent).
using testsupport::ReadProfileNumber;
using testsupport::ReadProfileText;
using testsupport::ReadProfileWideText;

}  // namespace settingstest
