// How fast the archive list window fills and answers (run by tools/bench/fill-list):
//   fill_list_bench.exe PLUGIN_FOLDER ARCHIVE SMALL_ARCHIVE [fill-only]
// Opens the list window on ARCHIVE and prints the time of its filling and first painting,
// against the same for SMALL_ARCHIVE (a few entries: the window's own start), and where the
// time goes (the plug-in's listing through the host; the rest: rows, widths, painting and
// the icons of the rows shown). The icons of every row, one shell probe per extension, are
// timed apart: the window asks only for those of the rows it shows. With the list filled:
// the process's memory, then every way of selecting all rows and clearing the selection
// again, each timed until the window has painted (the select-all button, Ctrl+A, a
// shift-click from the first row to the last, and LVM_SETITEMSTATE from another thread, as
// another program sends it: once for every row, and row by row for the first RowByRowSample
// rows), and a sort by each column. With "fill-only" (for the emulated 32-bit machine, where
// the rest would take hours), the filling, its parts and the memory only, without the icons.
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include "framework/ImageList.h"
#include "framework/MessagePump.h"
#include "listwin/ArchiveListDlg.h"
#include "listwin/RowIconCache.h"
#include "res/resource.h"
#include "text/WideText.h"
#include "tools/bench/Measure.h"

