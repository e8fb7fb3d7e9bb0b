// How fast the archive list window fills (run by tools/bench/fill-list):
//   fill_list_bench.exe PLUGIN_FOLDER ARCHIVE SMALL_ARCHIVE
// Opens the list window on ARCHIVE and prints the time of its filling and where it goes:
// the plug-in's listing through the host, the icons (one shell probe per extension), fitting
// the columns to the widest cells, and the rest: the list view's own work on the rows and
// their cell texts. The window
// opened on SMALL_ARCHIVE (one entry) gives the window's own start, which is taken off.
// Then the select-all button selects every row and clears the selection again, each
// timed until the list has painted.
#include <windows.h>
#include <cstdio>
#include <memory>
#include <string>
#include "framework/ImageList.h"
#include "listwin/ArchiveListDlg.h"
#include "listwin/RowIconCache.h"
#include "res/resource.h"
#include "tools/bench/Measure.h"

namespace {
using bench::PeakBytes;
using bench::Seconds;

struct SelectionTimes {
    double selectAll = 0, clear = 0;
    int selected = -1, left = -1;  // rows selected after each click
    SIZE_T filledBytes = 0;        // the process's memory with the list filled
};

// Clicks the select-all button (it selects every row, or clears a selection) and waits for
// the list to paint; returns the seconds.
double ClickSelectButton(HWND window, HWND list, int* selected) {
    double start = Seconds();
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_ARCLIST_SELECT, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_ARCLIST_SELECT)));
    ::UpdateWindow(window);
    ::UpdateWindow(list);
    double seconds = Seconds() - start;
    *selected = static_cast<int>(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
    return seconds;
}

// Opens the window on the archive, as list mode does (filling included); returns the seconds
// and leaves the row count in *rows and, when asked, the time of fitting the columns again
// and of selecting every row and clearing the selection.
double OpenWindow(CPluginTable& host, const char* archive, int* rows, double* fitSeconds = nullptr,
                  SelectionTimes* selection = nullptr) {
    CArchiveListDlg window;
    window.SetArchive(archive, &host);
    double start = Seconds();
    BOOL created = window.Create(IDD_ARCHIVE_LIST_DIALOG);
    double seconds = Seconds() - start;
    HWND list = created ? ::GetDlgItem(window.m_hWnd, IDC_ARCLIST_ENTRIES) : nullptr;
    *rows = list ? static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
    if (list && fitSeconds) {
        // The window's own list object.
        auto* columns = static_cast<CListCtrl*>(CWnd::FromHandlePermanent(list));
        double fitStart = Seconds();
        columns->FitColumnWidths();
        *fitSeconds = Seconds() - fitStart;
    }
    if (list && selection) {
        selection->filledBytes = PeakBytes();  // Wine reports the memory of now, so read it here
        selection->selectAll = ClickSelectButton(window.m_hWnd, list, &selection->selected);
        selection->clear = ClickSelectButton(window.m_hWnd, list, &selection->left);
    }
    if (created) window.CloseWindow();
    if (window.m_hWnd) ::DestroyWindow(window.m_hWnd);
    return seconds;
}

double ListingSeconds(CPluginTable& host, const char* archive) {
    EntryList entries;
    double start = Seconds();
    host.ListArchive(archive, &entries);
    return Seconds() - start;
}

// The icons of every entry name, one probe per extension, into a fresh image list.
double IconSeconds(CPluginTable& host, const char* archive, int* probes) {
    EntryList entries;
    if (!host.ListArchive(archive, &entries).Listed()) return 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "Varnito_bench_icons\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CImageList images;
    images.Create(16, 16, ILC_COLOR24, 10, 10);
    double start = Seconds();
    CRowIconCache icons(images, folder.c_str());
    for (const ArchiveEntry& entry : entries)
        if (entry.fileName[0]) icons.ImageFor(entry.fileName);
    double seconds = Seconds() - start;
    *probes = icons.ProbeCount();
    RemoveDirectoryA(folder.c_str());
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: fill_list_bench PLUGIN_FOLDER ARCHIVE SMALL_ARCHIVE\n");
        return 2;
    }
    auto host = std::make_unique<CPluginTable>();
    if (host->LoadFolder(argv[1]) <= 0) {
        fprintf(stderr, "no plug-in in %s\n", argv[1]);
        return 1;
    }
    int rows = 0, smallRows = 0, probes = 0;
    OpenWindow(*host, argv[3], &smallRows);  // warms up the window class, fonts and the shell
    double windowAlone = OpenWindow(*host, argv[3], &smallRows);
    double fit = 0;
    SelectionTimes selection;
    double open = OpenWindow(*host, argv[2], &rows, &fit, &selection);
    SIZE_T peak = selection.filledBytes;
    if (rows <= 0) {
        fprintf(stderr, "the window did not fill (%d rows)\n", rows);
        return 1;
    }
    if (selection.selected != rows || selection.left != 0) {
        fprintf(stderr, "select all left %d of %d rows selected, clearing %d\n", selection.selected, rows,
                selection.left);
        return 1;
    }
    double listing = ListingSeconds(*host, argv[2]);
    double icons = IconSeconds(*host, argv[2], &probes);
    double fill = open - windowAlone;
    printf("rows                                 %d\n", rows);
    printf("filling the list                     %.2f s  (%.0f rows/s)\n", fill, rows / fill);
    printf("  listing (plug-in and host)         %.2f s\n", listing);
    printf("  icons (%d probes)                  %.2f s\n", probes, icons);
    printf("  fitting the columns                %.2f s\n", fit);
    printf("  rows and cell texts (list view)    %.2f s\n", fill - listing - icons - fit);
    printf("the window's own start (1 entry)     %.2f s\n", windowAlone);
    printf("selecting all rows                   %.3f s\n", selection.selectAll);
    printf("clearing the selection               %.3f s\n", selection.clear);
    printf("peak memory                          %.0f MB\n", peak / 1048576.0);
    return 0;
}
