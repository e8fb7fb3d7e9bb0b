#include "listwin/EntryListView.h"
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include "listwin/EntryCells.h"
#include "text/Cp932.h"
#include "text/WideText.h"

namespace {

void CopyText(const std::wstring& text, char* out, int room) {
    if (!out || room <= 0) return;
    std::string narrow = WideToCp932Shown(text);
    size_t length = cp932::FittingLength(narrow.c_str(), narrow.size(), static_cast<size_t>(room) - 1);
    memcpy(out, narrow.data(), length);
    out[length] = '\0';
}

void CopyText(const std::wstring& text, wchar_t* out, int room) {
    if (!out || room <= 0) return;
    size_t length = std::min(text.size(), static_cast<size_t>(room) - 1);
    // A character beyond the basic plane is never cut in half.
    if (length > 0 && length < text.size() && text[length - 1] >= 0xD800 && text[length - 1] < 0xDC00) --length;
    wmemcpy(out, text.data(), length);
    out[length] = L'\0';
}

// Whether a row's name answers a type-ahead search: the whole name, or (LVFI_PARTIAL) its
// beginning, compared without regard to case.
bool NameMatches(const wchar_t* name, const std::wstring& wanted, UINT flags) {
    int length = static_cast<int>(wcslen(name));
    int wantedLength = static_cast<int>(wanted.size());
    if (flags & LVFI_PARTIAL) {
        if (length < wantedLength) return false;
        length = wantedLength;
    }
    return CompareStringW(GetThreadLocale(), NORM_IGNORECASE, name, length, wanted.c_str(), wantedLength) ==
           CSTR_EQUAL;
}

}  // namespace

void CEntryListView::ShowRows(const EntryList* entries, ListRows rows, CRowIconCache* icons) {
    entries_ = entries;
    rows_ = entries ? std::move(rows) : ListRows();
    icons_ = entries ? icons : nullptr;
    SendMessage(LVM_SETITEMCOUNT, rows_.size(), 0);
    Invalidate(FALSE);
}

const ListedEntry* CEntryListView::RowEntry(int row) const {
    if (!entries_ || row < 0 || static_cast<size_t>(row) >= rows_.size()) return nullptr;
    return &(*entries_)[rows_[row].entry];
}

void CEntryListView::SortRows(int column, int sign) {
    if (!entries_) return;
    // The control keeps the selection by row number: it is carried over to the rows' new
    // places. All or nothing selected stays as it is.
    int selectedCount = static_cast<int>(GetSelectedCount());
    bool partly = selectedCount > 0 && static_cast<size_t>(selectedCount) < rows_.size();
    std::vector<bool> selected(partly ? entries_->size() : 0);
    if (partly) {
        for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
            selected[rows_[row].entry] = true;
    }
    int focused = GetNextItem(-1, LVNI_FOCUSED);
    uint32_t focusedEntry = focused >= 0 ? rows_[focused].entry : 0;

    ::SortRows(rows_, *entries_, column, sign);

    SendMessage(WM_SETREDRAW, FALSE);
    if (partly) {
        SetItemState(-1, 0, LVIS_SELECTED);
        for (size_t row = 0; row < rows_.size(); ++row)
            if (selected[rows_[row].entry]) SetItemState(static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
    }
    if (focused >= 0) {
        for (size_t row = 0; row < rows_.size(); ++row) {
            if (rows_[row].entry != focusedEntry) continue;
            SetItemState(static_cast<int>(row), LVIS_FOCUSED, LVIS_FOCUSED);
            break;
        }
    }
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate(FALSE);
}

std::vector<const ListedEntry*> CEntryListView::SelectedInEntryOrder() const {
    std::vector<uint32_t> indices;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED)) {
        if (static_cast<size_t>(row) >= rows_.size()) break;
        indices.push_back(rows_[row].entry);
    }
    std::sort(indices.begin(), indices.end());
    std::vector<const ListedEntry*> selected;
    selected.reserve(indices.size());
    for (uint32_t index : indices) selected.push_back(&(*entries_)[index]);
    return selected;
}

LRESULT CEntryListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (MayChangeManyRows(message, wParam)) return ChangeManyRows(message, wParam, lParam);
    LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
    // A row's item data is the address of its record, as for a list that holds its rows.
    if ((message == LVM_GETITEMA || message == LVM_GETITEMW) && result && lParam) {
        auto* item = reinterpret_cast<LVITEMA*>(lParam);
        if (item->mask & LVIF_PARAM) item->lParam = reinterpret_cast<LPARAM>(RowEntry(item->iItem));
    }
    return result;
}

