// The exports of Lha.spi: LHA archives (.lzh) through the Susie archive plug-in interface.
#include <windows.h>
#include <cstring>
#include <new>
#include <string>
#include <vector>
#include "plugins/SusiePlugin.h"
#include "spi/common/ArchiveCache.h"
#include "spi/common/CallbackProgress.h"
#include "spi/common/FileSource.h"
#include "spi/common/SpiResult.h"
#include "spi/lha/EntryName.h"
#include "spi/lha/EntryRecord.h"
#include "spi/lha/EntryUnpacker.h"
#include "spi/lha/LhaArchive.h"
#include "spi/lha/OutputSinks.h"
#include "text/Cp932.h"

using namespace lha;

namespace {

constexpr unsigned InputKindMask = 0x07;     // 0: the source is a file
constexpr unsigned OutputKindShift = 8;      // 0: a file in a folder, 1: a memory block
constexpr unsigned OutputKindMask = 0x07;
constexpr unsigned IgnoreCaseFlag = 0x80;    // GetFileInfo: compare names without letter case
constexpr ULONG_PTR LowestAddress = 0x10000; // smaller values are file handles, never buffers

const char* PluginText(int infono) {
    switch (infono) {
    case 0: return "00AM";
    case 1: return "LHA 書庫 Plug-in for Varnito 1.0 (lh0/lh4/lh5/lh6/lh7)";
    case 2: return "*.lzh";
    case 3: return "LHA 書庫";
    default: return nullptr;
    }
}

// The archive file a host reads entry by entry stays open between calls.
ArchiveCache<LhaArchive> lastArchive;

// The headers of the archive from `start` on: those kept with the archive, or, from another
// start, walked into `own` for this call alone.
const HeaderList& HeadersFrom(LhaArchive& archive, uint64_t start, std::unique_ptr<HeaderList>* own) {
    const HeaderList* kept = archive.HeadersFrom(start);
    if (kept) return *kept;
    *own = std::make_unique<HeaderList>(archive.Source(), start);
    return **own;
}

// The header of the entry a host names by its position: from the walk when there was one,
// else read from the file (an entry before damage can still be unpacked).
int HeaderAt(LhaArchive& archive, LONG_PTR position, Header* header) {
    if (position < 0) return SpiBrokenData;
    const HeaderList* kept = archive.KeptHeaders();
    const Header* walked = kept ? kept->At(static_cast<uint64_t>(position)) : nullptr;
    HeaderStatus status = HeaderStatus::Read;
    if (walked) *header = *walked;
    else status = ReadHeader(archive.Source(), static_cast<uint64_t>(position), header);
    switch (status) {
    case HeaderStatus::Read: return IsKnownMethod(*header) ? SpiSuccess : SpiUnknownFormat;
    case HeaderStatus::Unsupported: return SpiUnknownFormat;
    default: return SpiBrokenData;
    }
}

int UnpackToMemory(ByteSource& source, const Header& header, HLOCAL* destination, ProgressReport& progress) {
    // An empty entry still gets a block, of one byte: hosts write unpackedSize bytes of it.
    const size_t size = header.IsFolder() ? 0 : header.unpackedSize;
    HLOCAL block = LocalAlloc(LMEM_MOVEABLE, size > 0 ? size : 1);
    if (!block) return SpiNoMemory;
    auto* bytes = static_cast<uint8_t*>(LocalLock(block));
    if (!bytes) {
        LocalFree(block);
        return SpiMemoryError;
    }
    MemorySink sink(bytes, size);
    int result = UnpackEntry(source, header, sink, &progress);
    LocalUnlock(block);
    if (result != SpiSuccess) {
        LocalFree(block);
        return result;
    }
    *destination = block;
    return SpiSuccess;
}

// The file an entry is written to: its file name (never its folders) inside `folder`.
bool OutputPath(const char* folder, const Header& header, std::string* path) {
    const std::string fileName = header.name.substr(FolderPartLength(header.name));
    if (fileName.empty() || fileName == "." || fileName == ".." || fileName.find(':') != std::string::npos) {
        return false;
    }
    *path = folder;
    if (!path->empty() && !cp932::EndsWithSeparator(*path)) path->push_back('\\');
    *path += fileName;
    return path->size() < MAX_PATH;
}

void SetModificationTime(HANDLE file, int32_t timestamp) {
    const uint64_t ticks = (static_cast<int64_t>(timestamp) * 10000000) + 116444736000000000;
    FILETIME time = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SetFileTime(file, nullptr, nullptr, &time);
}

int UnpackToFile(ByteSource& source, const Header& header, const char* folder, ProgressReport& progress) {
    if (header.IsFolder()) return SpiSuccess;
    std::string path;
    if (!folder || !OutputPath(folder, header, &path)) return SpiInternalError;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SpiInternalError;
    FileSink sink(file);
    int result = UnpackEntry(source, header, sink, &progress);
    if (result == SpiSuccess) SetModificationTime(file, EntryTimestamp(header));
    CloseHandle(file);
    if (result != SpiSuccess) DeleteFileA(path.c_str());   // no half-written file stays behind
    return result;
}

}  // namespace

