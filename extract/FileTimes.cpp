#include "extract/FileTimes.h"
#include <cstdio>

namespace {
constexpr int64_t TicksPerSecond = 10000000;
constexpr int64_t SecondsFrom1601To1970 = 11644473600LL;
}  // namespace

bool TimestampToFileTime(int64_t timestamp, FILETIME* time) {
    // File times are tick counts from 1601 below 2^63.
    constexpr int64_t Earliest = -SecondsFrom1601To1970;
    constexpr int64_t Latest = INT64_MAX / TicksPerSecond - SecondsFrom1601To1970;
    if (timestamp < Earliest || timestamp > Latest) return false;
    uint64_t ticks = static_cast<uint64_t>((timestamp + SecondsFrom1601To1970) * TicksPerSecond);
    time->dwLowDateTime = static_cast<DWORD>(ticks);
    time->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return true;
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

std::string TimestampText(int64_t timestamp) {
    FILETIME time;
    return TimestampToFileTime(timestamp, &time) ? LocalTimeText(time) : std::string();
}
