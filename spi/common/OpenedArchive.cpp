#include "spi/common/OpenedArchive.h"
#include "spi/common/WidePath.h"

namespace {

uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

bool ReadIdentity(HANDLE file, FileIdentity* identity) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info)) return false;
    identity->volumeSerial = info.dwVolumeSerialNumber;
    identity->fileIndex = Join(info.nFileIndexHigh, info.nFileIndexLow);
    identity->size = Join(info.nFileSizeHigh, info.nFileSizeLow);
    identity->created = Join(info.ftCreationTime.dwHighDateTime, info.ftCreationTime.dwLowDateTime);
    identity->lastWrite = Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    return true;
}

bool UnchangedFile(const std::wstring& path, const FileIdentity& identity) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data)) return false;
    return Join(data.nFileSizeHigh, data.nFileSizeLow) == identity.size &&
           Join(data.ftCreationTime.dwHighDateTime, data.ftCreationTime.dwLowDateTime) == identity.created &&
           Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime) == identity.lastWrite;
}

}  // namespace

OpenedArchive::OpenedArchive(const wchar_t* path) : source_(path), identities_(1) {
    if (!source_.IsOpen()) return;
    identities_.resize(source_.Count());
    for (size_t i = 0; i < source_.Count(); ++i)
        if (!ReadIdentity(source_.Piece(i).Handle(), &identities_[i])) return;
    identified_ = true;
}

bool OpenedArchive::UnchangedAt(const wchar_t* path) const {
    if (!path || !UnchangedFile(source_.IsSet() ? source_.NameOf(0) : path, identities_[0])) return false;
    for (size_t i = 1; i < identities_.size(); ++i)
        if (!UnchangedFile(source_.NameOf(i), identities_[i])) return false;
    return !source_.IsSet() || !PathExists(source_.NameOf(source_.Count()));
}
