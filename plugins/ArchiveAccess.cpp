// Reading archives through the plug-ins: choosing the plug-in, listing, fetching one entry.
#include <cstring>
#include <utility>
#include "plugins/PluginBlock.h"
#include "plugins/PluginPath.h"
#include "plugins/PluginTable.h"
#include "text/LongPath.h"

namespace {

// The first bytes of the file into a zero-filled buffer; false when it cannot be opened.
bool ReadArchiveHeader(const std::wstring& archivePath, char (&header)[SpiHeaderBufferSize]) {
    memset(header, 0, sizeof header);
    HANDLE file = CreateFileW(ExtendedPath(archivePath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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

// GetFile's progress callback: the host's EntryProgress behind its data argument.
int WINAPI ReportProgress(int done, int total, LONG_PTR data) {
    EntryProgress* progress = reinterpret_cast<EntryProgress*>(data);
    return progress && !progress->Continue(done, total) ? 1 : 0;
}

constexpr unsigned int SpiOutputToFolder = 0x000;
constexpr int SpiNotOffered = -1;

}  // namespace

PluginResult CPluginTable::ChoosePlugin(const std::wstring& archivePath, int* slot, std::string* pluginPath) const {
    char header[SpiHeaderBufferSize];
    if (archivePath.empty() || !ReadArchiveHeader(archivePath, header)) return ArchiveNotOpened;
    ULONG_PTR headerAddress = reinterpret_cast<ULONG_PTR>(header);
    std::string ansiPath;
    bool ansiPathKnown = false;
    for (int i = 0; i < static_cast<int>(plugins_.size()); ++i) {
        const EntryPoints* calls = ArchiveCalls(i);
        if (!calls) continue;
        if (plugins_[i].slot.wide) {
            if (calls->isSupportedW(archivePath.c_str(), headerAddress) == 0) continue;
            pluginPath->clear();
        } else {
            if (!ansiPathKnown) ansiPath = AnsiPluginPath(archivePath);
            ansiPathKnown = true;
            if (ansiPath.empty() || calls->isSupported(ansiPath.c_str(), headerAddress) == 0) continue;
            *pluginPath = ansiPath;
        }
        *slot = i;
        return PluginSucceeded;
    }
    return NoPluginAccepts;
}

PluginResult CPluginTable::CopyEntries(const EntryPoints& calls, ListedArchive* listed) const {
    if (calls.getArchiveListW) return CopyListedEntries(calls, listed);
    if (calls.getArchiveInfoW) return CopyWideEntries(calls, listed);
    return CopyAnsiEntries(calls, listed);
}

PluginResult CPluginTable::ListArchive(const std::wstring& archivePath, ListedArchive* listed) {
    *listed = ListedArchive();
    listed->path = archivePath;
    if (!archivePath.empty()) listed->identity = ReadArchiveIdentity(archivePath);
    int chosen = NoSlot;
    PluginResult result = ChoosePlugin(archivePath, &chosen, &listed->pluginPath);
    if (result == PluginSucceeded) result = CopyEntries(plugins_[chosen].calls, listed);
    if (result != PluginSucceeded) {
        listed->entries = EntryList();
        return result;
    }
    listed->host = this;
    listed->slot = chosen;
    return PluginSucceeded;
}

PluginResult CPluginTable::FetchEntry(const ListedArchive& archive, const ListedEntry& entry, PluginBlock* fetched) {
    if (fetched) *fetched = PluginBlock();
    const EntryPoints* calls = archive.host == this ? ArchiveCalls(archive.slot) : nullptr;
    if (!calls) return PluginNotBound;
    if (!fetched) return EntryBufferNotAllocated;
    if (entry.fileName[0] == L'\0') return PluginSucceeded;

    HLOCAL handle = nullptr;
    LONG_PTR position = static_cast<LONG_PTR>(entry.position);
    int result = plugins_[archive.slot].slot.wide
                     ? calls->getFileW(archive.path.c_str(), position, reinterpret_cast<LPWSTR>(&handle),
                                       SpiOutputToMemory, NoProgress, 0)
                     : calls->getFile(archive.pluginPath.c_str(), position, reinterpret_cast<LPSTR>(&handle),
                                      SpiOutputToMemory, NoProgress, 0);
    PluginBlock block(handle);
    if (result != 0) return result == SpiStopped ? StoppedByUser : EntryNotUnpacked;
    // An empty file is legitimate, and plug-ins hand it over in different ways: no block, an
    // empty one, or one that cannot be locked. It is fetched as no block at all.
    bool emptyEntry = entry.unpackedSize == 0;
    SIZE_T blockSize = block.Size();
    if (blockSize == 0) return emptyEntry ? PluginSucceeded : EntryNotUnpacked;
    // Callers write unpackedSize bytes; a shorter block would have them read past its end.
    if (blockSize < entry.unpackedSize) return EntryNotUnpacked;
    if (!block.Lock()) return emptyEntry ? PluginSucceeded : BlockNotLocked;
    *fetched = std::move(block);
    return PluginSucceeded;
}

PluginResult CPluginTable::UnpackEntryInto(const ListedArchive& archive, const ListedEntry& entry,
                                           const std::wstring& folder, EntryProgress* progress) {
    const EntryPoints* calls = archive.host == this ? ArchiveCalls(archive.slot) : nullptr;
    if (!calls) return PluginNotBound;
    LONG_PTR position = static_cast<LONG_PTR>(entry.position);
    LONG_PTR data = reinterpret_cast<LONG_PTR>(progress);
    int result = SpiNotOffered;
    if (plugins_[archive.slot].slot.wide) {
        std::wstring destination = folder;
        result = calls->getFileW(archive.path.c_str(), position, &destination[0], SpiOutputToFolder, ReportProgress,
                                 data);
    } else {
        std::string destination = AnsiPluginPath(folder);
        if (destination.empty()) return FileOutputNotOffered;
        result = calls->getFile(archive.pluginPath.c_str(), position, &destination[0], SpiOutputToFolder,
                                ReportProgress, data);
    }
    if (result == SpiNotOffered) return FileOutputNotOffered;
    if (result == SpiStopped) return StoppedByUser;
    return result == 0 ? PluginSucceeded : EntryNotUnpacked;
}
