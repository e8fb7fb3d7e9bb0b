#pragma once
// The list view of the archive list window: an owner-data list whose rows are indices into
// the window's entries. The control keeps only the row count and the selection; each row's
// texts and image are given when the control asks for them (when it draws a row, or when a
// program reads a cell), made from the entry then. Its notifications come in UTF-16, so names
// of every script are shown as they are (a program that reads a cell through the "A" message
// gets code page 932, with "?" where it has no spelling).
#include <string>
#include <vector>
#include "framework/ListCtrl.h"
#include "listwin/ListRows.h"
#include "listwin/RowIconCache.h"

class CEntryListView : public CListCtrl {
public:
    // Shows these rows of the entries (which must outlive them, or the next call); no rows
    // with null. Images not chosen yet are asked of icons (which must outlive the rows too);
    // without it such rows show the default image.
    void ShowRows(const EntryList* entries, ListRows rows, CRowIconCache* icons = nullptr);
    const ListRows& Rows() const { return rows_; }

    // The record a row shows; null for a row that does not exist.
    const ListedEntry* RowEntry(int row) const;
    // Sorts the rows by a column, ascending (sign +1) or descending (-1), stable.
    void SortRows(int column, int sign);
    // The records of the selected rows, in the order of the entries (not the display order).
    std::vector<const ListedEntry*> SelectedInEntryOrder() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    bool MayChangeManyRows(UINT message, WPARAM wParam) const;
    LRESULT ChangeManyRows(UINT message, WPARAM wParam, LPARAM lParam);
    void GiveDisplayInfo(LVITEMA& item, bool wide);
    int RowImage(int row, const ListedEntry& entry);
    int FindRow(int start, UINT flags, const std::wstring& wanted) const;

    const EntryList* entries_ = nullptr;
    ListRows rows_;
    CRowIconCache* icons_ = nullptr;
};
