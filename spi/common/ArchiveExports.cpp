// GetPluginInfo, IsSupported, GetArchiveInfo, GetFileInfo, GetFile and DllMain of each of our
// archive plug-ins (see ArchiveExports.h).
#include "spi/common/ArchiveExports.h"
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include "spi/common/CallbackProgress.h"
#include "spi/common/FileSource.h"
#include "spi/common/JoinedPieces.h"
#include "spi/common/OutputSinks.h"
#include "spi/common/SpiExports.h"
#include "spi/common/SpiResult.h"

namespace {

constexpr unsigned int InputKindMask = 0x7;     // 0: the file named by src, 1: bytes at src
constexpr unsigned int InputFromFile = 0;
constexpr unsigned int InputFromMemory = 1;
constexpr ULONG_PTR LowestAddress = 0x10000;    // smaller values are file handles, never buffers
constexpr unsigned int IgnoreCaseFlag = 0x80;   // GetFileInfo: names compared without letter case
constexpr unsigned int OutputKindShift = 8;     // GetFile: 0 a file in the folder dest, 1 a new block
constexpr unsigned int OutputKindMask = 0x7;
constexpr unsigned int OutputToFolder = 0;
constexpr unsigned int OutputToMemory = 1;

// IsSupported's test: `bytes` holds the file's first SpiHeaderBytes bytes (zeros past its end).
bool SupportsFile(LPCSTR filename, const uint8_t* bytes) {
    return !JoinedPieces::IsLaterPiece(filename) && plugin::Supports(filename, bytes, SpiHeaderBytes);
}

// Whether IsSupported takes the archive file the host names, by the bytes where it says the
// archive starts.
bool Supported(RecordedArchive& archive, const plugin::ArchiveInput& input) {
    return archive.Taken([&input] {
        FileSource file(input.src);
        uint64_t start = static_cast<uint64_t>(input.offset);
        if (!file.IsOpen() || start > file.Size()) return false;
        uint8_t bytes[SpiHeaderBytes] = {};
        size_t count = static_cast<size_t>(std::min<uint64_t>(SpiHeaderBytes, file.Size() - start));
        return (count == 0 || file.ReadAt(start, bytes, count)) && SupportsFile(input.src, bytes);
    });
}

// Opens the archive the host names and does the work on it. A host that lists or fetches
// without asking IsSupported first gets the same answer: an archive file it refuses is of an
// unknown format here too.
template <class Work>
int WithArchive(LPCSTR src, LONG_PTR offset, unsigned int flags, Work work) {
    unsigned int inputKind = flags & InputKindMask;
    if (inputKind != InputFromFile && inputKind != InputFromMemory) return SpiNotImplemented;
    plugin::ArchiveInput input;
    input.src = src;
    input.offset = offset;
    input.inMemory = inputKind == InputFromMemory;
    try {
        std::shared_ptr<RecordedArchive> archive;
        int result = plugin::OpenArchive(input, &archive);
        if (result != SpiSuccess) return result;
        if (!input.inMemory && !Supported(*archive, input)) return SpiUnknownFormat;
        return work(*archive);
    } catch (const std::bad_alloc&) {
        return SpiNoMemory;
    }
}

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

int ListRecords(RecordedArchive& archive, HLOCAL* handle) {
    const CompactRecords* records = nullptr;
    int result = archive.Records(&records);
    if (result != SpiSuccess) return result;
    // The records, then the all-zero record that ends the list.
    LocalBlock block((records->Count() + 1) * sizeof(ArchiveEntry));
    if (!block.Bytes()) return SpiNoMemory;
    ArchiveEntry* list = static_cast<ArchiveEntry*>(block.Bytes());
    for (size_t i = 0; i < records->Count(); ++i) records->Get(i, &list[i]);
    memset(&list[records->Count()], 0, sizeof(ArchiveEntry));
    *handle = block.Release();
    return SpiSuccess;
}

int FetchRecord(RecordedArchive& archive, LONG_PTR position, LPSTR dest, unsigned int outputKind,
                SpiProgressCallback progress, LONG_PTR data) {
    ArchiveEntry record;
    size_t index = 0;
    // The record's position is an unsigned number; the 32-bit build receives it as a signed one.
    int result = archive.RecordAt(static_cast<ULONG_PTR>(position), &record, &index);
    if (result == SpiSuccess) result = archive.CheckUnpackable(index);
    if (result != SpiSuccess) return result;
    CallbackProgress report(progress, data);
    if (outputKind == OutputToMemory)
        return UnpackToMemory(archive, index, record, reinterpret_cast<HLOCAL*>(dest), report);
    return UnpackToFolder(archive, index, record, dest, report);
}

// The first bytes of the file a host's handle reads (zeros past its end); the handle's
// position is put back where the host left it.
bool ReadFileStart(HANDLE file, uint8_t* bytes, DWORD size) {
    LARGE_INTEGER start = {}, position = {};
    if (!SetFilePointerEx(file, start, &position, FILE_CURRENT) || !SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return false;
    DWORD read = 0;
    bool done = ReadFile(file, bytes, size, &read, nullptr) != FALSE;
    SetFilePointerEx(file, position, nullptr, FILE_BEGIN);
    return done;
}

}  // namespace

SPI_EXPORT int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen) {
    const char* text = plugin::InfoText(infono);
    if (!text || !buf || buflen <= 0) return 0;
    size_t length = strnlen(text, static_cast<size_t>(buflen) - 1);
    memcpy(buf, text, length);
    buf[length] = '\0';
    return static_cast<int>(length);
}

