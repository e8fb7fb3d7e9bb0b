#include "plugins/PluginPath.h"
#include <windows.h>
#include "text/LongPath.h"
#include "text/PathSize.h"
#include "text/WideText.h"

namespace {
std::string FittingCp932(const std::wstring& path) {
    std::string text;
    if (!WideToCp932(path, &text) || text.size() > PathSize - 1) return std::string();
    return text;
}

std::wstring ShortPath(const std::wstring& path) {
    std::wstring extended = ExtendedPath(path);
    DWORD size = GetShortPathNameW(extended.c_str(), nullptr, 0);
    if (size == 0) return std::wstring();
    std::wstring shortPath(size, L'\0');
    DWORD length = GetShortPathNameW(extended.c_str(), &shortPath[0], size);
    if (length == 0 || length >= size) return std::wstring();
    shortPath.resize(length);
    if (shortPath.compare(0, 8, L"\\\\?\\UNC\\") == 0) return L"\\\\" + shortPath.substr(8);
    if (IsExtendedPath(shortPath)) return shortPath.substr(4);
    return shortPath;
}
}  // namespace

std::string AnsiPluginPath(const std::wstring& path) {
    std::string exact = FittingCp932(path);
    if (!exact.empty() || path.empty()) return exact;
    return FittingCp932(ShortPath(path));
}
