#include "core/ImageViewerFolder.h"
#include <windows.h>
#include <vector>
#include "core/SettingIO.h"
#include "text/PathSize.h"

namespace {
// The value's text whole, or empty when it is no text.
std::string ReadText(HKEY key) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, ImageViewerValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return "";
    if (type != REG_SZ && type != REG_EXPAND_SZ) return "";
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(key, ImageViewerValue, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return "";
    std::string text(data.data());  // a stored value need not carry its terminator
    if (type == REG_SZ) return text;
    DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0) return "";
    std::vector<char> expanded(needed + 1, '\0');
    if (ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed + 1) == 0) return "";
    return expanded.data();
}
}  // namespace

bool ReadImageViewerFolder(std::string* folder) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ImageViewerKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    std::string text = ReadText(key);
    RegCloseKey(key);
    *folder = text.size() < PathSize ? text : std::string();
    return true;
}
