#include "listwin/RowIconCache.h"
#include <shellapi.h>
#include <algorithm>
#include <cstdio>
#include "listwin/WorkFile.h"
#include "text/PathSize.h"

std::string FileSystemExtension(const char* fileName) {
    std::string name = fileName;
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    // '.' is never the second byte of a double-byte character, so a plain search is safe.
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

CRowIconCache::CRowIconCache(HIMAGELIST images, const char* workFolder)
    : images_(images), workFolder_(workFolder) {}

int CRowIconCache::ImageFor(const char* fileName) {
    // Names that point elsewhere get the default icon: no file is made for them at all.
    if (workFolder_.empty() || !IsPlainFileName(fileName)) return 0;
    std::string extension = FileSystemExtension(fileName);
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
int CRowIconCache::ProbeExtension(const std::string& extension, bool* reliable) {
    // A folder made for the probe goes again after it; one that holds other files stays.
    bool madeFolder = CreateDirectoryA(workFolder_.c_str(), nullptr) != FALSE;
    int image = ProbeInFolder(extension, reliable);
    if (madeFolder) RemoveDirectoryA(workFolder_.c_str());
    return image;
}

int CRowIconCache::ProbeInFolder(const std::string& extension, bool* reliable) {
    char probe[PathSize];
    for (int attempt = 0; attempt < 100; ++attempt) {
        int length = snprintf(probe, sizeof probe, "%s~vprobe%lu_%d%s%s", workFolder_.c_str(),
                              GetCurrentProcessId(), attempt, extension.empty() ? "" : ".", extension.c_str());
        if (length < 0 || length >= static_cast<int>(sizeof probe)) return 0;
        HANDLE file = CreateFileA(probe, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            *reliable = true;
            break;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    }
    if (!*reliable) return 0;
    ++probes_;

    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(probe, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) info = SHFILEINFOA{};
    int image = ImageForSystemIcon(info.iIcon, info.hIcon);
    if (info.hIcon) DestroyIcon(info.hIcon);
    DeleteFileA(probe);
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
