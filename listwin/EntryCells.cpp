#include "listwin/EntryCells.h"
#include <windows.h>
#include <cstdio>
#include <cstring>
#include "app/Utility.h"
#include "extract/FileTimes.h"

namespace {

std::string SizeText(uint64_t value) {
    char text[40];
    CUtility().GroupDigits(value, text);
    return text;
}

std::string RatioText(const ArchiveEntry& entry) {
    char text[16];
    snprintf(text, sizeof text, "%d%%", PackingRatio(entry.packedSize, entry.unpackedSize));
    return text;
}

std::string BoundedText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

}  // namespace

int PackingRatio(uint64_t packedSize, uint64_t unpackedSize) {
    uint64_t divisor = unpackedSize ? unpackedSize : 1;
    if (packedSize >= divisor) return 100;
    // packed * 100 must not overflow; sizes this large lose only digits far below a percent.
    while (packedSize > UINT64_MAX / 100) {
        packedSize >>= 1;
        divisor >>= 1;
    }
    return static_cast<int>(packedSize * 100 / divisor);
}

std::string EntryTimeText(int64_t timestamp) {
    FILETIME utcFile;
    SYSTEMTIME utc, local;
    if (!TimestampToFileTime(timestamp, &utcFile) || !FileTimeToSystemTime(&utcFile, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return std::string();
    char text[64];
    snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", local.wYear, local.wMonth, local.wDay,
             local.wHour, local.wMinute, local.wSecond);
    return text;
}

std::string MethodText(const ArchiveEntry& entry) {
    return BoundedText(reinterpret_cast<const char*>(entry.method), sizeof entry.method);
}

std::string CellText(const ArchiveEntry& entry, int column) {
    switch (column) {
    case ColumnFileName: return BoundedText(entry.fileName, sizeof entry.fileName);
    case ColumnUnpackedSize: return SizeText(entry.unpackedSize);
    case ColumnPackedSize: return SizeText(entry.packedSize);
    case ColumnRatio: return RatioText(entry);
    case ColumnDate: return EntryTimeText(entry.timestamp);
    case ColumnMethod: return MethodText(entry);
    case ColumnPath: return BoundedText(entry.path, sizeof entry.path);
    default: return std::string();
    }
}

std::string SelectionStatusText(int selected, int total) {
    char text[64];
    snprintf(text, sizeof text, "選択数 %3d個  /  総数 %3d個 ", selected, total);
    return text;
}
