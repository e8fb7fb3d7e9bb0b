// Filling the archive list: the columns, the listing, one row per file entry, and each
// column's widest cell, measured on the way.
#include <cstdio>
#include <cstring>
#include "framework/MessageBox.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"
#include "listwin/ArchiveListDlg.h"
#include "listwin/RowIconCache.h"
#include "listwin/WidestCells.h"
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
    int result = host->ListArchive(archivePath, &entries);
    if (result < 0) {
        host->ShowError(m_hWnd, result);
        return FALSE;
    }
    pluginIndex = result;

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
    CWidestCells widest(list.m_hWnd);
    ListRows rows;
    std::vector<int> widestImages(ColumnCount, 0);
    for (size_t i = 0; i < entries.size(); ++i) {
        const ArchiveEntry& entry = entries[i];
        if (!entry.fileName[0]) continue;
        int image = icons.ImageFor(entry.fileName);
        rows.push_back({static_cast<uint32_t>(i), image});
        MeasureRow(entry, widest);
    }
    // Fails, harmlessly, while the folder holds other files.
    if (workFolder[0]) RemoveDirectoryA(workFolder);

    // Column 0's width takes the icon in: every row has one of the same size.
    if (!rows.empty()) widestImages[ColumnFileName] = rows.front().image;
    list.ShowRows(&entries, std::move(rows));
    list.FitColumnWidths(widest.Texts(), widestImages);
    list.ShowWindow(SW_SHOW);
    return TRUE;
}

void CArchiveListDlg::MeasureRow(const ArchiveEntry& entry, CWidestCells& widest) {
    widest.Offer(ColumnFileName, entry.fileName, strlen(entry.fileName));
    for (int column = 1; column < ColumnCount; ++column) widest.Offer(column, CellText(entry, column));
}
