#pragma once
// The two places GetFile can unpack an entry to: a new local-memory block, or a file in the
// folder the host names.
#include <windows.h>
#include <string>
#include <vector>
#include "spi/common/NewBlock.h"
#include "spi/common/OutputSink.h"

// Fills a fixed local-memory block of exactly the entry's size. It does not grow: hosts write
// as many bytes of the block as the entry's record states.
class MemoryBlockSink : public OutputSink {
public:
    explicit MemoryBlockSink(size_t size);
    ~MemoryBlockSink() override;  // frees the block unless it was handed over
    MemoryBlockSink(const MemoryBlockSink&) = delete;
    MemoryBlockSink& operator=(const MemoryBlockSink&) = delete;

    bool IsAllocated() const { return block_ != nullptr; }
    // Gives up ownership of the block.
    HLOCAL Release();

    uint8_t* Room(size_t* length) override;
    bool Commit(size_t length) override;
    bool Rewind() override {
        written_ = 0;
        return true;
    }

private:
    HLOCAL block_ = nullptr;
    size_t size_ = 0;
    size_t written_ = 0;
};

// Writes a file through a buffer into a work file beside it, which takes the file's place only
// once it is finished: a file already there stays as it was when the entry fails. A work file
// that is not finished is deleted again. Paths of any length (WidePath.h).
class FileSink : public OutputSink {
public:
    explicit FileSink(const std::wstring& path);
    ~FileSink() override;  // deletes the work file unless Finish succeeded
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    // Writes what is buffered, dates the file (seconds since 1970 UTC) and puts it in the
    // place of the file named at construction.
    bool Finish(int64_t timestamp);

    uint8_t* Room(size_t* length) override;
    bool Commit(size_t length) override;
    bool Grow(uint64_t) override { return true; }  // a file takes any size
    bool Rewind() override;

private:
    bool Flush();
    // Makes an empty work file of a name no other file has in `folder` (with its trailing
    // separator, or empty for the current folder).
    bool OpenWorkFile(const std::wstring& folder);

    std::wstring path_, workPath_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::vector<uint8_t> buffer_;
    size_t used_ = 0;
    bool finished_ = false;
};

// A local-memory block (LMEM_FIXED) that is freed unless it was handed over.
class LocalBlock {
public:
    explicit LocalBlock(size_t size) : block_(AllocateFilledIn(size)) {}
    ~LocalBlock() {
        if (block_) LocalFree(block_);
    }
    LocalBlock(const LocalBlock&) = delete;
    LocalBlock& operator=(const LocalBlock&) = delete;
    // Its bytes; null when it could not be allocated.
    void* Bytes() const { return block_; }
    // Gives up ownership of the block.
    HLOCAL Release() {
        HLOCAL block = block_;
        block_ = nullptr;
        return block;
    }

private:
    HLOCAL block_;
};

// The file an entry named `fileName` is written to inside `folder` (a separator is put between
// them unless the folder ends in one). False when the name would lead elsewhere: empty, "."
// or "..", or holding ':' (a drive or a stream), '\' or '/'.
bool FolderFilePath(const std::wstring& folder, const std::wstring& fileName, std::wstring* path);
