#include "spi/common/ExportCalls.h"
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include "spi/common/ArchiveExports.h"
#include "spi/common/CallbackProgress.h"
#include "spi/common/FileSource.h"
#include "spi/common/JoinedPieces.h"
#include "spi/common/OutputSinks.h"
#include "spi/common/SpiResult.h"
#include "spi/common/WideUtf8.h"
#include "text/WideText.h"

namespace plugin {
namespace {

constexpr unsigned int InputKindMask = 0x7;     // 0: the file named by src, 1: bytes at src
constexpr unsigned int InputFromFile = 0;
constexpr unsigned int InputFromMemory = 1;
constexpr ULONG_PTR LowestAddress = 0x10000;    // smaller values are file handles, never buffers
constexpr unsigned int OutputKindShift = 8;     // GetFile: 0 a file in the folder dest, 1 a new block
constexpr unsigned int OutputKindMask = 0x7;
constexpr unsigned int OutputToFolder = 0;
constexpr unsigned int OutputToMemory = 1;

int UnpackToMemory(RecordedArchive& archive, size_t index, const NamedRecord& record, HLOCAL* handle,
                   ProgressReport& progress) {
    MemoryBlockSink sink(record.numbers.unpackedSize);
    if (!sink.IsAllocated()) return SpiNoMemory;
    int result = archive.UnpackEntry(index, sink, progress);
    if (result == SpiSuccess) *handle = sink.Release();
    return result;
}

// Writes the entry under its file name into `folder`; a folder entry writes nothing.
int UnpackToFolder(RecordedArchive& archive, size_t index, const NamedRecord& record, const std::wstring& folder,
                   const std::wstring& fileName, ProgressReport& progress) {
    if (record.name.fileName.empty()) return SpiSuccess;
    std::wstring target;
    if (!FolderFilePath(folder, fileName, &target)) return SpiInternalError;
    FileSink sink(target);
    if (!sink.IsOpen()) return SpiInternalError;
    int result = archive.UnpackEntry(index, sink, progress);
    if (result != SpiSuccess) return result;
    return sink.Finish(record.numbers.timestamp) ? SpiSuccess : SpiInternalError;
}

int FetchRecord(ExportSet set, RecordedArchive& archive, LONG_PTR position, void* dest, unsigned int outputKind,
                SpiProgressCallback progress, LONG_PTR data) {
    NamedRecord record;
    size_t index = 0;
    // The record's position is an unsigned number; the 32-bit build receives it as a signed one.
    int result = archive.RecordAt(static_cast<ULONG_PTR>(position), NamesOf(set), &record, &index);
    if (result == SpiSuccess) result = archive.CheckUnpackable(index);
    if (result != SpiSuccess) return result;
    CallbackProgress report(progress, data);
    if (outputKind == OutputToMemory) return UnpackToMemory(archive, index, record, static_cast<HLOCAL*>(dest), report);
    if (set == ExportSet::Ansi)
        return UnpackToFolder(archive, index, record, AnsiPath(static_cast<const char*>(dest)),
                              Cp932ToWide(record.name.fileName), report);
    return UnpackToFolder(archive, index, record, static_cast<const wchar_t*>(dest), Utf16Of(record.name.fileName),
                          report);
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

// IsSupported's test: `bytes` holds the file's first SpiHeaderBytes bytes (zeros past its end).
bool SupportsFile(const wchar_t* path, const uint8_t* bytes) {
    return !JoinedPieces::IsLaterPiece(path) && Supports(path, bytes, SpiHeaderBytes);
}

// Whether IsSupported takes the archive file the host names, by the bytes where it says the
// archive starts; asked once for an archive kept open.
bool Supported(RecordedArchive& archive, const wchar_t* path, LONG_PTR offset) {
    return archive.Taken([path, offset] {
        FileSource file(path);
        uint64_t start = static_cast<uint64_t>(offset);
        if (!file.IsOpen() || start > file.Size()) return false;
        uint8_t bytes[SpiHeaderBytes] = {};
        size_t count = static_cast<size_t>(std::min<uint64_t>(SpiHeaderBytes, file.Size() - start));
        return (count == 0 || file.ReadAt(start, bytes, count)) && SupportsFile(path, bytes);
    });
}

}  // namespace

// A host that lists or fetches without asking IsSupported first gets the same answer: an
// archive file IsSupported refuses is of an unknown format here too.
int WithArchive(ExportSet set, const void* src, LONG_PTR offset, unsigned int flags,
                const std::function<int(RecordedArchive&)>& work) {
    unsigned int inputKind = flags & InputKindMask;
    if (inputKind != InputFromFile && inputKind != InputFromMemory) return SpiNotImplemented;
    try {
        ArchiveInput input;
        std::wstring path;
        input.offset = offset;
        input.inMemory = inputKind == InputFromMemory;
        if (input.inMemory) input.bytes = static_cast<const char*>(src);
        else if (src && set == ExportSet::Ansi) path = AnsiPath(static_cast<const char*>(src));
        else if (src) path = static_cast<const wchar_t*>(src);
        if (!input.inMemory && src) input.path = path.c_str();
        std::shared_ptr<RecordedArchive> archive;
        int result = OpenArchive(input, &archive);
        if (result != SpiSuccess) return result;
        if (!input.inMemory && !Supported(*archive, input.path, offset)) return SpiUnknownFormat;
        return work(*archive);
    } catch (const std::bad_alloc&) {
        return SpiNoMemory;
    }
}

// `header` is the host's buffer of the file's first bytes, or, in the older form of the call,
// the handle of the file the host opened (too small a value to be an address: nothing is ever
// mapped in the lowest 64 KB of an address space).
int IsSupportedFile(const wchar_t* path, ULONG_PTR header) {
    uint8_t bytes[SpiHeaderBytes] = {};
    if (header >= LowestAddress) {
        memcpy(bytes, reinterpret_cast<const void*>(header), SpiHeaderBytes);
    } else if (!ReadFileStart(reinterpret_cast<HANDLE>(header), bytes, sizeof bytes)) {
        return 0;
    }
    return SupportsFile(path, bytes) ? 1 : 0;
}

int GetEntry(ExportSet set, const void* src, LONG_PTR position, void* dest, unsigned int flags,
             SpiProgressCallback progress, LONG_PTR data) {
    unsigned int outputKind = (flags >> OutputKindShift) & OutputKindMask;
    if (!dest) return SpiInternalError;
    if (outputKind == OutputToMemory) *static_cast<HLOCAL*>(dest) = nullptr;
    if (outputKind != OutputToMemory && outputKind != OutputToFolder) return SpiNotImplemented;
    // The entry is found by its position in a file.
    if ((flags & InputKindMask) != InputFromFile) return SpiNotImplemented;
    return WithArchive(set, src, 0, flags, [&](RecordedArchive& archive) {
        return FetchRecord(set, archive, position, dest, outputKind, progress, data);
    });
}

std::wstring AnsiPath(const char* path) {
    int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

}  // namespace plugin
