// The exports of the ZIP archive plug-in.
#include <zlib.h>
#include <cstring>
#include <memory>
#include "spi/common/ArchiveCache.h"
#include "spi/common/CallbackProgress.h"
#include "spi/common/OutputSinks.h"
#include "spi/common/SpiExports.h"
#include "spi/common/SpiResult.h"
#include "spi/zip/CentralDirectory.h"
#include "spi/zip/EntryExtractor.h"
#include "spi/zip/EntryRecord.h"
#include "spi/zip/NameIndex.h"
#include "spi/zip/ZipArchive.h"

namespace {

constexpr unsigned int InputKindMask = 0x7;      // 0: file named by src, 1: bytes at src
constexpr unsigned int InputFromMemory = 0x1;
constexpr unsigned int OutputKindShift = 8;      // 0: file in the folder dest, 1: new memory block
constexpr unsigned int OutputKindMask = 0x7;
constexpr unsigned int OutputToFolder = 0;
constexpr unsigned int OutputToMemory = 1;

int CopyInfoText(const char* text, LPSTR buf, int buflen) {
    if (!buf || buflen <= 0) return 0;
    size_t length = strnlen(text, static_cast<size_t>(buflen) - 1);
    memcpy(buf, text, length);
    buf[length] = '\0';
    return static_cast<int>(length);
}

bool StartsWith(const uint8_t* bytes, const char* signature, size_t length) {
    return memcmp(bytes, signature, length) == 0;
}

// A local file header, an empty archive's end record, or a split-archive marker in front of a
// local file header.
bool LooksLikeZip(const uint8_t* header) {
    return StartsWith(header, "PK\x03\x04", 4) || StartsWith(header, "PK\x05\x06", 4) ||
           StartsWith(header, "PK\x07\x08PK\x03\x04", 8) || StartsWith(header, "PK00PK\x03\x04", 8);
}

// The archive file a host reads entry by entry stays open between calls.
ArchiveCache<ZipArchive> lastArchive;

// An archive handed over in memory: `size` bytes at src. Null, with *result set, when the
// input is not one; *result is SpiSuccess with null for an archive in a file.
std::unique_ptr<MemorySource> MemoryInput(LPCSTR src, LONG_PTR size, unsigned int flags, int* result) {
    *result = SpiSuccess;
    if ((flags & InputKindMask) == 0) return nullptr;
    if ((flags & InputKindMask) != InputFromMemory) {
        *result = SpiNotImplemented;
    } else if (!src || size < 0) {
        *result = src ? SpiBrokenData : SpiReadError;
    } else {
        return std::make_unique<MemorySource>(src, static_cast<size_t>(size));
    }
    return nullptr;
}

int ExtractToMemory(ByteSource& source, const zip::Entry& entry, HLOCAL* handle, ProgressReport& progress) {
    if (entry.unpackedSize > SIZE_MAX) return SpiNoMemory;
    MemoryBlockSink sink(static_cast<size_t>(entry.unpackedSize));
    if (!sink.IsAllocated()) return SpiNoMemory;
    int result = zip::ExtractEntry(source, entry, sink, &progress);
    if (result == SpiSuccess) *handle = sink.Release();
    return result;
}

// Writes the entry under its file name into `folder`; a folder entry writes nothing.
int ExtractToFolder(ByteSource& source, const zip::Entry& entry, const ArchiveEntry& record,
                    const char* folder, ProgressReport& progress) {
    if (record.fileName[0] == '\0') return SpiSuccess;
    std::string target;
    if (!FolderFilePath(folder, record.fileName, &target)) return SpiInternalError;

    FileSink sink(target);
    if (!sink.IsOpen()) return SpiInternalError;
    int result = zip::ExtractEntry(source, entry, sink, &progress);
    if (result != SpiSuccess) return result;
    return sink.Finish(record.timestamp) ? SpiSuccess : SpiInternalError;
}

// Every entry of the directory as an ArchiveEntry record, in a new block that ends with a
// zero record.
int ListRecords(zip::DirectoryReader& reader, HLOCAL* handle) {
    int result = SpiSuccess;
    // Room for every record the directory can hold, and the zero record that ends the list;
    // each record is written whole, and the block shrinks to the records written.
    uint64_t capacity = reader.MaxEntries() + 1;
    if (capacity > SIZE_MAX / sizeof(ArchiveEntry)) return SpiNoMemory;
    LocalBlock block(static_cast<size_t>(capacity) * sizeof(ArchiveEntry));
    if (!block.Bytes()) return SpiNoMemory;
    ArchiveEntry* records = static_cast<ArchiveEntry*>(block.Bytes());
    size_t count = 0;
    for (;;) {
        zip::Entry entry;
        bool done = false, skip = false;
        result = reader.Next(&entry, &done);
        if (result != SpiSuccess) return result;
        if (done) break;
        if (count + 1 >= capacity) return SpiBrokenData;
        result = DescribeEntry(entry, &records[count], &skip);
        if (result != SpiSuccess) return result;
        if (!skip) ++count;
    }
    memset(&records[count], 0, sizeof(ArchiveEntry));
    HLOCAL shrunk = LocalReAlloc(block.Bytes(), (count + 1) * sizeof(ArchiveEntry), 0);
    HLOCAL whole = block.Release();
    *handle = shrunk ? shrunk : whole;
    return SpiSuccess;
}

// The record of a central record already decoded; SpiInternalError for one that names nothing.
int DescribeRecord(const zip::Entry& entry, ArchiveEntry* record) {
    ArchiveEntry described;
    bool skip = false;
    int result = DescribeEntry(entry, &described, &skip);
    if (result != SpiSuccess) return result;
    if (skip) return SpiInternalError;
    *record = described;
    return SpiSuccess;
}

}  // namespace

