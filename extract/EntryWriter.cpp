#include "extract/EntryWriter.h"
#include <windows.h>
#include "extract/PluginFileOutput.h"

namespace {
bool WriteBytes(const EntryFileTarget& target, const char* bytes, size_t size) {
    const OutputFileState& existing = target.existing;
    // A read-only file is refused even where the file system would let this process replace it.
    if (existing.isFolder || existing.IsReadOnly()) return false;
    if (existing.exists) return ReplaceExistingFile(target.path, existing, bytes, size, target.timestamp);
    return WriteNewFile(target.path, bytes, size, target.timestamp);
}
}  // namespace

EntryFileEnd WriteEntryFile(ArchiveHold& archive, const ListedEntry& entry, const EntryFileTarget& target,
                            int* pluginCode) {
    // A changed archive would hand over whatever its new entry at a listed position holds.
    if (!archive.StillAsListed()) return EntryFileEnd::ArchiveChanged;
    const ListedArchive& listed = archive.Archive();
    const OutputFileState& existing = target.existing;
    if (entry.unpackedSize >= LargeEntryBytes && entry.fileName[0]) {
        // Refused before gigabytes are unpacked for nothing.
        if (existing.isFolder || existing.IsReadOnly()) return EntryFileEnd::NotWritten;
        switch (WriteThroughPlugin(listed, entry, target.path, existing, target.timestamp, target.progress, pluginCode)) {
        case PluginFileEnd::Written:
            if (target.zone) target.zone->Mark(target.path);
            return EntryFileEnd::Written;
        case PluginFileEnd::NotFetched:
            return EntryFileEnd::NotFetched;
        case PluginFileEnd::NotWritten:
            return EntryFileEnd::NotWritten;
        case PluginFileEnd::NotOffered:
            break;  // into memory, as any entry
        }
    }
    PluginBlock fetched;  // the plug-in's own block, released on every path
    int code = listed.host->FetchEntry(listed, entry, &fetched);
    if (code < 0) {
        if (pluginCode) *pluginCode = code;
        return EntryFileEnd::NotFetched;
    }
    // FetchEntry hands over at least unpackedSize bytes (none for an empty entry).
    const char* bytes = reinterpret_cast<const char*>(fetched.Bytes());
    if (!WriteBytes(target, bytes, static_cast<size_t>(entry.unpackedSize))) return EntryFileEnd::NotWritten;
    if (target.zone) target.zone->Mark(target.path);
    return EntryFileEnd::Written;
}
