#include "tests/support/ExtractedTree.h"

namespace testsupport {
namespace {

void Collect(const std::string& root, const std::string& prefix, std::map<std::string, ExtractedItem>* items) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((root + prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        std::string joined = prefix + name + (isFolder ? "\\" : "");
        (*items)[joined] = {root + joined, isFolder, UnixTime(found.ftLastWriteTime)};
        if (isFolder) Collect(root, joined, items);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

int64_t UnixTime(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<int64_t>(value.QuadPart / 10000000) - 11644473600LL;
}

int64_t FileModified(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return UnixTime(data.ftLastWriteTime);
}

std::map<std::string, ExtractedItem> ExtractedTree(const std::string& root) {
    std::map<std::string, ExtractedItem> items;
    Collect(root, "", &items);
    return items;
}

}  // namespace testsupport
