#include "spi/common/FileSource.h"
#include "spi/common/WidePath.h"

FileSource::FileSource(const wchar_t* path) {
    if (!path) return;
    file_ = CreateFileW(LongPathForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size;
    if (file_ != INVALID_HANDLE_VALUE && GetFileSizeEx(file_, &size)) {
        size_ = static_cast<uint64_t>(size.QuadPart);
    } else if (file_ != INVALID_HANDLE_VALUE) {
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }
}

FileSource::~FileSource() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

// Seeks, then reads without an OVERLAPPED: Wine answers a read given an OVERLAPPED with one more
// round trip to its server, which costs more per entry than the seek (and the lock).
bool FileSource::ReadAt(uint64_t offset, void* buffer, size_t count) {
    if (!IsOpen() || !Contains(offset, count)) return false;
    std::lock_guard<std::mutex> lock(readLock_);
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file_, position, nullptr, FILE_BEGIN)) return false;
    char* out = static_cast<char*>(buffer);
    while (count > 0) {
        DWORD piece = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
        DWORD read = 0;
        if (!ReadFile(file_, out, piece, &read, nullptr) || read == 0) return false;
        out += read;
        offset += read;
        count -= read;
    }
    return true;
}