SPI_EXPORT int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen) {
    switch (infono) {
        case 0: return CopyInfoText("00AM", buf, buflen);
        case 1: return CopyInfoText("Varnito ZIP plug-in 1.0 (zlib " ZLIB_VERSION ")", buf, buflen);
        case 2: return CopyInfoText("*.zip", buf, buflen);
        case 3: return CopyInfoText("ZIP 書庫", buf, buflen);
        default: return 0;
    }
}

SPI_EXPORT int WINAPI IsSupported(LPCSTR filename, ULONG_PTR header) {
    if (JoinedPieces::IsLaterPiece(filename)) return 0;
    uint8_t bytes[SpiHeaderBufferSize] = {};
    if ((header & ~static_cast<ULONG_PTR>(0xFFFF)) != 0) {
        memcpy(bytes, reinterpret_cast<const void*>(header), 8);
    } else {
        // A value this small is an open file's handle (the older form of the call).
        DWORD read = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(header), bytes, SpiHeaderBytes, &read, nullptr)) return 0;
    }
    if (LooksLikeZip(bytes)) return 1;
    // A self-extracting program or other bytes in front of the archive: the end of the file
    // decides.
    if (!filename) return 0;
    try {
        JoinedPieces file(filename);
        return file.IsOpen() && zip::HoldsArchive(file) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

SPI_EXPORT int WINAPI GetArchiveInfo(LPCSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle) {
    if (!handle) return SpiInternalError;
    *handle = nullptr;
    try {
        int result = SpiSuccess;
        zip::DirectoryReader reader;
        // The end record locates everything, so the whole file is read whatever offset the
        // archive starts at.
        std::unique_ptr<MemorySource> memory = MemoryInput(src, offset, flags, &result);
        if (result != SpiSuccess) return result;
        if (memory) {
            result = reader.Open(*memory);
        } else {
            std::shared_ptr<ZipArchive> archive = lastArchive.Open(src);
            if (!archive) return SpiReadError;
            result = archive->Directory(&reader);
        }
        if (result != SpiSuccess) return result;
        return ListRecords(reader, handle);
    } catch (const std::bad_alloc&) {
        return SpiNoMemory;
    }
}

SPI_EXPORT int WINAPI GetFileInfo(LPCSTR src, LONG_PTR offset, LPCSTR name, unsigned int flags,
                                  ArchiveEntry* entry) {
    if (!name || !entry) return SpiInternalError;
    try {
        int result = SpiSuccess;
        zip::Entry found;
        std::unique_ptr<MemorySource> memory = MemoryInput(src, offset, flags, &result);
        if (result != SpiSuccess) return result;
        if (memory) {
            NameIndex index;
            uint64_t recordOffset = 0;
            result = index.Build(*memory);
            if (result == SpiSuccess) result = index.Find(name, &recordOffset);
            if (result == SpiSuccess) result = zip::ReadRecordAt(*memory, recordOffset, &found);
        } else {
            std::shared_ptr<ZipArchive> archive = lastArchive.Open(src);
            if (!archive) return SpiReadError;
            uint64_t recordOffset = 0;
            result = archive->FindName(name, &recordOffset);
            if (result == SpiSuccess) result = archive->RecordAt(recordOffset, &found);
        }
        if (result != SpiSuccess) return result;
        return DescribeRecord(found, entry);
    } catch (const std::bad_alloc&) {
        return SpiNoMemory;
    }
}

SPI_EXPORT int WINAPI GetFile(LPCSTR src, LONG_PTR position, LPSTR dest, unsigned int flags,
                              SpiProgressCallback progress, LONG_PTR data) {
    unsigned int outputKind = (flags >> OutputKindShift) & OutputKindMask;
    if (!dest) return SpiInternalError;
    if (outputKind == OutputToMemory) *reinterpret_cast<HLOCAL*>(dest) = nullptr;
    if ((flags & InputKindMask) != 0) return SpiNotImplemented;  // the entry is found by its position in a file
    if (outputKind != OutputToMemory && outputKind != OutputToFolder) return SpiNotImplemented;

    try {
        std::shared_ptr<ZipArchive> archive = lastArchive.Open(src);
        if (!archive) return SpiReadError;
        // The record's position is an unsigned 32-bit number; the 32-bit build receives it
        // as a signed one.
        uint64_t recordOffset = static_cast<ULONG_PTR>(position);
        zip::Entry entry;
        int result = archive->RecordAt(recordOffset, &entry);
        if (result != SpiSuccess) return result;
        ArchiveEntry record;
        bool skip = false;
        result = DescribeEntry(entry, &record, &skip);
        if (result != SpiSuccess) return result;
        result = zip::CheckExtractable(entry);
        if (result != SpiSuccess) return result;

        CallbackProgress report(progress, data);
        ByteSource& source = archive->Source();
        if (outputKind == OutputToMemory)
            return ExtractToMemory(source, entry, reinterpret_cast<HLOCAL*>(dest), report);
        if (skip) return SpiSuccess;
        return ExtractToFolder(source, entry, record, dest, report);
    } catch (const std::bad_alloc&) {
        return SpiNoMemory;
    }
}

// The archive kept open is closed when the host releases the library. (When the process
// ends, the system closes it; other threads may have ended holding the cache's lock.)
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID processEnds) {
    if (reason == DLL_PROCESS_DETACH && !processEnds) lastArchive.Close();
    return TRUE;
}
