#include "listwin/ListRows.h"
#include <windows.h>
#include <algorithm>
#include <cstring>
#include <string>
#include "listwin/ArchiveListDlg.h"
#include "listwin/EntryCells.h"

namespace {

// The text a text column compares, read no further than its field.
std::string SortedText(const ArchiveEntry& entry, int column) {
    switch (column) {
    case ColumnFileName: return CellText(entry, ColumnFileName);
    case ColumnMethod: return MethodText(entry);
    default: return CellText(entry, ColumnPath);
    }
}

bool IsTextColumn(int column) { return column == ColumnFileName || column == ColumnMethod || column == ColumnPath; }

// The case-insensitive sort keys of the rows' texts, one after another in one block. The
// locale's sort key orders two texts as the case-insensitive comparison of the same locale
// does, so a sort compares each pair with memcmp instead of converting both texts again
// for every comparison (seconds for a quarter of a million rows).
class SortKeys {
public:
    SortKeys(const ListRows& rows, const EntryList& entries, int column) {
        offsets_.reserve(rows.size() + 1);
        LCID locale = GetThreadLocale();
        for (const ListRow& row : rows) {
            offsets_.push_back(keys_.size());
            std::string text = SortedText(entries[row.entry], column);
            int size = LCMapStringA(locale, LCMAP_SORTKEY | NORM_IGNORECASE, text.c_str(), -1, nullptr, 0);
            if (size <= 0) continue;
            size_t at = keys_.size();
            keys_.resize(at + static_cast<size_t>(size));
            LCMapStringA(locale, LCMAP_SORTKEY | NORM_IGNORECASE, text.c_str(), -1, &keys_[at], size);
        }
        offsets_.push_back(keys_.size());
    }
    // Compares the keys of the rows at positions a and b (before sorting).
    int Compare(uint32_t a, uint32_t b) const {
        size_t lengthA = offsets_[a + 1] - offsets_[a], lengthB = offsets_[b + 1] - offsets_[b];
        int result = memcmp(keys_.data() + offsets_[a], keys_.data() + offsets_[b], std::min(lengthA, lengthB));
        if (result != 0) return result;
        return lengthA < lengthB ? -1 : (lengthA > lengthB ? 1 : 0);
    }

private:
    std::vector<char> keys_;
    std::vector<size_t> offsets_;
};

void SortByText(ListRows& rows, const EntryList& entries, int column, int sign) {
    SortKeys keys(rows, entries, column);
    std::vector<uint32_t> order(rows.size());
    for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return keys.Compare(a, b) * sign < 0; });
    ListRows sorted;
    sorted.reserve(rows.size());
    for (uint32_t position : order) sorted.push_back(rows[position]);
    rows.swap(sorted);
}

}  // namespace

void SortRows(ListRows& rows, const EntryList& entries, int column, int sign) {
    if (column < 0 || column >= ColumnCount || column == ColumnRatio) return;  // the ratio orders nothing
    if (IsTextColumn(column)) {
        SortByText(rows, entries, column, sign);
        return;
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const ListRow& a, const ListRow& b) {
        return CArchiveListDlg::CompareEntries(&entries[a.entry], &entries[b.entry], column) * sign < 0;
    });
}
