#include "extract/PluginFileOutput.h"
#include <windows.h>
#include <cwchar>
#include "core/Utility.h"
#include "text/LongPath.h"
#include "text/WidePath.h"

namespace {
constexpr int WorkFolderAttempts = 100;

// A folder of a name of its own beside a path, removed with whatever is in it when the object
// goes. Empty when none could be made.
class WorkFolder {
public:
    explicit WorkFolder(const std::wstring& beside) {
        std::wstring parent = widepath::Folder(beside);
        for (int attempt = 0; attempt < WorkFolderAttempts; ++attempt) {
            wchar_t name[40];
            swprintf(name, sizeof name / sizeof name[0], L"~vw%lx_%d.tmp", GetCurrentProcessId(), attempt);
            std::wstring candidate = parent + name;
            if (CreateDirectoryW(ExtendedPath(candidate).c_str(), nullptr)) {
                path_ = candidate;
                return;
            }
            if (GetLastError() != ERROR_ALREADY_EXISTS) return;
        }
    }
    ~WorkFolder() {
        if (path_.empty()) return;
        CUtility().DeleteFiles(path_, L"*", 1, 0);
        RemoveDirectoryW(ExtendedPath(path_).c_str());
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

// The one file the plug-in wrote into the folder, of the entry's size; empty when there is
// not exactly one such file.
std::wstring WrittenFile(const std::wstring& folder, uint64_t size) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(ExtendedPath(folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::wstring();
    std::wstring file;
    int files = 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0) ++files;
            continue;
        }
        ++files;
        uint64_t foundSize = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        if (foundSize == size) file = folder + L"\\" + found.cFileName;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return files == 1 ? file : std::wstring();
}
}  // namespace

PluginFileEnd WriteThroughPlugin(const ListedArchive& archive, const ListedEntry& entry, const std::wstring& path,
                                 const OutputFileState& existing, int64_t timestamp, EntryProgress* progress,
                                 int* pluginCode) {
    WorkFolder work(path);
    if (work.Path().empty()) return PluginFileEnd::NotWritten;
    PluginResult result = archive.host->UnpackEntryInto(archive, entry, work.Path(), progress);
    if (result == FileOutputNotOffered) return PluginFileEnd::NotOffered;
    if (result == PluginSucceeded) {
        std::wstring written = WrittenFile(work.Path(), entry.unpackedSize);
        if (written.empty()) result = EntryNotUnpacked;  // a file cut short, or none at all
        else if (!PutFileInPlace(written, path, existing, timestamp)) return PluginFileEnd::NotWritten;
    }
    if (result != PluginSucceeded) {
        if (pluginCode) *pluginCode = result;
        return PluginFileEnd::NotFetched;
    }
    return PluginFileEnd::Written;
}
