// Watches the immediate-mode dialog of a Varnito.exe it starts on an archive of one large entry
// (run by tools/bench/immediate-extraction):
//   progress_watch_bench.exe VARNITO_EXE ARCHIVE OUTPUT_FOLDER
// 1. A whole run: how often the dialog's bar moves while the entry is written (the longest
//    time it stands still, from its first move to the end of the run).
// 2. A second run stopped by a click on the dialog's stop button once the bar is half way:
//    the time from the click to the end of the program, and what is left in OUTPUT_FOLDER.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Search {
    DWORD process;
    HWND dialog;
    HWND bar;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window)) return TRUE;
    HWND bar = FindWindowExW(window, nullptr, L"msctls_progress32", nullptr);
    if (!bar) return TRUE;
    search->dialog = window;
    search->bar = bar;
    return FALSE;
}

// The files and folders under `folder`, at any depth, as paths below it (folders end in "\\").
std::vector<std::wstring> ListTree(const std::wstring& folder, const std::wstring& below = L"") {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\" + below + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        names.push_back(below + name + (isFolder ? L"\\" : L""));
        if (!isFolder) continue;
        std::vector<std::wstring> inner = ListTree(folder, below + name + L"\\");
        names.insert(names.end(), inner.begin(), inner.end());
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

void PrintTree(const char* label, const std::vector<std::wstring>& names) {
    printf("%s%d", label, static_cast<int>(names.size()));
    for (const std::wstring& name : names) printf("  %ls", name.c_str());
    printf("\n");
}

void RemoveTree(const std::wstring& folder) {
    std::wstring from = folder + L'\0';
    SHFILEOPSTRUCTW remove = {};
    remove.wFunc = FO_DELETE;
    remove.pFrom = from.c_str();
    remove.fFlags = FOF_NO_UI;
    SHFileOperationW(&remove);
}

struct Watched {
    int moves = 0;
    double longestStill = 0;  // seconds between two moves, or from the last move to the end
    double stopToEnd = -1;    // seconds from the click on the stop button to the program's end
};

// Runs Varnito on the archive and polls its bar every few milliseconds; with `stopHalfWay`
// clicks the stop button once the bar has passed half of its range.
bool Watch(const std::wstring& exe, const std::wstring& archive, bool stopHalfWay, Watched* watched) {
    // Unquoted, as the shell passes a path without blanks: a plain command line is split at blanks.
    std::wstring command = L"\"" + exe + L"\" " + archive;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started;
    if (!CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    Search search = {started.dwProcessId, nullptr, nullptr};
    int last = -1;
    double lastMove = 0, clicked = 0;
    while (WaitForSingleObject(started.hProcess, 2) == WAIT_TIMEOUT) {
        if (!search.bar) EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.bar) continue;
        DWORD_PTR position = 0, upper = 0;
        if (!SendMessageTimeoutW(search.bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &position)) continue;
        SendMessageTimeoutW(search.bar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &upper);
        double now = Now();
        if (static_cast<int>(position) != last) {
            if (last > 0 && now - lastMove > watched->longestStill) watched->longestStill = now - lastMove;
            if (position > 0) ++watched->moves;
            last = static_cast<int>(position);
            lastMove = now;
        }
        if (stopHalfWay && clicked == 0 && upper > 0 && position * 2 >= upper) {
            HWND stop = GetDlgItem(search.dialog, IDCANCEL);
            clicked = Now();
            PostMessageW(search.dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(stop));
        }
    }
    double end = Now();
    if (last > 0 && end - lastMove > watched->longestStill) watched->longestStill = end - lastMove;
    if (clicked > 0) watched->stopToEnd = end - clicked;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: progress_watch_bench VARNITO_EXE ARCHIVE OUTPUT_FOLDER\n");
        return 2;
    }
    Watched whole, stopped;
    if (!Watch(argv[1], argv[2], false, &whole)) return 1;
    std::vector<std::wstring> written = ListTree(argv[3]);
    RemoveTree(argv[3]);  // the whole run's output goes before the stopped run
    if (!Watch(argv[1], argv[2], true, &stopped)) return 1;
    printf("whole run: bar moves                %d\n", whole.moves);
    printf("whole run: longest still            %.2f s\n", whole.longestStill);
    PrintTree("whole run: files and folders made   ", written);
    if (stopped.stopToEnd < 0)
        printf("stopped run: the bar never reached half way\n");
    else
        printf("stopped run: click to end           %.2f s\n", stopped.stopToEnd);
    printf("stopped run: longest still          %.2f s\n", stopped.longestStill);
    PrintTree("stopped run: files and folders left ", ListTree(argv[3]));
    return 0;
}
