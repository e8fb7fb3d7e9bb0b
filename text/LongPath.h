#pragma once
// Paths of any length for the wide file functions: a path of MAX_PATH characters or more
// reaches the file system only in its extended form ("\\?\C:\..." or "\\?\UNC\server\...").
#include <string>

// The longest plain path every file function takes: a folder made by CreateDirectoryW must
// leave room for an 8.3 name within MAX_PATH (260 with the terminator), so 247 characters.
constexpr size_t PlainPathLimit = 248;

// The path as the file functions take it: as it is when shorter than PlainPathLimit or already
// extended; otherwise made absolute (GetFullPathNameW, which also turns '/' into '\' and takes
// out "." and ".." parts) and extended. A path that cannot be made absolute stays as it is.
std::wstring ExtendedPath(const std::wstring& path);

// Whether the path is in the extended form already.
bool IsExtendedPath(const std::wstring& path);
