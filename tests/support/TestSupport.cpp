#include "tests/support/TestSupport.h"
#include <psapi.h>
#include "plugins/SusiePlugin.h"
#include "tests/support/FolderWalk.h"
#include "tests/support/WideFiles.h"
#include "text/WideText.h"
#include <cstdio>
#include <cstring>

namespace testsupport {

TempDir::TempDir() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static LONG counter = 0;
    // Wine gives every run the same process ids and a killed run leaves its folders behind, so
    // the name carries the start time too; and it ends in a letter, so that no folder's name is
    // another's with one character fewer (a test types a path character by character).
    static const DWORD started = GetTickCount();
    for (;;) {
        char name[MAX_PATH];
        snprintf(name, sizeof name, "%svtest_%lu_%lx_%ld_t\\", temp, GetCurrentProcessId(),
                 static_cast<unsigned long>(started), InterlockedIncrement(&counter));
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            break;
        }
    }
}

TempDir::~TempDir() { RemoveTree(path_); }

// Through the wide functions: a test of the plug-ins' wide exports leaves files of names code
// page 932 cannot spell, and paths of any length.
void RemoveTree(const std::string& path) {
    if (path.empty()) return;  // not the current folder
    RemoveWideTree(WidePath(path));
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    return CloseHandle(file) && ok;
}

std::wstring MakeFolder(const TempDir& parent, const std::wstring& name) {
    std::wstring folder = Cp932ToWide(parent.path()) + name;
    return CreateDirectoryW(folder.c_str(), nullptr) ? folder + L"\\" : std::wstring();
}

std::string ReadBytes(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return std::string();
    std::string data;
    char chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) data.append(chunk, n);
    fclose(f);
    return data;
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string data;
    char chunk[65536];
    DWORD n = 0;
    while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0) data.append(chunk, n);
    CloseHandle(file);
    return data;
}

namespace {
// The Linux path of a Windows path, through Wine's own kernel32 export.
std::string UnixPath(const std::string& path) {
    using UnixNameFn = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH] = {};
    if (!unixName || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH)) return std::string();
    char* name = unixName(wide);
    if (!name) return std::string();
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}
}  // namespace

bool RewriteFromLinux(const std::string& path, const std::string& bytes) {
    std::string staged = path + ".staged";
    std::string from = UnixPath(staged), to = UnixPath(path);
    if (!WriteBytes(staged, bytes) || from.empty() || to.empty()) return false;
    std::string command = "Z:\\bin\\cp \"" + from + "\" \"" + to + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Wine reports no exit code of a Linux program: the file itself tells.
    bool copied = false;
    for (int tries = 0; tries < 100 && !copied; ++tries) {
        copied = ReadBytes(path) == bytes;
        if (!copied) Sleep(50);
    }
    DeleteFileA(staged.c_str());
    return copied;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string PluginFile(const std::string& base) { return base + "." + SpiFileExtension; }

size_t PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

std::string WindowText(HWND hwnd) {
    char text[4096] = {};
    // WM_GETTEXT works across threads; GetWindowText would not read another thread's controls.
    SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring WindowWideText(HWND hwnd) {
    // WM_GETTEXT works across threads; GetWindowText would not read another thread's controls.
    LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    return text.c_str();
}

namespace {
struct StaticTexts {
    std::string text;
};

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0 && GetDlgCtrlID(child) == 0xFFFF) {
        reinterpret_cast<StaticTexts*>(param)->text = WindowText(child);
    }
    return TRUE;
}

struct ProcessBoxes {
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND hwnd, LPARAM param) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && IsMessageBox(hwnd))
        reinterpret_cast<ProcessBoxes*>(param)->boxes.push_back(hwnd);
    return TRUE;
}
}  // namespace

bool IsMessageBox(HWND hwnd) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0) return false;
    HWND text = GetDlgItem(hwnd, 0xFFFF);
    return text != nullptr;
}

MessageBoxWatcher::MessageBoxWatcher(int button) : button_(button), thread_([this] { Run(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

void MessageBoxWatcher::Run() {
    while (!stop_) {
        ProcessBoxes found;
        EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&found));
        for (HWND box : found.boxes) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                bool known = false;
                for (HWND h : handled_) known = known || h == box;
                if (known) continue;
                handled_.push_back(box);
            }
            StaticTexts texts;
            EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&texts));
            SeenBox seen{WindowText(box), texts.text, 0, GetWindow(box, GW_OWNER)};
            {
                std::lock_guard<std::mutex> lock(mutex_);
                seen_.push_back(seen);
            }
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
        }
        Sleep(20);
    }
}

std::vector<SeenBox> MessageBoxWatcher::Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

bool MessageBoxWatcher::WaitFor(size_t count, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (seen_.size() >= count) return true;
        }
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
}

CurrentFolder::CurrentFolder(const std::string& folder) {
    GetCurrentDirectoryA(sizeof previous_, previous_);
    SetCurrentDirectoryA(folder.c_str());
}

CurrentFolder::~CurrentFolder() { SetCurrentDirectoryA(previous_); }

void PressF1(HWND window) {
    HELPINFO info = {sizeof info, HELPINFO_WINDOW, 0, window, 0, {0, 0}};
    SendMessageA(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

void PumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

}  // namespace testsupport

namespace testsupport {

std::wstring Wide(const std::string& cp932) { return Cp932ToWide(cp932); }

std::string Narrow(const std::wstring& text) { return WideToCp932Shown(text); }

std::wstring FromUtf8(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], length);
    return wide;
}

}  // namespace testsupport
