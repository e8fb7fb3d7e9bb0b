#include "spi/common/OutputSinks.h"
#include "spi/common/EntryPath.h"
#include "spi/common/NewBlock.h"
#include "text/Cp932.h"

MemoryBlockSink::MemoryBlockSink(size_t size) : size_(size) { block_ = AllocateFilledIn(size); }

MemoryBlockSink::~MemoryBlockSink() {
    if (block_) LocalFree(block_);
}

HLOCAL MemoryBlockSink::Release() {
    HLOCAL block = block_;
    block_ = nullptr;
    return block;
}

uint8_t* MemoryBlockSink::Room(size_t* length) {
    *length = size_ - written_;
    return static_cast<uint8_t*>(block_) + written_;
}

bool MemoryBlockSink::Commit(size_t length) {
    if (length > size_ - written_) return false;
    written_ += length;
    return true;
}

FileSink::FileSink(const std::string& path) : path_(path), buffer_(1 << 20) {
    std::string folder = path.substr(0, cp932::AfterLastSeparator(path.data(), path.size(), "\\/"));
    char work[MAX_PATH];
    // Makes an empty file of a name no other file has.
    if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "~vs", 0, work)) return;
    workPath_ = work;
    file_ = CreateFileA(work, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) DeleteFileA(work);
}

FileSink::~FileSink() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    if (!workPath_.empty() && !finished_) DeleteFileA(workPath_.c_str());
}

uint8_t* FileSink::Room(size_t* length) {
    if (used_ == buffer_.size() && !Flush()) {
        *length = 0;
        return nullptr;
    }
    *length = buffer_.size() - used_;
    return buffer_.data() + used_;
}

bool FileSink::Commit(size_t length) {
    if (length > buffer_.size() - used_) return false;
    used_ += length;
    return used_ < buffer_.size() || Flush();
}

bool FileSink::Flush() {
    DWORD written = 0;
    if (used_ > 0 && (!WriteFile(file_, buffer_.data(), static_cast<DWORD>(used_), &written, nullptr) ||
                      written != used_))
        return false;
    used_ = 0;
    return true;
}

bool FileSink::Rewind() {
    used_ = 0;
    LARGE_INTEGER start = {};
    return IsOpen() && SetFilePointerEx(file_, start, nullptr, FILE_BEGIN) && SetEndOfFile(file_);
}

bool FileSink::Finish(int64_t timestamp) {
    if (!IsOpen() || !Flush()) return false;
    ULARGE_INTEGER value;
    value.QuadPart = (timestamp + 11644473600LL) * 10000000ULL;
    FILETIME time = {value.LowPart, value.HighPart};
    bool dated = SetFileTime(file_, nullptr, nullptr, &time) != FALSE;
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    finished_ = dated && MoveFileExA(workPath_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    return finished_;
}

bool FolderFilePath(const char* folder, const std::string& fileName, std::string* path) {
    if (!folder || fileName.empty() || fileName == "." || fileName == "..") return false;
    // A separator or a colon of its own would lead elsewhere (a 0x5C that ends a double-byte
    // character is none).
    if (cp932::AfterLastSeparator(fileName.data(), fileName.size(), "\\/:") != 0) return false;
    *path = folder;
    if (!path->empty() && !cp932::EndsWithSeparator(*path)) *path += '\\';
    *path += fileName;
    return true;
}
