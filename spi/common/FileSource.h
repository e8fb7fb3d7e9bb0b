#pragma once
// An archive file, read through the Windows file functions. It is opened sharing reading and
// deleting, never writing: nobody who honours share modes can write or truncate it while it
// is read, but the user may still delete it. A read seeks, then reads: it holds a lock between
// the two, so that calls from several threads never move each other's position.
#include <windows.h>
#include <mutex>
#include "spi/common/ByteSource.h"

class FileSource : public ByteSource {
public:
    // path: a file of any length (WidePath.h).
    explicit FileSource(const wchar_t* path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    HANDLE Handle() const { return file_; }
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* buffer, size_t count) override;

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    uint64_t size_ = 0;
    std::mutex readLock_;
};
