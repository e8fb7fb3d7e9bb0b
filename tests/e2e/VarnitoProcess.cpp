#include "tests/e2e/VarnitoProcess.h"
#include <commctrl.h>
#include <tlhelp32.h>
#include <cstring>
#include "tests/support/TestSupport.h"

namespace e2e {

namespace {
constexpr DWORD PollMs = 25;
constexpr UINT SendTimeoutMs = 5000;

std::string ClassName(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, SendTimeoutMs, &result)) return -1;
    return static_cast<LRESULT>(result);
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return full;
}

// A block of memory inside another process, for messages whose argument is a pointer.
class RemoteBlock {
public:
    RemoteBlock(HWND window, size_t size) : size_(size) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBlock() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool Valid() const { return address_ != nullptr; }
    char* At(size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(size_t offset, const void* data, size_t size) const {
        return offset + size <= size_ && WriteProcessMemory(process_, At(offset), data, size, nullptr);
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return offset + size <= size_ && ReadProcessMemory(process_, At(offset), data, size, nullptr);
    }

private:
    size_t size_;
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

// Sends a list-view message whose argument is one LVITEMA (with room for its text behind it).
bool SendItemMessage(HWND list, UINT message, WPARAM row, LVITEMA item, std::string* text = nullptr) {
    constexpr size_t TextRoom = 1024;
    RemoteBlock block(list, sizeof item + TextRoom);
    if (!block.Valid()) return false;
    item.pszText = block.At(sizeof item);
    item.cchTextMax = TextRoom;
    if (!block.Write(0, &item, sizeof item)) return false;
    LRESULT result = SendWithTimeout(list, message, row, reinterpret_cast<LPARAM>(block.At(0)));
    if (result < 0) return false;
    if (text) {
        char buffer[TextRoom] = {};
        if (!block.Read(sizeof item, buffer, sizeof buffer - 1)) return false;
        *text = buffer;
    }
    return true;
}
}  // namespace

std::string ProgramPath() { return FullPath(testsupport::ExeFolder() + "..\\bin\\Varnito.exe"); }
std::string PluginFolder() { return FullPath(testsupport::ExeFolder() + "..\\plugins"); }
std::string FixtureFolder() { return testsupport::ExeFolder() + "e2e_fixtures\\"; }

VarnitoProcess::~VarnitoProcess() {
    if (!process_) return;
    if (Running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool VarnitoProcess::Start(const std::string& arguments, const std::string& program) {
    std::string command = "\"" + program + "\"";
    if (!arguments.empty()) command += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

bool VarnitoProcess::Start(const std::wstring& arguments, const std::wstring& program) {
    std::wstring command = L"\"" + (program.empty() ? testsupport::Wide(ProgramPath()) : program) + L"\"";
    if (!arguments.empty()) command += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

bool VarnitoProcess::WaitForExit(DWORD timeoutMs) {
    return process_ && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

bool VarnitoProcess::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::vector<HWND> VarnitoProcess::Windows() const { return WindowsOfProcess(id_); }

HWND VarnitoProcess::WaitForWindow(const std::string& caption, const char* className, DWORD timeoutMs) const {
    return WaitUntil([&]() -> HWND {
        for (HWND window : Windows())
            if (Text(window) == caption && (!className || ClassName(window) == className)) return window;
        return nullptr;
    }, timeoutMs);
}

namespace {
struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}
}  // namespace

std::vector<HWND> WindowsOfProcess(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindowOfAnyProcess(const std::string& caption, const char* className, DWORD timeoutMs) {
    return WaitUntil([&]() -> HWND {
        HWND window = FindWindowA(className, caption.c_str());
        return window && IsWindowVisible(window) ? window : nullptr;
    }, timeoutMs);
}

DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

HWND WaitUntil(const std::function<HWND()>& found, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = found()) return window;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(PollMs);
    }
}

bool IsMessageBox(HWND window) { return ClassName(window) == "#32770" && GetDlgItem(window, 0xFFFF) != nullptr; }

ShownBox AnswerMessageBox(DWORD processId, DWORD timeoutMs) {
    ShownBox box;
    box.window = WaitUntil([&]() -> HWND {
        for (HWND window : WindowsOfProcess(processId))
            if (IsMessageBox(window)) return window;
        return nullptr;
    }, timeoutMs);
    if (!box.window) return box;
    // A box found while it is still being made (a slow machine) has no texts yet.
    WaitUntil([&]() -> HWND {
        box.caption = Text(box.window);
        box.text = ControlText(box.window, 0xFFFF);
        return box.caption.empty() && IsWindow(box.window) ? nullptr : box.window;
    }, timeoutMs);
    PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    // Gone before the caller looks for the next one.
    WaitUntil([&]() -> HWND { return IsWindow(box.window) ? nullptr : GetDesktopWindow(); }, 5000);
    return box;
}

std::string Text(HWND window) {
    char text[4096] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, SendTimeoutMs,
                        nullptr);
    return text;
}

std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control ? Text(control) : "<no control " + std::to_string(id) + ">";
}

bool SetControlText(HWND dialog, int id, const std::string& text) {
    HWND control = GetDlgItem(dialog, id);
    return control && SendWithTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) > 0;
}

bool ClickAndWait(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control && SendWithTimeout(control, BM_CLICK, 0, 0) >= 0;
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool IsChecked(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control && SendWithTimeout(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int RowCount(HWND list) { return static_cast<int>(SendWithTimeout(list, LVM_GETITEMCOUNT, 0, 0)); }

int SelectedCount(HWND list) { return static_cast<int>(SendWithTimeout(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

std::string CellText(HWND list, int row, int column) {
    LVITEMA item = {};
    item.iSubItem = column;
    std::string text;
    if (!SendItemMessage(list, LVM_GETITEMTEXTA, row, item, &text)) return "<unreadable>";
    return text;
}

std::string CellTextUtf8(HWND list, int row, int column) {
    constexpr size_t TextRoom = 1024;
    LVITEMW item = {};
    item.iSubItem = column;
    RemoteBlock block(list, sizeof item + TextRoom * sizeof(wchar_t));
    if (!block.Valid()) return "<unreadable>";
    item.pszText = reinterpret_cast<wchar_t*>(block.At(sizeof item));
    item.cchTextMax = TextRoom;
    if (!block.Write(0, &item, sizeof item)) return "<unreadable>";
    if (SendWithTimeout(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(block.At(0))) < 0) return "<unreadable>";
    wchar_t buffer[TextRoom] = {};
    if (!block.Read(sizeof item, buffer, sizeof buffer - sizeof(wchar_t))) return "<unreadable>";
    std::wstring text = buffer;
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

std::vector<std::vector<std::string>> Rows(HWND list, int columns) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0, count = RowCount(list); row < count; ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < columns; ++column) cells.push_back(CellText(list, row, column));
        rows.push_back(cells);
    }
    return rows;
}

bool SelectOnlyRow(HWND list, int row) {
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    LVITEMA one = none;
    one.state = LVIS_SELECTED | LVIS_FOCUSED;
    return SendItemMessage(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), none) &&
           SendItemMessage(list, LVM_SETITEMSTATE, row, one);
}

bool TypeKeys(HWND window, HWND focus, const std::vector<WORD>& keysDown) {
    SetForegroundWindow(window);
    DWORD target = GetWindowThreadProcessId(window, nullptr);
    DWORD self = GetCurrentThreadId();
    if (!AttachThreadInput(self, target, TRUE)) return false;
    SetFocus(focus);
    AttachThreadInput(self, target, FALSE);
    if (GetForegroundWindow() != window) return false;

    std::vector<INPUT> inputs;
    for (WORD key : keysDown) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = keysDown.rbegin(); key != keysDown.rend(); ++key) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

int EndLeftoverVarnitoProcesses() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    int ended = 0;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, "Varnito.exe") != 0) continue;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                     entry.th32ProcessID);
        if (!process) continue;
        char image[MAX_PATH] = {};
        DWORD size = sizeof image;
        if (QueryFullProcessImageNameA(process, 0, image, &size) && lstrcmpiA(image, ProgramPath().c_str()) == 0 &&
            TerminateProcess(process, 1)) {
            WaitForSingleObject(process, 5000);
            ++ended;
        }
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return ended;
}

}  // namespace e2e
