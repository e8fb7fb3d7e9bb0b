// Shows one dialog template for a picture:  show_dialog ID RECT-FILE [MODULE [CONTROL=TEXT ...]]
// Creates the dialog of the program (with the icons its window class gives it), or of MODULE,
// a plug-in, with the given texts in its controls; writes the dialog's outer rectangle
// ("left top width height") to RECT-FILE, and stays until RECT-FILE is deleted (or a minute
// has passed).
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "framework/Dialog.h"
#include "framework/MessagePump.h"
#include "framework/WinApp.h"
#include "res/resource.h"

namespace {

struct ButtonIcon {
    UINT dialog;
    int control;
    UINT icon;
};

// The icons the dialogs put on their buttons when they open.
const ButtonIcon ButtonIcons[] = {
    {IDD_SETTINGS_DIALOG, IDC_SETTINGS_EDITOR_BROWSE, IDI_SHEET},
    {IDD_SETTINGS_DIALOG, IDC_SETTINGS_DEST_BROWSE, IDI_FOLDER},
    {IDD_SETTINGS_DIALOG, IDC_SETTINGS_SPI_BROWSE, IDI_FOLDER},
    {IDD_SETTINGS_DIALOG, IDC_SETTINGS_SPI_FROM_VIEWER, IDI_HEART},
    {IDD_DESTINATION_DIALOG, IDC_DEST_BROWSE, IDI_FOLDER},
    {IDD_ARCHIVE_LIST_DIALOG, IDC_ARCLIST_EXTRACT_ALL, IDI_EXTRACT_ALL},
    {IDD_ARCHIVE_LIST_DIALOG, IDC_ARCLIST_EXTRACT_SELECTED, IDI_EXTRACT_SELECTED},
    {IDD_ARCHIVE_LIST_DIALOG, IDC_ARCLIST_OPEN, IDI_OPEN_ENTRY},
    {IDD_ARCHIVE_LIST_DIALOG, IDC_ARCLIST_SELECT, IDI_SELECT},
    {IDD_ARCHIVE_LIST_DIALOG, IDC_ARCLIST_ABOUT, IDI_VERSION},
    {IDD_ARCHIVE_LIST_DIALOG, IDC_ARCLIST_CLOSE, IDI_EXIT},
};

HICON LoadOwnIcon(UINT id) {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, 0));
}

void DressUp(CDialog& dialog, UINT templateId) {
    dialog.SetIcon(LoadOwnIcon(IDI_PROGRAM), TRUE);
    for (const ButtonIcon& b : ButtonIcons) {
        if (b.dialog != templateId) continue;
        HWND button = GetDlgItem(dialog.m_hWnd, b.control);
        SetWindowLongPtrA(button, GWL_STYLE, GetWindowLongPtrA(button, GWL_STYLE) | BS_ICON);
        SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(LoadOwnIcon(b.icon)));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: show_dialog ID RECT-FILE [MODULE [CONTROL=TEXT ...]]\n");
        return 2;
    }
    HINSTANCE templates = argc > 3 ? LoadLibraryA(argv[3]) : GetModuleHandleA(nullptr);
    if (!templates) {
        fprintf(stderr, "show_dialog: cannot load %s\n", argv[3]);
        return 1;
    }
    CWinApp app;
    app.PrepareRun(templates, "");
    UINT templateId = static_cast<UINT>(atoi(argv[1]));
    CDialog dialog(templateId);
    if (!dialog.Create(templateId)) {
        fprintf(stderr, "show_dialog: no dialog %u\n", templateId);
        return 1;
    }
    if (argc > 3) {
        for (int i = 4; i < argc; ++i) {
            const char* equals = strchr(argv[i], '=');
            if (equals) SetDlgItemTextA(dialog.m_hWnd, atoi(argv[i]), equals + 1);
        }
    } else {
        DressUp(dialog, templateId);
    }
    dialog.SetWindowPos(HWND_TOP, 16, 16, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    dialog.UpdateWindow();

    RECT rect;
    dialog.GetWindowRect(&rect);
    FILE* f = fopen(argv[2], "w");
    if (!f) return 1;
    fprintf(f, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    fclose(f);

    for (int waited = 0; waited < 60000 && GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES; waited += 50) {
        PumpPendingMessages();
        Sleep(50);
    }
    dialog.DestroyWindow();
    return 0;
}
