#include "tests/support/FolderWalk.h"
#include <algorithm>

namespace testsupport {

namespace {
void ListInto(const std::string& root, const std::string& relative, std::vector<std::string>* all) {
    for (const FoundName& found : ListFolder(root + relative)) {
        std::string path = relative + found.name;
        if (found.isFolder) {
            all->push_back(path + "\\");
            ListInto(root, path + "\\", all);
        } else {
            all->push_back(path);
        }
    }
}
}  // namespace

std::string WithSeparator(const std::string& folder) {
    return folder.empty() || folder.back() == '\\' || folder.back() == '/' ? folder : folder + "\\";
}

std::vector<FoundName> ListFolder(const std::string& folder, const std::string& pattern) {
    std::vector<FoundName> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((WithSeparator(folder) + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        FoundName entry;
        entry.name = name;
        entry.attributes = found.dwFileAttributes;
        entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.size = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        entry.modified = found.ftLastWriteTime;
        names.push_back(entry);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::vector<std::string> NamesIn(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    for (const FoundName& found : ListFolder(folder, pattern)) names.push_back(found.name);
    return names;
}

std::vector<std::string> ListTree(const std::string& folder) {
    std::vector<std::string> all;
    ListInto(WithSeparator(folder), "", &all);
    std::sort(all.begin(), all.end());
    return all;
}

namespace {
std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

void ListWideInto(const std::wstring& root, const std::wstring& relative, std::vector<std::string>* all) {
    WIN32_FIND_DATAW found;
    std::wstring base = L"\\\\?\\" + root + relative;
    HANDLE search = FindFirstFileW((base + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        all->push_back(Utf8(relative + name + (folder ? L"\\" : L"")));
        if (folder) ListWideInto(root, relative + name + L"\\", all);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}
}  // namespace

std::vector<std::string> ListTreeUtf8(const std::wstring& folder) {
    std::vector<std::string> all;
    std::wstring root = folder;
    if (!root.empty() && root.back() != L'\\') root += L'\\';
    ListWideInto(root, L"", &all);
    std::sort(all.begin(), all.end());
    return all;
}

int64_t UnixTime(const FILETIME& time) {
    uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<int64_t>(ticks / 10000000ULL) - 11644473600LL;
}

int64_t ModificationTimestamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return UnixTime(data.ftLastWriteTime);
}

bool SetModificationTimestamp(const std::string& path, int64_t timestamp) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    uint64_t ticks = static_cast<uint64_t>(timestamp + 11644473600LL) * 10000000ULL;
    FILETIME time = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    bool ok = SetFileTime(file, nullptr, nullptr, &time) != FALSE;
    CloseHandle(file);
    return ok;
}

}  // namespace testsupport
