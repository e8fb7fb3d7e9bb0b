#pragma once
// Helpers shared by the list-window tests.
#include <windows.h>
#include <string>
#include <vector>

namespace listtest {

// The seconds since 1970 of a local date and time, through the time-zone conversion in the
// other direction.
inline int LocalTimestamp(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME local = {year, month, 0, day, hour, minute, second, 0}, utc;
    TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
    FILETIME file;
    SystemTimeToFileTime(&utc, &file);
    ULARGE_INTEGER ticks = {{file.dwLowDateTime, file.dwHighDateTime}};
    return static_cast<int>((ticks.QuadPart - 116444736000000000ULL) / 10000000ULL);
}

}  // namespace listtest
