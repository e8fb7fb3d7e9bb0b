#include "core/PluginFolder.h"
#include <windows.h>
#include "core/ProgramPath.h"
#include "core/SettingIO.h"
#include "text/WidePath.h"
#include "text/WideText.h"

namespace {

constexpr wchar_t BundledFolderName[] = L"plugins";

// Whether the folder holds a file named *.<extension> (a folder of that name does not count).
bool HoldsPluginFile(const std::wstring& folder, const char* extension) {
    std::wstring pattern = folder + (widepath::EndsWithSeparator(folder) ? L"*." : L"\\*.") + Cp932ToWide(extension);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool file = false;
    do {
        file = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    } while (!file && FindNextFileW(search, &found));
    FindClose(search);
    return file;
}

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::wstring BundledPluginFolder() {
    std::wstring program = ProgramPath();
    if (program.empty()) return std::wstring();
    std::wstring bundled = widepath::Folder(program) + BundledFolderName;
    return IsFolder(bundled) ? bundled : std::wstring();
}

std::wstring PluginFolderInUse(const char* pluginExtension) {
    std::wstring configured = CSettingIO().Read(profile::SpiFold);
    if (!configured.empty() && HoldsPluginFile(configured, pluginExtension)) return configured;
    std::wstring bundled = BundledPluginFolder();
    return bundled.empty() ? configured : bundled;
}
