#pragma once
// What unzip made of an archive at build time, read back for comparison.
#include <windows.h>
#include <cstdint>
#include <map>
#include <string>

struct UnzippedItem {
    std::string fullPath;
    bool isFolder;
    int64_t modified;  // seconds since 1970 UTC
};

int64_t UnixTime(const FILETIME& time);

// Everything under Fixtures()\expected\<name>\, by joined entry name ("tree\docs\" for a folder).
std::map<std::string, UnzippedItem> UnzippedTree(const std::string& name);