namespace {
using bench::PeakBytes;
using bench::Seconds;

// Lets every posted message and painting of the thread happen.
void Settle(HWND window) {
    PumpPendingMessages();
    ::UpdateWindow(window);
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

int SelectedRows(HWND list) { return static_cast<int>(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

void ClickSelectButton(HWND window) {
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_ARCLIST_SELECT, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_ARCLIST_SELECT)));
}

// A key with Ctrl or Shift held, taken by the window's message loop as a user's would be.
void PressKey(HWND target, UINT key, UINT held) {
    BYTE keys[256] = {}, saved[256];
    ::GetKeyboardState(saved);
    keys[held] = 0x80;
    keys[key] = 0x80;
    ::SetKeyboardState(keys);
    ::PostMessageA(target, WM_KEYDOWN, key, 0);
    PumpPendingMessages();
    ::SetKeyboardState(saved);
}

// The first row focused and selected by a click, then Shift+End: the list selects the range.
void ShiftClickToTheEnd(HWND list) {
    LVITEMA item = {};
    item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    ::SetFocus(list);
    PressKey(list, VK_END, VK_SHIFT);
}

// Rows selected one message each from outside: each message crosses threads (processes,
// for another program) and so costs Wine's server round trips, whatever the window does.
constexpr int RowByRowSample = 10000;

struct RowStates {
    HWND list;
    UINT state;
    int rows;  // -1: one message for every row
};

// LVM_SETITEMSTATE from another thread, as from another program.
DWORD WINAPI SetRowStates(void* parameter) {
    RowStates* states = static_cast<RowStates*>(parameter);
    LVITEMA item = {};
    item.state = states->state;
    item.stateMask = LVIS_SELECTED;
    if (states->rows < 0) ::SendMessageA(states->list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    for (int row = 0; row < states->rows; ++row)
        ::SendMessageA(states->list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    return 0;
}

void SetRowsFromOutside(HWND list, UINT state, int rows) {
    RowStates states = {list, state, rows};
    HANDLE thread = ::CreateThread(nullptr, 0, SetRowStates, &states, 0, nullptr);
    // This thread answers the other one's messages while it waits.
    while (::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
        PumpPendingMessages();
    ::CloseHandle(thread);
}

void ClickColumn(HWND window, HWND list, int column) {
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = IDC_ARCLIST_ENTRIES;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    ::SendMessageA(window, WM_NOTIFY, IDC_ARCLIST_ENTRIES, reinterpret_cast<LPARAM>(&click));
}

struct FilledWindow {
    double seconds = 0;
    int rows = -1;
    SIZE_T filledBytes = 0;  // the process's memory with the list filled
};

// Times one way of selecting (or clearing) and prints it with the rows selected afterwards.
template <typename Action>
bool TimeSelection(const char* what, HWND window, HWND list, int wanted, Action action) {
    double start = Seconds();
    action();
    Settle(window);
    double seconds = Seconds() - start;
    int selected = SelectedRows(list);
    printf("%-39s%.3f s\n", what, seconds);
    if (selected == wanted) return true;
    fprintf(stderr, "%s left %d rows selected, not %d\n", what, selected, wanted);
    return false;
}

bool TimeSelections(HWND window, HWND list, int rows) {
    bool ok = true;
    ok &= TimeSelection("selecting all rows", window, list, rows, [&] { ClickSelectButton(window); });
    ok &= TimeSelection("clearing the selection", window, list, 0, [&] { ClickSelectButton(window); });
    ok &= TimeSelection("selecting all rows by Ctrl+A", window, list, rows, [&] { PressKey(list, 'A', VK_CONTROL); });
    ok &= TimeSelection("clearing by the button", window, list, 0, [&] { ClickSelectButton(window); });
    ok &= TimeSelection("selecting all rows by a shift-click", window, list, rows, [&] { ShiftClickToTheEnd(list); });
    ok &= TimeSelection("clearing by the button", window, list, 0, [&] { ClickSelectButton(window); });
    ok &= TimeSelection("selecting all rows from outside", window, list, rows,
                        [&] { SetRowsFromOutside(list, LVIS_SELECTED, -1); });
    ok &= TimeSelection("clearing all rows from outside", window, list, 0, [&] { SetRowsFromOutside(list, 0, -1); });
    int sample = rows < RowByRowSample ? rows : RowByRowSample;
    printf("(row by row: the first %d rows, one message each)\n", sample);
    ok &= TimeSelection("selecting row by row from outside", window, list, sample,
                        [&] { SetRowsFromOutside(list, LVIS_SELECTED, sample); });
    ok &= TimeSelection("clearing row by row from outside", window, list, 0,
                        [&] { SetRowsFromOutside(list, 0, sample); });
    return ok;
}

void TimeSorts(HWND window, HWND list) {
    for (int column = 0; column < ColumnCount; ++column) {
        double start = Seconds();
        ClickColumn(window, list, column);
        Settle(window);
        printf("sorting by column %d                    %.3f s\n", column, Seconds() - start);
    }
}

// Opens the window on the archive, as list mode does (filling and first painting included).
// With `measure`, then reads the memory and, with `answers`, times the selections and sorts.
FilledWindow OpenWindow(CPluginTable& host, const char* archive, bool measure, bool* ok = nullptr,
                        bool answers = true) {
    FilledWindow filled;
    CArchiveListDlg window;
    window.SetArchive(Cp932ToWide(archive), &host);
    double start = Seconds();
    BOOL created = window.Create(IDD_ARCHIVE_LIST_DIALOG);
    if (created) Settle(window.m_hWnd);
    filled.seconds = Seconds() - start;
    HWND list = created ? ::GetDlgItem(window.m_hWnd, IDC_ARCLIST_ENTRIES) : nullptr;
    filled.rows = list ? static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
    if (list && measure) {
        filled.filledBytes = PeakBytes();  // Wine reports the memory of now, so read it here
        if (answers) {
            bool selections = TimeSelections(window.m_hWnd, list, filled.rows);
            if (ok) *ok = selections;
            TimeSorts(window.m_hWnd, list);
        }
    }
    if (created) window.CloseWindow();
    if (window.m_hWnd) ::DestroyWindow(window.m_hWnd);
    return filled;
}

double ListingSeconds(CPluginTable& host, const char* archive, SIZE_T* recordBytes) {
    ListedArchive listed;
    SIZE_T before = PeakBytes();
    double start = Seconds();
    host.ListArchive(Cp932ToWide(archive), &listed);
    double seconds = Seconds() - start;
    *recordBytes = PeakBytes() - before;  // under Wine the memory of now: the host's list and the plug-in's
    return seconds;
}

// The icons of every entry name, one probe per extension, into a fresh image list.
double IconSeconds(CPluginTable& host, const char* archive, int* probes) {
    ListedArchive listed;
    host.ListArchive(Cp932ToWide(archive), &listed);
    if (!listed.Listed()) return 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"Varnito_bench_icons\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    CImageList images;
    images.Create(16, 16, ILC_COLOR24, 10, 10);
    double start = Seconds();
    CRowIconCache icons(images, folder);
    for (const ListedEntry& entry : listed.entries)
        if (entry.fileName[0]) icons.ImageFor(entry.fileName);
    double seconds = Seconds() - start;
    *probes = icons.ProbeCount();
    RemoveDirectoryW(folder.c_str());
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    bool fillOnly = argc == 5 && strcmp(argv[4], "fill-only") == 0;
    if (argc != 4 && !fillOnly) {
        fprintf(stderr, "usage: fill_list_bench PLUGIN_FOLDER ARCHIVE SMALL_ARCHIVE [fill-only]\n");
        return 2;
    }
    // The parts of the fill, each timed on a plug-in loaded for it alone: a plug-in keeps the
    // records of the archive it listed last, so a second listing would cost next to nothing.
    int probes = 0;
    SIZE_T recordBytes = 0;
    double listing = 0, icons = 0;
    {
        CPluginTable parts;
        if (parts.LoadFolder(Cp932ToWide(argv[1])) <= 0) {
            fprintf(stderr, "no plug-in in %s\n", argv[1]);
            return 1;
        }
        listing = ListingSeconds(parts, argv[2], &recordBytes);
        // Where a slow machine has got to, should it stop on the way.
        if (fillOnly) fprintf(stderr, "listed %.0f MB of records in %.2f s\n", recordBytes / 1048576.0, listing);
        if (!fillOnly) icons = IconSeconds(parts, argv[2], &probes);
    }
    auto host = std::make_unique<CPluginTable>();
    if (host->LoadFolder(Cp932ToWide(argv[1])) <= 0) return 1;
    OpenWindow(*host, argv[3], false);  // warms up the window class, fonts and the shell
    FilledWindow small = OpenWindow(*host, argv[3], false);
    bool selections = false;
    FilledWindow large = OpenWindow(*host, argv[2], true, &selections, !fillOnly);
    if (large.rows <= 0) {
        fprintf(stderr, "the window did not fill (%d rows)\n", large.rows);
        return 1;
    }
    double fill = large.seconds - small.seconds;
    printf("rows                                   %d\n", large.rows);
    printf("filling the list                       %.2f s  (%.0f rows/s)\n", fill, large.rows / fill);
    printf("  listing (plug-in and host)           %.2f s\n", listing);
    printf("  rows, widths, painting, icons shown  %.2f s\n", fill - listing);
    if (!fillOnly) printf("icons of all rows (%d probes)          %.2f s (not part of the filling)\n", probes, icons);
    printf("the window's own start (%d entries)    %.2f s\n", small.rows, small.seconds);
    printf("peak memory                            %.0f MB\n", large.filledBytes / 1048576.0);
    printf("records                                %.0f MB\n", recordBytes / 1048576.0);
    return selections || fillOnly ? 0 : 1;
}
