#pragma once
// Runs Varnito.exe as a separate process and drives its windows from outside, the way a user
// (or an accessibility tool) would: windows are found by caption and class among the
// process's top-level windows, controls are read with WM_GETTEXT and pressed with posted
// commands, list-view rows are read through memory in the other process.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Default time-out of every wait, in milliseconds.
constexpr DWORD WaitMs = 20000;

std::string ProgramPath();    // the Varnito.exe of this build
std::string PluginFolder();   // the bundled plug-ins of this build, without a trailing '\'
std::string FixtureFolder();  // the archives made at build time, with a trailing '\'

class VarnitoProcess {
public:
    VarnitoProcess() = default;
    ~VarnitoProcess();  // ends the process when it still runs
    VarnitoProcess(const VarnitoProcess&) = delete;
    VarnitoProcess& operator=(const VarnitoProcess&) = delete;

    // Starts Varnito.exe (or a copy of it elsewhere) with `arguments` as its command-line text.
    bool Start(const std::string& arguments, const std::string& program = ProgramPath());
    // The same with a UTF-16 command line: archives of any name, a copy in a folder of any name.
    bool Start(const std::wstring& arguments, const std::wstring& program = std::wstring());
    // True when the process ended within the time.
    bool WaitForExit(DWORD timeoutMs = WaitMs);
    bool Running() const;
    DWORD Id() const { return id_; }

    // The first visible top-level window of the process whose caption is `caption` (all of
    // it) and whose class is `className` (any class when null); null on time-out.
    HWND WaitForWindow(const std::string& caption, const char* className = "#32770",
                       DWORD timeoutMs = WaitMs) const;
    // The visible top-level windows of the process.
    std::vector<HWND> Windows() const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// The visible top-level windows of a process.
std::vector<HWND> WindowsOfProcess(DWORD processId);
// A visible top-level window of any process with this caption and class; null on time-out.
HWND WaitForWindowOfAnyProcess(const std::string& caption, const char* className = "#32770",
                               DWORD timeoutMs = WaitMs);
DWORD ProcessOf(HWND window);
// Polls `found` until it returns a window or the time is up.
HWND WaitUntil(const std::function<HWND()>& found, DWORD timeoutMs = WaitMs);

// A message box as the user saw it.
struct ShownBox {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};
// Waits for a message box of the process, reads it and presses its OK button.
ShownBox AnswerMessageBox(DWORD processId, DWORD timeoutMs = WaitMs);
bool IsMessageBox(HWND window);

// Controls of a window in another process.
std::string Text(HWND window);
std::string ControlText(HWND dialog, int id);
bool SetControlText(HWND dialog, int id, const std::string& text);
// Clicks a button (radio buttons and check boxes change their state) and waits until the
// owning thread handled it; for buttons whose command opens a modal window use PressButton.
bool ClickAndWait(HWND dialog, int id);
// Posts the button's command to the dialog and returns at once.
void PressButton(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);

// Report-style list views in another process.
int RowCount(HWND list);
int SelectedCount(HWND list);
std::string CellText(HWND list, int row, int column);
// The cell as the list holds it, in UTF-8 (read through the wide message).
std::string CellTextUtf8(HWND list, int row, int column);
std::vector<std::vector<std::string>> Rows(HWND list, int columns);
// Selects exactly the given row (and focuses it).
bool SelectOnlyRow(HWND list, int row);

// Brings `window` to the foreground, gives `focus` the keyboard focus and types the keys
// through the system's input queue, so that the other process sees a real key state.
bool TypeKeys(HWND window, HWND focus, const std::vector<WORD>& keysDown);

// Ends every Varnito.exe process of this build still running (copies that a tested process
// started itself included); the number ended.
int EndLeftoverVarnitoProcesses();

}  // namespace e2e
