#include "listwin/ListRows.h"
#include <windows.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include "listwin/ArchiveListDlg.h"
#include "listwin/EntryCells.h"

namespace {

// The text a text column compares, read no further than its field.
std::wstring SortedText(const ListedEntry& entry, int column) {
    switch (column) {
    case ColumnFileName: return entry.fileName;
    case ColumnMethod: return CellText(entry, ColumnMethod);
    default: return entry.path;
    }
}

bool IsTextColumn(int column) { return column == ColumnFileName || column == ColumnMethod || column == ColumnPath; }

// The case-insensitive sort keys of the rows' texts, in one block. The locale's sort key
// orders two texts as the case-insensitive comparison of the same locale does, so a sort
// compares each pair with memcmp instead of converting both texts again for every comparison
// (seconds for a quarter of a million rows). Folders and methods repeat from row to row: each
// distinct text gets its key once.
class SortKeys {
public:
    SortKeys(const ListRows& rows, const EntryList& entries, int column) {
        spans_.reserve(rows.size());
        bool repeating = column != ColumnFileName;
        std::unordered_map<std::wstring, Span> known;
        for (const ListRow& row : rows) {
            std::wstring text = SortedText(entries[row.entry], column);
            if (repeating) {
                auto found = known.find(text);
                if (found != known.end()) {
                    spans_.push_back(found->second);
                    continue;
                }
            }
            spans_.push_back(AddKey(text));
            if (repeating) known.emplace(std::move(text), spans_.back());
        }
    }
    // Compares the keys of the rows at positions a and b (before sorting).
    int Compare(uint32_t a, uint32_t b) const {
        const Span& first = spans_[a];
        const Span& second = spans_[b];
        int result = memcmp(keys_.data() + first.offset, keys_.data() + second.offset,
                            std::min(first.length, second.length));
        if (result != 0) return result;
        return first.length < second.length ? -1 : (first.length > second.length ? 1 : 0);
    }

private:
    struct Span {
        size_t offset;
        size_t length;
    };

    Span AddKey(const std::wstring& text) {
        LCID locale = GetThreadLocale();
        Span span = {keys_.size(), 0};
        int size = LCMapStringW(locale, LCMAP_SORTKEY | NORM_IGNORECASE, text.c_str(), -1, nullptr, 0);
        if (size <= 0) return span;
        keys_.resize(span.offset + static_cast<size_t>(size));
        // A sort key is bytes, handed back through the wide function's buffer.
        LCMapStringW(locale, LCMAP_SORTKEY | NORM_IGNORECASE, text.c_str(), -1,
                     reinterpret_cast<wchar_t*>(&keys_[span.offset]), size);
        span.length = static_cast<size_t>(size);
        return span;
    }

    std::vector<char> keys_;
    std::vector<Span> spans_;
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
