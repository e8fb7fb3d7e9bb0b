#include "extract/FileTimes.h"
#include <cstdio>

namespace {
constexpr int64_t TicksPerSecond = 10000000;
constexpr int64_t SecondsFrom1601To1970 = 11644473600LL;
}  // namespace

FILETIME TimestampToFileTime(int32_t timestamp) {
    uint64_t ticks = static_cast<uint64_t>((timestamp + SecondsFrom1601To1970) * TicksPerSecond);
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

std::string LocalTimeText(const FILETIME& utc) {
    SYSTEMTIME universal = {}, local = {};
    if (!FileTimeToSystemTime(&utc, &universal)) return std::string();
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) local = universal;
    char text[64];
    snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", local.wYear, local.wMonth, local.wDay,
             local.wHour, local.wMinute, local.wSecond);
    return text;
}

std::string TimestampText(int32_t timestamp) { return LocalTimeText(TimestampToFileTime(timestamp)); }

bool SetModificationTime(const char* path, int32_t timestamp) {
    HANDLE file = CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME modified = TimestampToFileTime(timestamp);
    bool set = SetFileTime(file, nullptr, nullptr, &modified) != FALSE;
    CloseHandle(file);
    return set;
}
