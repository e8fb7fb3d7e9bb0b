#include "spi/common/OutputSinks.h"
#include "spi/common/EntryPath.h"
#include <atomic>
#include "spi/common/NewBlock.h"
#include "spi/common/WidePath.h"

namespace {

constexpr int WorkFileTries = 100;

bool EndsWithSeparator(const std::wstring& path) { return !path.empty() && (path.back() == L'\\' || path.back() == L'/'); }

}  // namespace

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

FileSink::FileSink(const std::wstring& path) : path_(LongPathForm(path)), buffer_(1 << 20) {
    size_t separator = path_.find_last_of(L"\\/");
    OpenWorkFile(separator == std::wstring::npos ? std::wstring() : path_.substr(0, separator + 1));
}

// GetTempFileName would do, but for a folder of more than MAX_PATH - 14 characters.
bool FileSink::OpenWorkFile(const std::wstring& folder) {
    static std::atomic<unsigned> made(GetTickCount() ^ (GetCurrentProcessId() << 16));
    for (int tries = 0; tries < WorkFileTries; ++tries) {
        wchar_t name[32];
        swprintf(name, sizeof name / sizeof name[0], L"~vs%08X.tmp", made++);
        std::wstring work = LongPathForm(folder + name);
        file_ = CreateFileW(work.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ != INVALID_HANDLE_VALUE) {
            workPath_ = work;
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

FileSink::~FileSink() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    if (!workPath_.empty() && !finished_) DeleteFileW(workPath_.c_str());
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
    finished_ = dated && MoveFileExW(workPath_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    return finished_;
}

bool FolderFilePath(const std::wstring& folder, const std::wstring& fileName, std::wstring* path) {
    if (fileName.empty() || fileName == L"." || fileName == L".." || fileName.find_first_of(L"\\/:") != std::wstring::npos)
        return false;
    *path = folder;
    if (!path->empty() && !EndsWithSeparator(*path)) *path += L'\\';
    *path += fileName;
    return true;
}
