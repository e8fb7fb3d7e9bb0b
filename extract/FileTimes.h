#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

// An entry timestamp (seconds since 1970-01-01 00:00:00 UTC) as a file time.
FILETIME TimestampToFileTime(int32_t timestamp);

// "YYYY/MM/DD hh:mm:ss" in local time.
std::string LocalTimeText(const FILETIME& utc);
std::string TimestampText(int32_t timestamp);

// Sets a file's last-modification time, leaving its other times and attributes alone.
bool SetModificationTime(const char* path, int32_t timestamp);
