#include "core/ProgramPath.h"
#include <windows.h>
#include "text/PathSize.h"

std::wstring ProgramPath() {
    std::wstring path(MaxWidePathLength + 1, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(length < path.size() ? length : 0);
    return path;
}