// `header` is the host's buffer of the file's first bytes, or, in the older form of the call,
// the handle of the file the host opened (too small a value to be an address: nothing is ever
// mapped in the lowest 64 KB of an address space).
SPI_EXPORT int WINAPI IsSupported(LPCSTR filename, ULONG_PTR header) {
    uint8_t bytes[SpiHeaderBytes] = {};
    if (header >= LowestAddress) {
        memcpy(bytes, reinterpret_cast<const void*>(header), SpiHeaderBytes);
    } else if (!ReadFileStart(reinterpret_cast<HANDLE>(header), bytes, sizeof bytes)) {
        return 0;
    }
    return SupportsFile(filename, bytes) ? 1 : 0;
}

SPI_EXPORT int WINAPI GetArchiveInfo(LPCSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle) {
    if (!handle) return SpiInternalError;
    *handle = nullptr;
    return WithArchive(src, offset, flags, [&](RecordedArchive& archive) { return ListRecords(archive, handle); });
}

SPI_EXPORT int WINAPI GetFileInfo(LPCSTR src, LONG_PTR offset, LPCSTR name, unsigned int flags,
                                  ArchiveEntry* entry) {
    if (!name || !entry) return SpiInternalError;
    return WithArchive(src, offset, flags, [&](RecordedArchive& archive) {
        return archive.Find(name, (flags & IgnoreCaseFlag) != 0, entry);
    });
}

SPI_EXPORT int WINAPI GetFile(LPCSTR src, LONG_PTR position, LPSTR dest, unsigned int flags,
                              SpiProgressCallback progress, LONG_PTR data) {
    unsigned int outputKind = (flags >> OutputKindShift) & OutputKindMask;
    if (!dest) return SpiInternalError;
    if (outputKind == OutputToMemory) *reinterpret_cast<HLOCAL*>(dest) = nullptr;
    if (outputKind != OutputToMemory && outputKind != OutputToFolder) return SpiNotImplemented;
    // The entry is found by its position in a file.
    if ((flags & InputKindMask) != InputFromFile) return SpiNotImplemented;
    return WithArchive(src, 0, flags, [&](RecordedArchive& archive) {
        return FetchRecord(archive, position, dest, outputKind, progress, data);
    });
}

// The archive kept open is closed when the host releases the library. (When the process
// ends, the system closes it; other threads may have ended holding the cache's lock.)
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID processEnds) {
    if (reason == DLL_PROCESS_DETACH && !processEnds) plugin::CloseArchive();
    return TRUE;
}
