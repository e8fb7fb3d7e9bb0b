#include "text/LongPath.h"
#include <windows.h>

bool IsExtendedPath(const std::wstring& path) { return path.compare(0, 4, L"\\\\?\\") == 0; }

std::wstring ExtendedPath(const std::wstring& path) {
    if (path.size() < PlainPathLimit || IsExtendedPath(path)) return path;
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}
