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
           CompareFileTime(&listed.written, &now.written) == 0;
}
