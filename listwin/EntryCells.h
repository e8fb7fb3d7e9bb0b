#pragma once
// What the archive list shows in each cell of an entry's row.
#include <cstddef>
#include <cstdint>
#include <windows.h>
#include <string>
#include "plugins/EntryList.h"

// The list's seven columns, in display order.
enum ListColumn {
    ColumnFileName,
    ColumnUnpackedSize,
    ColumnPackedSize,
    ColumnRatio,
    ColumnDate,
    ColumnMethod,
    ColumnPath,
    ColumnCount
};

// packedSize * 100 / unpackedSize, rounded down and at most 100; an unpacked size of 0
// counts as 1.
int PackingRatio(uint64_t packedSize, uint64_t unpackedSize);

// "2002/05/01 13:05:00" in local time; empty when the time cannot be converted.
std::string EntryTimeText(int64_t timestamp);

// "2002/05/01 13:05:00" for these date and time fields, as they are.
std::string TimeFieldsText(const SYSTEMTIME& time);

// The method field: at most its 8 bytes, up to the first zero byte.
std::string MethodText(const ListedEntry& entry);

// The text of any cell of an entry's row (the file name for column 0).
std::wstring CellText(const ListedEntry& entry, int column);

// The selection count shown below the list.
std::string SelectionStatusText(int selected, int total);
