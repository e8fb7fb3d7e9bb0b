#include "tests/support/WideFiles.h"
#include <windows.h>
#include <algorithm>

namespace testsupport {

std::wstring WidePath(const std::string& path) {
    int length = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0], length);
    return wide;
}

namespace {

std::string Narrow(const std::wstring& text, UINT codePage) {
    int size = static_cast<int>(text.size());
    int length = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    if (length > 0) WideCharToMultiByte(codePage, 0, text.data(), size, &narrow[0], length, nullptr, nullptr);
    return narrow;
}

}  // namespace

std::string AnsiPath(const std::wstring& path) { return Narrow(path, CP_ACP); }

std::wstring LongForm(const std::wstring& path) {
    bool absolute = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
    if (!absolute) return path;
    std::wstring form = L"\\\\?\\" + path;
    std::replace(form.begin(), form.end(), L'/', L'\\');
    return form;
}

bool MakeFolders(const std::wstring& path) {
    std::wstring whole = LongForm(path);
    for (size_t at = whole.find(L'\\', 7); at != std::wstring::npos; at = whole.find(L'\\', at + 1))
        CreateDirectoryW(whole.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(whole.c_str(), nullptr);
    DWORD attributes = GetFileAttributesW(whole.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteWideFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    return CloseHandle(file) && ok;
}

std::string ReadWideFile(const std::wstring& path) {
    HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string data;
    char chunk[65536];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) data.append(chunk, read);
    CloseHandle(file);
    return data;
}

std::vector<std::wstring> WideNamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((LongForm(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveWideTree(const std::wstring& folder) {
    std::wstring base = LongForm(folder);
    while (!base.empty() && base.back() == L'\\') base.pop_back();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((base + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = base + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveWideTree(full);
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(base.c_str());
}

std::string Utf8(const std::wstring& text) { return Narrow(text, CP_UTF8); }

}  // namespace testsupport
