#pragma once
// The rows of the archive list: which entry each row shows, in display order, and its image.
// The list view keeps no copy of them (an owner-data list) and asks for a row's texts when
// it draws the row.
#include <cstdint>
#include <vector>
#include "plugins/EntryList.h"

// A row's image is chosen when the list first shows the row or a program asks for it: the
// shell's icon for a new type costs a probe file, and most rows of a large archive are never
// shown.
constexpr int ImageNotChosen = -1;

struct ListRow {
    uint32_t entry;  // index into the window's EntryList
    int image;       // index into the list's small-icon image list, or ImageNotChosen
};

using ListRows = std::vector<ListRow>;

// Sorts the rows by a column (ListColumn), ascending for sign +1 and descending for -1, with
// the order CArchiveListDlg::CompareEntries gives (the texts in the locale's order without
// regard to case). Stable: rows that compare equal keep the
// order they had.
void SortRows(ListRows& rows, const EntryList& entries, int column, int sign);
