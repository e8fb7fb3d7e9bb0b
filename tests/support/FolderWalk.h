#pragma once
// Walking folders, for every test that reads back what was written to disk.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// One name of a folder listing, with what the listing tells about it.
struct FoundName {
    std::string name;
    bool isFolder = false;
    DWORD attributes = 0;
    uint64_t size = 0;     // bytes
    FILETIME modified = {};
};

// The names in a folder (with or without a trailing '\') that match the pattern, without "."
// and "..", in the file system's order; empty when the folder cannot be listed.
std::vector<FoundName> ListFolder(const std::string& folder, const std::string& pattern = "*");
std::vector<std::string> NamesIn(const std::string& folder, const std::string& pattern = "*");

// Every file and folder below a folder by relative path, folders ending with '\', sorted.
std::vector<std::string> ListTree(const std::string& folder);
// The same through the wide functions, for names of every script and paths of any length: the
// relative paths in UTF-8, sorted by their bytes.
std::vector<std::string> ListTreeUtf8(const std::wstring& folder);

// Seconds since 1970-01-01 00:00:00 UTC.
int64_t UnixTime(const FILETIME& time);
// Of a file's last modification; -1 when it cannot be read.
int64_t ModificationTimestamp(const std::string& path);
// Sets a file's last modification; false when it cannot be set.
bool SetModificationTimestamp(const std::string& path, int64_t timestamp);

// The folder with a trailing '\' (an empty text stays empty).
std::string WithSeparator(const std::string& folder);

}  // namespace testsupport
