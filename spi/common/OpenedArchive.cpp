#include "spi/common/OpenedArchive.h"

namespace {
uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }
}  // namespace

OpenedArchive::OpenedArchive(const char* path) : source_(path) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!source_.IsOpen() || !GetFileInformationByHandle(source_.Handle(), &info)) return;
    identity_.volumeSerial = info.dwVolumeSerialNumber;
    identity_.fileIndex = Join(info.nFileIndexHigh, info.nFileIndexLow);
    identity_.size = Join(info.nFileSizeHigh, info.nFileSizeLow);
    identity_.created = Join(info.ftCreationTime.dwHighDateTime, info.ftCreationTime.dwLowDateTime);
    identity_.lastWrite = Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    identified_ = true;
}

bool OpenedArchive::UnchangedAt(const char* path) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
    return Join(data.nFileSizeHigh, data.nFileSizeLow) == identity_.size &&
           Join(data.ftCreationTime.dwHighDateTime, data.ftCreationTime.dwLowDateTime) == identity_.created &&
           Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime) == identity_.lastWrite;
}
