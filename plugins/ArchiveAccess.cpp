// Reading archives through the plug-ins: choosing the plug-in, listing, fetching one entry.
#include <cstring>
#include <utility>
#include "plugins/PluginBlock.h"
#include "plugins/PluginTable.h"

namespace {

constexpr size_t RecordSize = sizeof(ArchiveEntry);
constexpr size_t FieldSize = sizeof(ArchiveEntry::path);

// The first bytes of the file into a zero-filled buffer; false when it cannot be opened.
bool ReadArchiveHeader(const char* archivePath, char (&header)[SpiHeaderBufferSize]) {
    memset(header, 0, sizeof header);
    HANDLE file = CreateFileA(archivePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD total = 0;
    DWORD got = 0;
    while (total < SpiHeaderBytes &&
           ReadFile(file, header + total, static_cast<DWORD>(SpiHeaderBytes - total), &got, nullptr) && got > 0) {
        total += got;
    }
    CloseHandle(file);
    return true;
}

bool NeedsCompleting(const ArchiveEntry& record) {
    return record.packedSize == 0 || record.position == 0 || record.unpackedSize == 0;
}

// path immediately followed by fileName, each read no further than its field.
void JoinedName(const ArchiveEntry& record, char (&name)[2 * FieldSize + 1]) {
    size_t pathLength = strnlen(record.path, FieldSize);
    size_t fileLength = strnlen(record.fileName, FieldSize);
    memcpy(name, record.path, pathLength);
    memcpy(name + pathLength, record.fileName, fileLength);
    name[pathLength + fileLength] = '\0';
}

}  // namespace

PluginResult CPluginTable::ChoosePlugin(const char* archivePath, int* slot) const {
    char header[SpiHeaderBufferSize];
    if (!archivePath || !ReadArchiveHeader(archivePath, header)) return ArchiveNotOpened;
    for (int i = 0; i < static_cast<int>(plugins_.size()); ++i) {
        const EntryPoints* calls = ArchiveCalls(i);
        if (!calls || calls->isSupported(archivePath, reinterpret_cast<ULONG_PTR>(header)) == 0) continue;
        *slot = i;
        return PluginSucceeded;
    }
    return NoPluginAccepts;
}

PluginResult CPluginTable::CompleteRecords(const EntryPoints& calls, const char* archivePath, unsigned char* bytes,
                                           size_t size, size_t* count) const {
    size_t n = 0;
    // The list ends at the first record whose first byte is 0. Only whole records inside the
    // block count: a list without that record ends with the block.
    while ((n + 1) * RecordSize <= size && bytes[n * RecordSize] != 0) {
        ArchiveEntry* record = reinterpret_cast<ArchiveEntry*>(bytes + n * RecordSize);
        if (NeedsCompleting(*record)) {
            char name[2 * FieldSize + 1];
            JoinedName(*record, name);
            if (calls.getFileInfo(archivePath, 0, name, 0, record) != 0) return EntryInfoFailed;
        }
        ++n;
    }
    *count = n;
    return PluginSucceeded;
}

PluginResult CPluginTable::CopyEntries(const EntryPoints& calls, const char* archivePath, EntryList* entries) const {
    HLOCAL handle = nullptr;
    int result = calls.getArchiveInfo(archivePath, 0, 0, &handle);
    PluginBlock block(handle);
    SIZE_T size = block.Size();
    // A list handed over is read whatever the result says; without one, the "stopped" result
    // means the user cancelled (a password for the archive's names).
    if (size == 0) return result == SpiStopped ? StoppedByUser : ArchiveInfoMissing;
    unsigned char* bytes = block.Lock();
    if (!bytes) return BlockNotLocked;
    size_t count = 0;
    PluginResult completed = CompleteRecords(calls, archivePath, bytes, size, &count);
    if (completed != PluginSucceeded) return completed;

    if (entries) entries->Adopt(std::move(block), count);
    return PluginSucceeded;
}

ArchiveListing CPluginTable::ListArchive(const char* archivePath, EntryList* entries) {
    ArchiveListing listing;
    if (archivePath) listing.archive = ReadArchiveIdentity(archivePath);
    int chosen = NoSlot;
    listing.result = ChoosePlugin(archivePath, &chosen);
    if (listing.Listed()) listing.result = CopyEntries(plugins_[chosen].calls, archivePath, entries);
    if (listing.Listed()) listing.slot = chosen;
    return listing;
}

PluginResult CPluginTable::FetchEntry(int index, const char* archivePath, const ArchiveEntry* entry,
                                      PluginBlock* fetched) {
    if (fetched) *fetched = PluginBlock();
    const EntryPoints* calls = ArchiveCalls(index);
    if (!calls) return PluginNotBound;
    if (!fetched) return EntryBufferNotAllocated;
    if (!entry || entry->fileName[0] == '\0') return PluginSucceeded;

    HLOCAL handle = nullptr;
    int result = calls->getFile(archivePath, entry->position, reinterpret_cast<LPSTR>(&handle), SpiOutputToMemory,
                                NoProgress, 0);
    PluginBlock block(handle);
    if (result != 0) return result == SpiStopped ? StoppedByUser : EntryNotUnpacked;
    // An empty file is legitimate, and plug-ins hand it over in different ways: no block, an
    // empty one, or one that cannot be locked. It is fetched as no block at all.
    bool emptyEntry = entry->unpackedSize == 0;
    SIZE_T blockSize = block.Size();
    if (blockSize == 0) return emptyEntry ? PluginSucceeded : EntryNotUnpacked;
    // Callers write unpackedSize bytes; a shorter block would have them read past its end.
    if (blockSize < entry->unpackedSize) return EntryNotUnpacked;
    if (!block.Lock()) return emptyEntry ? PluginSucceeded : BlockNotLocked;
    *fetched = std::move(block);
    return PluginSucceeded;
}
