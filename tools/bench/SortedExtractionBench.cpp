// Extracting every entry of an archive from the list window, as listed and after a sort
// (run by tools/bench/sorted-extraction):
//   sorted_extraction_bench.exe PLUGIN_FOLDER ARCHIVE OUT_FOLDER
// Extracts all entries into OUT_FOLDER\listed\ with the list in its first order, then into
// OUT_FOLDER\sorted\ after sorting it by name, descending; prints both times and their ratio.
// A run reads the entries in the archive's order whatever the list shows, so a solid block
// is decoded once in both.
#include <windows.h>
#include <cstdio>
#include <memory>
#include <string>
#include "framework/MessagePump.h"
#include "listwin/ArchiveListDlg.h"
#include "res/resource.h"
#include "text/WideText.h"
#include "tools/bench/Measure.h"

namespace {

std::string g_destination;
HHOOK g_hook = nullptr;

// Answers the destination dialog with g_destination and Enter, as soon as it is initialised.
LRESULT CALLBACK AnswerDestination(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG) {
        char title[64] = {};
        GetWindowTextA(call->hwnd, title, sizeof title);
        if (strcmp(title, "解凍先設定") == 0) {
            SetDlgItemTextA(call->hwnd, 1013, g_destination.c_str());
            PostMessageA(call->hwnd, WM_KEYDOWN, VK_RETURN, 1);
            PostMessageA(call->hwnd, WM_KEYUP, VK_RETURN, 0xC0000001);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ClickNameColumn(HWND window) {
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = GetDlgItem(window, IDC_ARCLIST_ENTRIES);
    click.hdr.idFrom = IDC_ARCLIST_ENTRIES;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = ColumnFileName;
    SendMessageA(window, WM_NOTIFY, IDC_ARCLIST_ENTRIES, reinterpret_cast<LPARAM>(&click));
}

// Opens the window, sorts by name descending when asked, extracts all; returns the seconds
// of the extraction, or -1.
double ExtractAll(CPluginTable& host, const char* archive, const std::string& destination, bool sortDescending) {
    CArchiveListDlg window;
    window.SetArchive(Cp932ToWide(archive), &host);
    if (!window.Create(IDD_ARCHIVE_LIST_DIALOG)) return -1;
    PumpPendingMessages();
    if (sortDescending) {
        ClickNameColumn(window.m_hWnd);
        ClickNameColumn(window.m_hWnd);
    }
    CreateDirectoryA(destination.c_str(), nullptr);
    g_destination = destination;
    g_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AnswerDestination, nullptr, GetCurrentThreadId());
    double start = bench::Seconds();
    SendMessageA(window.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_ARCLIST_EXTRACT_ALL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window.m_hWnd, IDC_ARCLIST_EXTRACT_ALL)));
    double seconds = bench::Seconds() - start;
    UnhookWindowsHookEx(g_hook);
    window.CloseWindow();
    if (window.m_hWnd) DestroyWindow(window.m_hWnd);
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: sorted_extraction_bench PLUGIN_FOLDER ARCHIVE OUT_FOLDER\n");
        return 2;
    }
    auto host = std::make_unique<CPluginTable>();
    if (host->LoadFolder(Cp932ToWide(argv[1])) <= 0) {
        fprintf(stderr, "no plug-in in %s\n", argv[1]);
        return 1;
    }
    std::string out = argv[3];
    double listed = ExtractAll(*host, argv[2], out + "listed\\", false);
    double sorted = ExtractAll(*host, argv[2], out + "sorted\\", true);
    if (listed <= 0 || sorted <= 0) return 1;
    printf("extracting all, as listed            %.2f s\n", listed);
    printf("extracting all, sorted by name desc  %.2f s\n", sorted);
    printf("sorted against listed                %.2f\n", sorted / listed);
    return 0;
}
