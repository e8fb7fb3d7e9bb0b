// Filling the archive list: the columns, the listing, one row per file entry.
#include <cstdio>
#include "framework/MessageBox.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"
#include "listwin/ArchiveListDlg.h"
#include "listwin/RowIconCache.h"
#include "ui/PluginErrorBox.h"
#include "res/resource.h"

namespace {

struct ColumnLook {
    const char* heading;
    int format;
};

const ColumnLook Columns[ColumnCount] = {
    {"ファイル名", LVCFMT_LEFT}, {"サイズ", LVCFMT_RIGHT}, {"圧縮", LVCFMT_RIGHT}, {"比率", LVCFMT_RIGHT},
    {"日時", LVCFMT_LEFT},       {"タイプ", LVCFMT_LEFT}, {"相対パス", LVCFMT_LEFT},
};

}  // namespace

void CArchiveListDlg::SetUpColumns() {
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    list.DeleteAllItems();
    for (int column = 0; column < ColumnCount; ++column)
        list.InsertColumn(column, Columns[column].heading, Columns[column].format, 20, column);
    list.FitColumnWidths();
}

BOOL CArchiveListDlg::FillList() {
    char title[sizeof archiveName + 16];
    snprintf(title, sizeof title, "Varnito - %s", archiveName);
    SetWindowText(title);

    long long size = CUtility().FileSize(archivePath);
    if (size < 0) {
        AppMessageBox(this, "ファイルが見つかりません。");
        return FALSE;
    }
    if (size == 0) {
        AppMessageBox(this, "ファイルの内容がありません。");
        return FALSE;
    }
    CWaitCursor wait;
    ArchiveListing listing = host->ListArchive(archivePath, &entries);
    if (!listing.Listed()) {
        ShowPluginErrorBox(m_hWnd, listing.result);
        return FALSE;
    }
    pluginIndex = listing.slot;
    listedArchive = listing.archive;

    imageList.Create(16, 16, ILC_COLOR24, 10, 10);
    imageList.SetBkColor(RGB(255, 255, 255));
    list.SetImageList(&imageList, LVSIL_SMALL);
    HICON blankPage = static_cast<HICON>(
        LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_BLANK_PAGE), IMAGE_ICON, 16, 16, 0));
    imageList.Add(blankPage);
    if (blankPage) DestroyIcon(blankPage);

    list.ShowWindow(SW_HIDE);
    list.DeleteAllItems();
    list.SetBkColor(RGB(255, 255, 255));

    if (workFolder[0]) CreateDirectoryA(workFolder, nullptr);
    CRowIconCache icons(imageList, workFolder);
    list.SendMessage(WM_SETREDRAW, FALSE);
    int rows = 0;
    for (const ArchiveEntry& entry : entries) {
        if (!entry.fileName[0]) continue;
        AddRow(entry, icons.ImageFor(entry.fileName), rows++);
    }
    // Fails, harmlessly, while the folder holds other files.
    if (workFolder[0]) RemoveDirectoryA(workFolder);

    list.SendMessage(WM_SETREDRAW, TRUE);
    list.FitColumnWidths();
    list.ShowWindow(SW_SHOW);
    return TRUE;
}

void CArchiveListDlg::AddRow(const ArchiveEntry& entry, int image, int row) {
    int index = list.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, row, entry.fileName, 0, 0, image,
                                reinterpret_cast<LPARAM>(&entry));
    if (index < 0) return;
    for (int column = 1; column < ColumnCount; ++column)
        list.SetItemText(index, column, CellText(entry, column).c_str());
}
