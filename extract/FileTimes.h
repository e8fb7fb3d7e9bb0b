#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

// An entry timestamp (seconds since 1970-01-01 00:00:00 UTC) as a file time; false for a
// time that no file time holds (before 1601, or tens of thousands of years ahead), which
// only the 64-bit record can carry.
bool TimestampToFileTime(int64_t timestamp, FILETIME* time);

// "YYYY/MM/DD hh:mm:ss" in local time.
std::string LocalTimeText(const FILETIME& utc);
// Empty for a timestamp without a file time.
std::string TimestampText(int64_t timestamp);
