#include "core/PluginFolder.h"
#include <windows.h>
#include "core/SettingIO.h"
#include "core/Utility.h"
#include "text/Cp932.h"
#include "text/PathSize.h"

namespace {

constexpr char BundledFolderName[] = "plugins";

// Whether the folder holds a file named *.<extension> (a folder of that name does not count).
bool HoldsPluginFile(const std::string& folder, const char* extension) {
    std::string pattern = folder + (cp932::EndsWithSeparator(folder) ? "*." : "\\*.") + extension;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool file = false;
    do {
        file = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    } while (!file && FindNextFileA(search, &found));
    FindClose(search);
    return file;
}

}  // namespace

std::string BundledPluginFolder() {
    char program[PathSize] = {};
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program) return std::string();
    char folder[PathSize];
    CUtility utility;
    utility.SplitPath(PathPart::DriveAndFolder, program, folder);
    std::string bundled = std::string(folder) + BundledFolderName;
    if (bundled.size() >= PathSize || utility.PathKind(bundled.c_str()) != PathType::Folder) return std::string();
    return bundled;
}

std::string PluginFolderInUse(const char* pluginExtension) {
    char configured[PathSize];
    CSettingIO().Read(profile::SpiFold, configured);
    if (configured[0] && HoldsPluginFile(configured, pluginExtension)) return configured;
    std::string bundled = BundledPluginFolder();
    return bundled.empty() ? configured : bundled;
}
