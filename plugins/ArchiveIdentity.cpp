#include "plugins/ArchiveIdentity.h"

ArchiveIdentity ReadArchiveIdentity(const char* path) {
    ArchiveIdentity identity;
    HANDLE file = CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return identity;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(file, &info)) {
        identity.known = true;
        identity.volume = info.dwVolumeSerialNumber;
        identity.indexHigh = info.nFileIndexHigh;
        identity.indexLow = info.nFileIndexLow;
        identity.size = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
        identity.created = info.ftCreationTime;
        identity.written = info.ftLastWriteTime;
    }
    CloseHandle(file);
    return identity;
}

bool SameFile(const ArchiveIdentity& a, const ArchiveIdentity& b) {
    return a.known && b.known && a.volume == b.volume && a.indexHigh == b.indexHigh && a.indexLow == b.indexLow;
}

bool Unchanged(const ArchiveIdentity& listed, const ArchiveIdentity& now) {
    return SameFile(listed, now) && listed.size == now.size &&
           CompareFileTime(&listed.created, &now.created) == 0 && CompareFileTime(&listed.written, &now.written) == 0;
}

bool StillAsListed(const ArchiveIdentity& listed, const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA now;
    if (!listed.known || !GetFileAttributesExA(path, GetFileExInfoStandard, &now)) return false;
    return ((static_cast<ULONGLONG>(now.nFileSizeHigh) << 32) | now.nFileSizeLow) == listed.size &&
           CompareFileTime(&listed.created, &now.ftCreationTime) == 0 &&
           CompareFileTime(&listed.written, &now.ftLastWriteTime) == 0;
}
