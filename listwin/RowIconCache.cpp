#include "listwin/RowIconCache.h"
#include <shellapi.h>
#include <algorithm>
#include <cstdio>
#include "listwin/WorkFile.h"
#include "text/LongPath.h"

std::wstring FileSystemExtension(const std::wstring& fileName) {
    std::wstring name = fileName;
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
    size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : name.substr(dot + 1);
}

CRowIconCache::CRowIconCache(HIMAGELIST images, const std::wstring& workFolder)
    : images_(images), workFolder_(workFolder) {}

int CRowIconCache::ImageFor(const std::wstring& fileName) {
    // Names that point elsewhere get the default icon: no file is made for them at all.
    if (workFolder_.empty() || !IsPlainFileName(fileName)) return 0;
    std::wstring extension = FileSystemExtension(fileName);
    auto known = imageByExtension_.find(extension);
    if (known != imageByExtension_.end()) return known->second;

    bool reliable = false;
    int image = ProbeExtension(extension, &reliable);
    if (reliable) imageByExtension_.emplace(extension, image);
    return image;
}

// Asks the shell for the icon of a new empty file with the extension. The probe file has a
// name of its own, made with CREATE_NEW, so no file already in the work folder (an entry
// another window of the same archive name is viewing, say) is ever truncated or deleted.
// *reliable is false when no probe file could be made, so the answer says nothing about the type.
int CRowIconCache::ProbeExtension(const std::wstring& extension, bool* reliable) {
    // A folder made for the probe goes again after it; one that holds other files stays.
    std::wstring folder = ExtendedPath(workFolder_);
    bool madeFolder = CreateDirectoryW(folder.c_str(), nullptr) != FALSE;
    int image = ProbeInFolder(extension, reliable);
    if (madeFolder) RemoveDirectoryW(folder.c_str());
    return image;
}

int CRowIconCache::ProbeInFolder(const std::wstring& extension, bool* reliable) {
    std::wstring probe;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[40];
        swprintf(name, sizeof name / sizeof name[0], L"~vprobe%lu_%d", GetCurrentProcessId(), attempt);
        probe = workFolder_ + name + (extension.empty() ? L"" : L".") + extension;
        if (probe.size() >= MAX_PATH) return 0;  // the shell's icon look-up takes no longer path
        HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            *reliable = true;
            break;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    }
    if (!*reliable) return 0;
    ++probes_;

    SHFILEINFOW info = {};
    if (!SHGetFileInfoW(probe.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) info = SHFILEINFOW{};
    int image = ImageForSystemIcon(info.iIcon, info.hIcon);
    if (info.hIcon) DestroyIcon(info.hIcon);
    DeleteFileW(probe.c_str());
    return image;
}

int CRowIconCache::ImageForSystemIcon(int systemIndex, HICON icon) {
    auto cached = std::find(systemIcons_.begin(), systemIcons_.end(), systemIndex);
    if (cached != systemIcons_.end()) return static_cast<int>(cached - systemIcons_.begin()) + 1;
    if (systemIndex == 0 || !icon || systemIcons_.size() >= MaxSystemIcons) return 0;
    int image = ImageList_AddIcon(images_, icon);
    if (image < 0) return 0;
    systemIcons_.push_back(systemIndex);
    return image;
}
