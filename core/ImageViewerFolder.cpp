#include "core/ImageViewerFolder.h"
#include <windows.h>
#include <vector>
#include "text/PathSize.h"
#include "text/WideText.h"

namespace {
// The value's text whole, or empty when it is no text.
std::wstring ReadText(HKEY key) {
    std::wstring name = Cp932ToWide(ImageViewerValue);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return L"";
    if (type != REG_SZ && type != REG_EXPAND_SZ) return L"";
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return L"";
    data[size / sizeof(wchar_t)] = L'\0';  // a stored value need not carry its terminator
    std::wstring text(data.data());
    if (type == REG_SZ) return text;
    DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0) return L"";
    std::vector<wchar_t> expanded(needed + 1, L'\0');
    if (ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed + 1) == 0) return L"";
    return expanded.data();
}
}  // namespace

bool ReadImageViewerFolder(std::wstring* folder) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ImageViewerKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    std::wstring text = ReadText(key);
    RegCloseKey(key);
    *folder = text.size() <= MaxWidePathLength ? text : std::wstring();
    return true;
}
