#include <cstdio>
#include <cstring>
#include <string>
#include "core/Utility.h"

int CUtility::StoredName(char* path, size_t pathSize) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FindClose(search);
    char folder[PathSize];
    SplitPath(PathPart::DriveAndFolder, path, folder, sizeof folder);
    std::string stored = std::string(folder) + found.cFileName;
    if (stored.size() >= pathSize) return 0;  // would not fit: keep the path as given
    memcpy(path, stored.c_str(), stored.size() + 1);
    return 1;
}

PathType CUtility::PathKind(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathType::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathType::Folder : PathType::File;
}

long long CUtility::FileSize(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !*path || !GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int CUtility::MakeFolders(const char* path) {
    if (PathKind(path) == PathType::Folder) return 1;
    if (CreateDirectoryA(path, nullptr)) return 1;

    int failures = 0;
    for (const std::string& folder : FolderPrefixes(path)) {
        if (PathKind(folder.c_str()) == PathType::Folder) continue;
        if (!CreateDirectoryA(folder.c_str(), nullptr) && ++failures >= 4) return 0;
    }
    return PathKind(path) == PathType::Folder ? 1 : 0;
}

int CUtility::DeleteFiles(const char* folder, const char* pattern, int recurse, int count) {
    std::string base = folder;
    if (base.empty() || (base.back() != '/' && base.back() != '\\')) base += '/';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((base + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return count;
    do {
        if (found.cFileName[0] == '.') continue;
        std::string full = base + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (recurse == 1) {
                count = DeleteFiles(full.c_str(), pattern, recurse, count);
                RemoveDirectoryA(full.c_str());
            }
        } else if (DeleteFileA(full.c_str())) {
            ++count;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}
