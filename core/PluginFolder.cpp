#include "core/PluginFolder.h"
#include <windows.h>
#include "core/SettingIO.h"
#include "core/Utility.h"
#include "text/PathSize.h"

namespace {
constexpr char BundledFolderName[] = "plugins";
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

std::string PluginFolderInUse() {
    char configured[PathSize];
    CSettingIO().Read(profile::SpiFold, configured);
    return configured[0] ? configured : BundledPluginFolder();
}
