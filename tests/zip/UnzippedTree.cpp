#include "tests/zip/UnzippedTree.h"
#include "tests/zip/ZipPluginLoader.h"

namespace {

void Collect(const std::string& root, const std::string& prefix, std::map<std::string, UnzippedItem>* items) {
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

std::map<std::string, UnzippedItem> UnzippedTree(const std::string& name) {
    std::map<std::string, UnzippedItem> items;
    Collect(Fixtures() + "expected\\" + name + "\\", "", &items);
    return items;
}