SPI_EXPORT int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen) {
    const char* text = PluginText(infono);
    if (!text || !buf || buflen <= 0) return 0;
    return static_cast<int>(CopyBounded(buf, static_cast<size_t>(buflen), text, strlen(text)));
}

SPI_EXPORT int WINAPI IsSupported(LPCSTR filename, ULONG_PTR header) {
    if (JoinedPieces::IsLaterPiece(filename)) return 0;
    if (header >= LowestAddress) return LooksLikeHeader(reinterpret_cast<const uint8_t*>(header), SpiHeaderBytes);
    // Not a buffer: read the beginning of the named file instead.
    FileSource source(filename);
    uint8_t bytes[64] = {};
    size_t count = static_cast<size_t>(source.Size() < sizeof bytes ? source.Size() : sizeof bytes);
    return source.ReadAt(0, bytes, count) && LooksLikeHeader(bytes, count);
}

SPI_EXPORT int WINAPI GetArchiveInfo(LPCSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle) {
    if (!handle) return SpiInternalError;
    *handle = nullptr;
    if ((flags & InputKindMask) != 0) return SpiNotImplemented;
    try {
        std::shared_ptr<LhaArchive> archive = lastArchive.Open(src);
        if (!archive || offset < 0) return SpiReadError;
        std::unique_ptr<HeaderList> own;
        const HeaderList& list = HeadersFrom(*archive, static_cast<uint64_t>(offset), &own);
        if (list.WalkResult() != SpiSuccess) return list.WalkResult();

        // The records, then the all-zero record that ends the list.
        const size_t bytes = (list.Headers().size() + 1) * sizeof(ArchiveEntry);
        HLOCAL block = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, bytes);
        if (!block) return SpiNoMemory;
        auto* records = static_cast<ArchiveEntry*>(LocalLock(block));
        if (!records) {
            LocalFree(block);
            return SpiMemoryError;
        }
        for (size_t i = 0; i < list.Headers().size(); ++i) FillRecord(list.Headers()[i], &records[i]);
        LocalUnlock(block);
        *handle = block;
        return SpiSuccess;
    } catch (const std::bad_alloc&) {
        return SpiNoMemory;
    }
}

SPI_EXPORT int WINAPI GetFileInfo(LPCSTR src, LONG_PTR offset, LPCSTR name, unsigned int flags, ArchiveEntry* entry) {
    if (!name || !entry) return SpiInternalError;
    if ((flags & InputKindMask) != 0) return SpiNotImplemented;
    try {
        std::shared_ptr<LhaArchive> archive = lastArchive.Open(src);
        if (!archive || offset < 0) return SpiReadError;
        std::unique_ptr<HeaderList> own;
        const HeaderList& list = HeadersFrom(*archive, static_cast<uint64_t>(offset), &own);
        Header header;
        int result = list.Find(name, (flags & IgnoreCaseFlag) != 0, &header);
        if (result == SpiSuccess) FillRecord(header, entry);
        return result;
    } catch (const std::bad_alloc&) {
        return SpiNoMemory;
    }
}

SPI_EXPORT int WINAPI GetFile(LPCSTR src, LONG_PTR position, LPSTR dest, unsigned int flags,
                              SpiProgressCallback progress, LONG_PTR data) {
    if ((flags & InputKindMask) != 0) return SpiNotImplemented;
    try {
        std::shared_ptr<LhaArchive> archive = lastArchive.Open(src);
        if (!archive) return SpiReadError;
        Header header;
        int result = HeaderAt(*archive, position, &header);
        if (result != SpiSuccess) return result;
        CallbackProgress report(progress, data);
        switch ((flags >> OutputKindShift) & OutputKindMask) {
        case 0: return UnpackToFile(archive->Source(), header, dest, report);
        case 1:
            if (!dest) return SpiInternalError;
            return UnpackToMemory(archive->Source(), header, reinterpret_cast<HLOCAL*>(dest), report);
        default: return SpiNotImplemented;
        }
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
