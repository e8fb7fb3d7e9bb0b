#include "spi/common/ArchiveExports.h"
#include <cstring>
#include <string>
#include "spi/common/FileSource.h"
#include "spi/common/OutputSinks.h"
#include "spi/common/CallbackProgress.h"

namespace {

constexpr ULONG_PTR LowestAddress = 0x10000;    // smaller values are file handles, never buffers
constexpr unsigned int IgnoreCaseFlag = 0x80;   // GetFileInfo: names compared without letter case
constexpr unsigned int OutputKindShift = 8;     // GetFile: 0 a file in the folder dest, 1 a new block
constexpr unsigned int OutputKindMask = 0x7;
constexpr unsigned int OutputToFolder = 0;
constexpr unsigned int OutputToMemory = 1;

// A local-memory block that is freed unless it was handed over.
class LocalBlock {
public:
    explicit LocalBlock(size_t size) : block_(LocalAlloc(LMEM_FIXED, size)) {}
    ~LocalBlock() {
        if (block_) LocalFree(block_);
    }
    LocalBlock(const LocalBlock&) = delete;
    LocalBlock& operator=(const LocalBlock&) = delete;
    void* Bytes() const { return block_; }
    HLOCAL Release() {
        HLOCAL block = block_;
        block_ = nullptr;
        return block;
    }

private:
    HLOCAL block_;
};

int UnpackToMemory(RecordedArchive& archive, size_t index, const ArchiveEntry& record, HLOCAL* handle,
                   ProgressReport& progress) {
    MemoryBlockSink sink(record.unpackedSize);
    if (!sink.IsAllocated()) return SpiNoMemory;
    int result = archive.UnpackEntry(index, sink, progress);
    if (result == SpiSuccess) *handle = sink.Release();
    return result;
}

// Writes the entry under its file name into `folder`; a folder entry writes nothing.
int UnpackToFolder(RecordedArchive& archive, size_t index, const ArchiveEntry& record, const char* folder,
                   ProgressReport& progress) {
    if (record.fileName[0] == '\0') return SpiSuccess;
    std::string target;
    if (!FolderFilePath(folder, record.fileName, &target)) return SpiInternalError;
    FileSink sink(target);
    if (!sink.IsOpen()) return SpiInternalError;
    int result = archive.UnpackEntry(index, sink, progress);
    if (result != SpiSuccess) return result;
    return sink.Finish(record.timestamp) ? SpiSuccess : SpiInternalError;
}

}  // namespace

int CopyInfoText(const char* text, LPSTR buf, int buflen) {
    if (!buf || buflen <= 0) return 0;
    size_t length = strnlen(text, static_cast<size_t>(buflen) - 1);
    memcpy(buf, text, length);
    buf[length] = '\0';
    return static_cast<int>(length);
}

bool ArchiveHeader(LPCSTR filename, ULONG_PTR header, uint8_t bytes[SpiHeaderBytes]) {
    if (header >= LowestAddress) {
        memcpy(bytes, reinterpret_cast<const void*>(header), SpiHeaderBytes);
        return true;
    }
    memset(bytes, 0, SpiHeaderBytes);
    FileSource file(filename);
    size_t count = file.Size() < SpiHeaderBytes ? static_cast<size_t>(file.Size()) : SpiHeaderBytes;
    return file.IsOpen() && file.ReadAt(0, bytes, count);
}

int ListRecords(RecordedArchive* archive, HLOCAL* handle) {
    if (!archive) return SpiReadError;
    const std::vector<ArchiveEntry>* records = nullptr;
    int result = archive->Records(&records);
    if (result != SpiSuccess) return result;
    // The records, then the all-zero record that ends the list.
    LocalBlock block((records->size() + 1) * sizeof(ArchiveEntry));
    if (!block.Bytes()) return SpiNoMemory;
    if (!records->empty()) memcpy(block.Bytes(), records->data(), records->size() * sizeof(ArchiveEntry));
    memset(static_cast<ArchiveEntry*>(block.Bytes()) + records->size(), 0, sizeof(ArchiveEntry));
    *handle = block.Release();
    return SpiSuccess;
}

int FindRecord(RecordedArchive* archive, LPCSTR name, unsigned int flags, ArchiveEntry* entry) {
    if (!archive) return SpiReadError;
    return archive->Find(name, (flags & IgnoreCaseFlag) != 0, entry);
}

int FetchRecord(RecordedArchive* archive, LONG_PTR position, LPSTR dest, unsigned int flags,
                SpiProgressCallback progress, LONG_PTR data) {
    unsigned int outputKind = (flags >> OutputKindShift) & OutputKindMask;
    if (!dest) return SpiInternalError;
    if (outputKind == OutputToMemory) *reinterpret_cast<HLOCAL*>(dest) = nullptr;
    if (outputKind != OutputToMemory && outputKind != OutputToFolder) return SpiNotImplemented;
    if (!archive) return SpiReadError;
    ArchiveEntry record;
    size_t index = 0;
    // The record's position is an unsigned number; the 32-bit build receives it as a signed one.
    int result = archive->RecordAt(static_cast<ULONG_PTR>(position), &record, &index);
    if (result != SpiSuccess) return result;
    CallbackProgress report(progress, data);
    if (outputKind == OutputToMemory)
        return UnpackToMemory(*archive, index, record, reinterpret_cast<HLOCAL*>(dest), report);
    return UnpackToFolder(*archive, index, record, dest, report);
}
