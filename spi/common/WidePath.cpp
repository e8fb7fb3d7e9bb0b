#include "spi/common/WidePath.h"
#include <windows.h>
#include <cwchar>

std::wstring LongPathForm(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0) return path;
    DWORD room = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (room == 0) return path;
    std::wstring full(room, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), room, &full[0], nullptr);
    if (length == 0 || length >= room) return path;
    full.resize(length);
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

bool PathExists(const std::wstring& path) {
    return GetFileAttributesW(LongPathForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring FileNameOf(const wchar_t* path, bool dropExtension) {
    if (!path) return std::wstring();
    std::wstring whole = path;
    size_t separator = whole.find_last_of(L"\\/:");
    std::wstring name = separator == std::wstring::npos ? whole : whole.substr(separator + 1);
    size_t dot = name.rfind(L'.');
    if (dropExtension && dot != std::wstring::npos && dot > 0) name.erase(dot);
    return name;
}
