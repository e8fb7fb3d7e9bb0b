// Sorting the archive list by a column, each column with a direction of its own.
#include <cstring>
#include "framework/WaitCursor.h"
#include "listwin/ArchiveListDlg.h"

namespace {

template <typename T>
int CompareNumbers(T a, T b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

int CompareMethods(const ListedEntry* a, const ListedEntry* b) {
    return lstrcmpiA(MethodText(*a).c_str(), MethodText(*b).c_str());
}

}  // namespace

void CArchiveListDlg::SortByColumn(int column) {
    if (column < 0 || column >= ColumnCount) return;
    CWaitCursor wait;
    int sign = sortDirection[column];
    sortDirection[column] = -sign;
    list.SortRows(column, sign);
}

int CArchiveListDlg::CompareEntries(const ListedEntry* a, const ListedEntry* b, int column) {
    switch (column) {
    case ColumnFileName: return lstrcmpiW(a->fileName, b->fileName);
    case ColumnUnpackedSize: return CompareNumbers(a->unpackedSize, b->unpackedSize);
    case ColumnPackedSize: return CompareNumbers(a->packedSize, b->packedSize);
    case ColumnDate: return CompareNumbers(a->timestamp, b->timestamp);
    case ColumnMethod: return CompareMethods(a, b);
    case ColumnPath: return lstrcmpiW(a->path, b->path);
    default: return 0;  // the ratio, and anything else, orders nothing
    }
}