// A click or a key changes the state of many rows at once when Shift is held (a range is
// selected) or when more than one row is selected (the others are cleared); so does a state
// given to every row at once (row -1), by this program or another.
bool CEntryListView::MayChangeManyRows(UINT message, WPARAM wParam) const {
    if (message == LVM_SETITEMSTATE) return static_cast<int>(wParam) == -1;
    if (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN && message != WM_KEYDOWN) return false;
    return (GetKeyState(VK_SHIFT) & 0x8000) || GetSelectedCount() > 1;
}

// The control would repaint every changed row on its own, and tells the window of no row of
// a range it selects; here it repaints once, and the window hears of the change once.
LRESULT CEntryListView::ChangeManyRows(UINT message, WPARAM wParam, LPARAM lParam) {
    UINT selectedBefore = GetSelectedCount();
    SendMessage(WM_SETREDRAW, FALSE);
    LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
    SendMessage(WM_SETREDRAW, TRUE);  // repaints the list
    if (m_hWnd && GetSelectedCount() != selectedBefore) {
        NMLVODSTATECHANGE change = {};
        change.hdr.hwndFrom = m_hWnd;
        change.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
        change.hdr.code = LVN_ODSTATECHANGED;
        change.iFrom = 0;
        change.iTo = static_cast<int>(rows_.size()) - 1;
        change.uNewState = LVIS_SELECTED;
        ::SendMessageA(::GetParent(m_hWnd), WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change));
    }
    return result;
}

BOOL CEntryListView::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    if (message != WM_NOTIFY || !lParam) return FALSE;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    switch (header->code) {
    case LVN_GETDISPINFOA:
        GiveDisplayInfo(reinterpret_cast<NMLVDISPINFOA*>(lParam)->item, false);
        *result = 0;
        return TRUE;
    case LVN_GETDISPINFOW:
        GiveDisplayInfo(reinterpret_cast<NMLVDISPINFOA*>(lParam)->item, true);
        *result = 0;
        return TRUE;
    case LVN_ODFINDITEMA: {
        const auto* find = reinterpret_cast<const NMLVFINDITEMA*>(lParam);
        bool named = (find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find->lvfi.psz;
        *result = named ? FindRow(find->iStart, find->lvfi.flags, Cp932ToWide(find->lvfi.psz)) : -1;
        return TRUE;
    }
    case LVN_ODFINDITEMW: {
        const auto* find = reinterpret_cast<const NMLVFINDITEMW*>(lParam);
        bool named = (find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find->lvfi.psz;
        *result = named ? FindRow(find->iStart, find->lvfi.flags, find->lvfi.psz) : -1;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

// LVITEMA and LVITEMW differ only in the type of pszText.
void CEntryListView::GiveDisplayInfo(LVITEMA& item, bool wide) {
    const ListedEntry* entry = RowEntry(item.iItem);
    if (!entry) return;
    if (item.mask & LVIF_IMAGE) item.iImage = RowImage(item.iItem, *entry);
    if (!(item.mask & LVIF_TEXT)) return;
    std::wstring text = CellText(*entry, item.iSubItem);
    if (wide)
        CopyText(text, reinterpret_cast<wchar_t*>(item.pszText), item.cchTextMax);
    else
        CopyText(text, item.pszText, item.cchTextMax);
}

int CEntryListView::RowImage(int row, const ListedEntry& entry) {
    int& image = rows_[row].image;
    if (image == ImageNotChosen) image = icons_ ? icons_->ImageFor(entry.fileName) : 0;
    return image;
}

// The first row from start on (from the top again with LVFI_WRAP) whose name is the text
// searched for; -1 when none is.
int CEntryListView::FindRow(int start, UINT flags, const std::wstring& wanted) const {
    if (!entries_) return -1;
    int count = static_cast<int>(rows_.size());
    if (start < 0 || start >= count) start = 0;
    int searched = (flags & LVFI_WRAP) ? count : count - start;
    for (int i = 0; i < searched; ++i) {
        int row = (start + i) % count;
        if (NameMatches(RowEntry(row)->fileName, wanted, flags)) return row;
    }
    return -1;
}
