// Filling the archive list: the columns, the listing, one row per file entry, and each
// column's widest cell, measured on the way.
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include "extract/ExtractionTexts.h"
#include "extract/FileTimes.h"
#include "framework/MessageBox.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"
#include "listwin/ArchiveListDlg.h"
#include "listwin/WidestCells.h"
#include "text/LongPath.h"
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

// The date texts of the rows, for measuring: the local time's offset from UTC is asked of the
// system once per hour of timestamps, not once per row (that conversion costs more than the
// rest of a row put together). Changes of the offset fall on whole or half hours.
class MeasuredDates {
public:
    std::string Text(int64_t timestamp) {
        int64_t halfHour = timestamp / 1800 - (timestamp % 1800 < 0 ? 1 : 0);
        auto known = offsets_.find(halfHour);
        if (known == offsets_.end()) known = offsets_.emplace(halfHour, LocalOffset(timestamp)).first;
        FILETIME local;
        SYSTEMTIME fields;
        if (known->second == NoOffset || !TimestampToFileTime(timestamp + known->second, &local) ||
            !FileTimeToSystemTime(&local, &fields))
            return EntryTimeText(timestamp);
        return TimeFieldsText(fields);
    }

private:
    static constexpr int64_t NoOffset = INT64_MIN;

    static int64_t LocalOffset(int64_t timestamp) {
        FILETIME utcFile, localFile;
        SYSTEMTIME utc, local;
        if (!TimestampToFileTime(timestamp, &utcFile) || !FileTimeToSystemTime(&utcFile, &utc) ||
            !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) || !SystemTimeToFileTime(&local, &localFile))
            return NoOffset;
        auto ticks = [](const FILETIME& time) {
            return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
        };
        return (ticks(localFile) - ticks(utcFile)) / 10000000;
    }

    std::unordered_map<int64_t, int64_t> offsets_;
};

// Dates are ASCII digits and separators.
std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace

// Measures the cells of a row; a folder or method the row before had is not measured again.
class CArchiveListDlg::RowMeasure {
public:
    explicit RowMeasure(HWND list) : widest_(list) {}
    void Measure(const ListedEntry& entry) {
        widest_.Offer(ColumnFileName, entry.fileName, wcslen(entry.fileName));
        widest_.Offer(ColumnUnpackedSize, CellText(entry, ColumnUnpackedSize));
        widest_.Offer(ColumnPackedSize, CellText(entry, ColumnPackedSize));
        widest_.Offer(ColumnRatio, CellText(entry, ColumnRatio));
        widest_.Offer(ColumnDate, Widened(dates_.Text(entry.timestamp)));
        if (!previous_ || memcmp(previous_->method, entry.method, sizeof entry.method) != 0)
            widest_.Offer(ColumnMethod, CellText(entry, ColumnMethod));
        if (!previous_ || wcscmp(previous_->path, entry.path) != 0)
            widest_.Offer(ColumnPath, entry.path, wcslen(entry.path));
        previous_ = &entry;
    }
    const std::vector<std::wstring>& Widest() const { return widest_.Texts(); }

private:
    CWidestCells widest_;
    MeasuredDates dates_;
    const ListedEntry* previous_ = nullptr;
};

void CArchiveListDlg::SetUpColumns() {
    // The rows' texts are asked for in UTF-16, whatever the dialog's own character set.
    list.SendMessage(CCM_SETUNICODEFORMAT, TRUE, 0);
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    list.DeleteAllItems();
    for (int column = 0; column < ColumnCount; ++column)
        list.InsertColumn(column, Columns[column].heading, Columns[column].format, 20, column);
    list.FitColumnWidths();
}

BOOL CArchiveListDlg::FillList() {
    ::SetWindowTextW(m_hWnd, (L"Varnito - " + archiveName).c_str());

    WIN32_FILE_ATTRIBUTE_DATA data;
    if (archivePath.empty() ||
        !GetFileAttributesExW(ExtendedPath(archivePath).c_str(), GetFileExInfoStandard, &data)) {
        AppMessageBox(this, ArchiveMissingText);
        return FALSE;
    }
    if (data.nFileSizeHigh == 0 && data.nFileSizeLow == 0) {
        AppMessageBox(this, EmptyArchiveText);
        return FALSE;
    }
    CWaitCursor wait;
    PluginResult result = host->ListArchive(archivePath, &archive);
    if (result != PluginSucceeded) {
        if (result != StoppedByUser) ShowPluginErrorBox(m_hWnd, result);
        return FALSE;
    }
    const EntryList& entries = archive.entries;

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

    rowIcons.reset(new CRowIconCache(imageList, workFolder));
    RowMeasure measure(list.m_hWnd);
    ListRows rows;
    rows.reserve(entries.size());
    std::vector<int> widestImages(ColumnCount, 0);
    for (size_t i = 0; i < entries.size(); ++i) {
        const ListedEntry& entry = entries[i];
        if (!entry.fileName[0]) continue;
        rows.push_back({static_cast<uint32_t>(i), ImageNotChosen});
        measure.Measure(entry);
    }

    // Column 0's width takes the icon in: every row has one of the same size (the default's).
    list.ShowRows(&entries, std::move(rows), rowIcons.get());
    list.FitColumnWidths(measure.Widest(), widestImages);
    list.ShowWindow(SW_SHOW);
    if (entries.Unshown()) AppMessageBox(this, UnshownEntriesText(entries.Unshown()).c_str());
    return TRUE;
}
