#pragma once
// What a reference tool (unzip, 7z, tar) extracted at build time, read back for comparison.
#include <windows.h>
#include <cstdint>
#include <map>
#include <string>

namespace testsupport {

struct ExtractedItem {
    std::string fullPath;
    bool isFolder = false;
    int64_t modified = 0;  // seconds since 1970 UTC
};

// Seconds since 1970 UTC of a FILETIME.
int64_t UnixTime(const FILETIME& time);
// The last write time of a file in seconds since 1970 UTC; -1 when it cannot be read.
int64_t FileModified(const std::string& path);

// Everything below `root` (with a trailing '\'), by joined entry name ("tree\docs\" for a folder).
std::map<std::string, ExtractedItem> ExtractedTree(const std::string& root);

}  // namespace testsupport
