// Folders and device names of UTF-16 paths.
#include <string>
#include "core/Utility.h"
#include "text/LongPath.h"
#include "text/WidePath.h"

namespace {
using widepath::IsSeparator;

// Where the first separator at or after i stands, or the length of the path.
size_t SeparatorFrom(const std::wstring& path, size_t i) {
    while (i < path.size() && !IsSeparator(path[i])) ++i;
    return i;
}

// The length of "\\server\share\" at the start of the path, from its second separator on.
size_t ShareLength(const std::wstring& path, size_t serverStart) {
    size_t server = SeparatorFrom(path, serverStart);
    size_t share = SeparatorFrom(path, server + 1);
    return share < path.size() ? share + 1 : path.size();
}

// The length of the part of a path that names no folder to make.
size_t RootLength(const std::wstring& path) {
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) return ShareLength(path, 8);
    if (IsExtendedPath(path)) return 4 + RootLength(path.substr(4));
    if (path.size() >= 2 && path[1] == L':') return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return ShareLength(path, 2);
    return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring UpperAscii(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return text;
}
}  // namespace

std::vector<std::wstring> FolderPrefixes(const std::wstring& path) {
    std::vector<std::wstring> folders;
    size_t partStart = RootLength(path);
    for (size_t i = partStart; i < path.size(); ++i) {
        if (!IsSeparator(path[i])) continue;
        if (i > partStart) folders.push_back(path.substr(0, i + 1));
        partStart = i + 1;
    }
    if (partStart < path.size()) folders.push_back(path);
    return folders;
}

bool IsDeviceName(const std::wstring& name) {
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    stem = UpperAscii(stem);
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (stem == device) return true;
    bool port = stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0;
    if (!port || stem.size() != 4) return false;
    wchar_t digit = stem[3];
    return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
}

int CUtility::MakeFolders(const std::wstring& path) {
    if (IsFolder(path)) return 1;
    if (CreateDirectoryW(ExtendedPath(path).c_str(), nullptr)) return 1;
    int failures = 0;
    for (const std::wstring& folder : FolderPrefixes(path)) {
        if (IsFolder(folder)) continue;
        if (!CreateDirectoryW(ExtendedPath(folder).c_str(), nullptr) && ++failures >= 4) return 0;
    }
    return IsFolder(path) ? 1 : 0;
}

std::wstring StoredName(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(ExtendedPath(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return path;
    FindClose(search);
    return widepath::Folder(path) + found.cFileName;
}

int CUtility::DeleteFiles(const std::wstring& folder, const wchar_t* pattern, int recurse, int count) {
    std::wstring base = widepath::WithSeparator(folder);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(ExtendedPath(base + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return count;
    do {
        if (found.cFileName[0] == L'.') continue;
        std::wstring full = base + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (recurse == 1) {
                count = DeleteFiles(full, pattern, recurse, count);
                RemoveDirectoryW(ExtendedPath(full).c_str());
            }
        } else if (DeleteFileW(ExtendedPath(full).c_str())) {
            ++count;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}
