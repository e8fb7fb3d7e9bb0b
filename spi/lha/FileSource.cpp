#include "spi/lha/FileSource.h"
#include <algorithm>

namespace lha {

FileSource::FileSource(const char* path) {
    if (!path) return;
    file_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size;
    if (IsOpen() && GetFileSizeEx(file_, &size)) size_ = static_cast<uint64_t>(size.QuadPart);
}

FileSource::~FileSource() {
    if (IsOpen()) CloseHandle(file_);
}

bool FileSource::ReadAt(uint64_t offset, void* buffer, size_t count) {
    if (!IsOpen() || !Contains(offset, count)) return false;
    char* out = static_cast<char*>(buffer);
    while (count > 0) {
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD piece = static_cast<DWORD>(std::min<size_t>(count, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file_, out, piece, &read, &at) || read == 0) return false;
        out += read;
        offset += read;
        count -= read;
    }
    return true;
}

}  // namespace lha
