// Sorting the archive list by a column, each column with a direction of its own.
#include <cstring>
#include "framework/WaitCursor.h"
#include "listwin/ArchiveListDlg.h"

namespace {

struct SortOrder {
    int column;
    int sign;  // +1 ascending, -1 descending
};

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM order) {
    const SortOrder* sort = reinterpret_cast<const SortOrder*>(order);
    return CArchiveListDlg::CompareEntries(reinterpret_cast<const ArchiveEntry*>(first),
                                           reinterpret_cast<const ArchiveEntry*>(second), sort->column) *
           sort->sign;
}

template <typename T>
int CompareNumbers(T a, T b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

int CompareMethods(const ArchiveEntry* a, const ArchiveEntry* b) {
    return lstrcmpiA(MethodText(*a).c_str(), MethodText(*b).c_str());
}

}  // namespace

void CArchiveListDlg::SortByColumn(int column) {
    if (column < 0 || column >= ColumnCount) return;
    CWaitCursor wait;
    SortOrder order = {column, sortDirection[column]};
    sortDirection[column] = -order.sign;
    list.SortItems(CompareRows, reinterpret_cast<DWORD_PTR>(&order));
}

int CArchiveListDlg::CompareEntries(const ArchiveEntry* a, const ArchiveEntry* b, int column) {
    switch (column) {
    case ColumnFileName: return lstrcmpiA(a->fileName, b->fileName);
    case ColumnUnpackedSize: return CompareNumbers(a->unpackedSize, b->unpackedSize);
    case ColumnPackedSize: return CompareNumbers(a->packedSize, b->packedSize);
    case ColumnDate: return CompareNumbers(a->timestamp, b->timestamp);
    case ColumnMethod: return CompareMethods(a, b);
    case ColumnPath: return lstrcmpiA(a->path, b->path);
    default: return 0;  // the ratio, and anything else, orders nothing
    }
}
