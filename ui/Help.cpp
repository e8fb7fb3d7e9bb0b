#include "ui/Help.h"
#include <shellapi.h>
#include <string>
#include "core/ProgramPath.h"
#include "framework/MessageBox.h"
#include "text/LongPath.h"
#include "text/WidePath.h"
#include "text/WideText.h"

namespace {

constexpr wchar_t HelpFileName[] = L"Varnito.chm";
constexpr char MissingHelpText[] = "ヘルプファイル（Varnito.chm）が見つかりません。\n探した場所：";

// The help file's full path beside the program, of any length; empty when the program's own
// path cannot be had.
std::wstring HelpFilePath() {
    std::wstring program = ProgramPath();
    return program.empty() ? std::wstring() : widepath::Folder(program) + HelpFileName;
}

bool IsFile(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::wstring PathTheShellTakes(const std::wstring& path) {
    if (path.size() < MAX_PATH) return path;
    std::wstring shortPath(32768, L'\0');
    DWORD length = GetShortPathNameW(ExtendedPath(path).c_str(), &shortPath[0], static_cast<DWORD>(shortPath.size()));
    if (length == 0 || length >= shortPath.size()) return path;
    shortPath.resize(length);
    if (shortPath.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        shortPath = L"\\\\" + shortPath.substr(8);
    else if (IsExtendedPath(shortPath))
        shortPath.erase(0, 4);
    return shortPath.size() < MAX_PATH ? shortPath : path;
}

void OpenHelpFile(HWND owner) {
    std::wstring path = HelpFilePath();
    if (path.empty() || !IsFile(path)) {
        AppMessageBox(owner, (MissingHelpText + WideToCp932Shown(path)).c_str());
        return;
    }
    ShellExecuteW(owner, L"open", PathTheShellTakes(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
