#include "listwin/EntryCells.h"
#include <windows.h>
#include <cstdio>
#include <cstring>
#include "core/Utility.h"
#include "extract/FileTimes.h"
#include "text/WideText.h"

namespace {

std::string SizeText(uint64_t value) {
    char text[40];
    CUtility().GroupDigits(value, text);
    return text;
}

std::string RatioText(const ListedEntry& entry) {
    char text[16];
    snprintf(text, sizeof text, "%d%%", PackingRatio(entry.packedSize, entry.unpackedSize));
    return text;
}

// Digits, separators and the method's Latin letters, as UTF-16.
std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace

int PackingRatio(uint64_t packedSize, uint64_t unpackedSize) {
    uint64_t divisor = unpackedSize ? unpackedSize : 1;
    if (packedSize >= divisor) return 100;
    // Two decimal digits of long division. packed * 100 may not fit 64 bits, so each digit
    // adds the remainder up ten times modulo the divisor and counts the wraps; no sum ever
    // exceeds the divisor.
    int ratio = 0;
    uint64_t remainder = packedSize;
    for (int digit = 0; digit < 2; ++digit) {
        int wraps = 0;
        uint64_t sum = 0;
        for (int i = 0; i < 10; ++i) {
            if (sum >= divisor - remainder) {
                sum -= divisor - remainder;
                ++wraps;
            } else {
                sum += remainder;
            }
        }
        ratio = ratio * 10 + wraps;
        remainder = sum;
    }
    return ratio;
}

std::string EntryTimeText(int64_t timestamp) {
    FILETIME utcFile;
    SYSTEMTIME utc, local;
    if (!TimestampToFileTime(timestamp, &utcFile) || !FileTimeToSystemTime(&utcFile, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return std::string();
    return TimeFieldsText(local);
}

std::string TimeFieldsText(const SYSTEMTIME& time) {
    char text[64];
    snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", time.wYear, time.wMonth, time.wDay, time.wHour,
             time.wMinute, time.wSecond);
    return text;
}

std::string MethodText(const ListedEntry& entry) { return EntryMethodText(entry); }

std::wstring CellText(const ListedEntry& entry, int column) {
    switch (column) {
    case ColumnFileName: return entry.fileName;
    case ColumnUnpackedSize: return Widened(SizeText(entry.unpackedSize));
    case ColumnPackedSize: return Widened(SizeText(entry.packedSize));
    case ColumnRatio: return Widened(RatioText(entry));
    case ColumnDate: return Widened(EntryTimeText(entry.timestamp));
    case ColumnMethod: return Cp932ToWide(MethodText(entry));
    case ColumnPath: return entry.path;
    default: return std::wstring();
    }
}

std::string SelectionStatusText(int selected, int total) {
    char text[64];
    snprintf(text, sizeof text, "選択数 %3d個  /  総数 %3d個 ", selected, total);
    return text;
}
