#include "plugins/ArchiveIdentity.h"
#include "text/LongPath.h"

namespace {

ULONGLONG JoinSize(DWORD high, DWORD low) { return (static_cast<ULONGLONG>(high) << 32) | low; }

bool SameSizeAndTimes(const ArchiveIdentity& listed, ULONGLONG size, const FILETIME& created,
                      const FILETIME& written) {
    return listed.size == size && CompareFileTime(&listed.created, &created) == 0 &&
           CompareFileTime(&listed.written, &written) == 0;
}

}  // namespace

ArchiveIdentity ReadArchiveIdentity(const std::wstring& path) {
    HANDLE file = CreateFileW(ExtendedPath(path).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ArchiveIdentity();
    ArchiveIdentity identity = IdentityOfOpenFile(file);
    CloseHandle(file);
    return identity;
}

ArchiveIdentity IdentityOfOpenFile(HANDLE file) {
    ArchiveIdentity identity;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(file, &info)) {
        identity.known = true;
        identity.volume = info.dwVolumeSerialNumber;
        identity.indexHigh = info.nFileIndexHigh;
        identity.indexLow = info.nFileIndexLow;
        identity.size = JoinSize(info.nFileSizeHigh, info.nFileSizeLow);
        identity.created = info.ftCreationTime;
        identity.written = info.ftLastWriteTime;
    }
    return identity;
}

bool SameFile(const ArchiveIdentity& a, const ArchiveIdentity& b) {
    return a.known && b.known && a.volume == b.volume && a.indexHigh == b.indexHigh && a.indexLow == b.indexLow;
}

bool Unchanged(const ArchiveIdentity& listed, const ArchiveIdentity& now) {
    return SameFile(listed, now) && SameSizeAndTimes(listed, now.size, now.created, now.written);
}

bool StillAsListed(const ArchiveIdentity& listed, const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA now;
    if (!listed.known || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &now)) return false;
    return SameSizeAndTimes(listed, JoinSize(now.nFileSizeHigh, now.nFileSizeLow), now.ftCreationTime,
                            now.ftLastWriteTime);
}
