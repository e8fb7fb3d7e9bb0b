// An archive's list from its plug-in, into the host's entries: through GetArchiveInfo,
// GetArchiveInfoW or GetArchiveListW, whichever set of exports the plug-in is read through.
#include <windows.h>
#include <cstring>
#include <cwchar>
#include <utility>
#include "plugins/PluginTable.h"

namespace {

constexpr size_t NameField = sizeof(ArchiveEntry::path);
constexpr UINT CodePage932 = 932;

// GetArchiveInfo's result without a block: the "stopped" result is the user's cancel.
PluginResult NoListResult(int result) { return result == SpiStopped ? StoppedByUser : ArchiveInfoMissing; }

// Records of a list block: the list ends at the first record whose first byte is 0. Only whole
// records inside the block count: a list without that record ends with the block.
size_t CountRecords(const unsigned char* bytes, size_t size, size_t recordSize) {
    size_t n = 0;
    while ((n + 1) * recordSize <= size && bytes[n * recordSize] != 0) ++n;
    return n;
}

template <typename Record>
bool NeedsCompleting(const Record& record) {
    return record.packedSize == 0 || record.position == 0 || record.unpackedSize == 0;
}

// A name field filled to its end holds a name the plug-in cut to fit.
bool FieldIsCut(const char* field) { return memchr(field, 0, NameField) == nullptr; }
bool FieldIsCut(const wchar_t* field) { return wmemchr(field, 0, NameField) == nullptr; }

template <typename Record>
ListedEntry NumbersOf(const Record& record) {
    ListedEntry entry = {};
    memcpy(entry.method, record.method, sizeof entry.method);
    entry.crc = record.crc;
    entry.position = record.position;
    entry.packedSize = record.packedSize;
    entry.unpackedSize = record.unpackedSize;
    entry.timestamp = record.timestamp;
    return entry;
}

// A terminated code page 932 field as UTF-16; the length in units.
size_t Widen(const char* field, wchar_t (&out)[NameField + 1]) {
    int length = static_cast<int>(strnlen(field, NameField));
    int units = length ? MultiByteToWideChar(CodePage932, 0, field, length, out, NameField) : 0;
    out[units > 0 ? units : 0] = L'\0';
    return units > 0 ? static_cast<size_t>(units) : 0;
}

// path immediately followed by fileName, each read no further than its field.
template <typename Char>
std::basic_string<Char> JoinedName(const Char* path, const Char* fileName) {
    std::basic_string<Char> name(path, std::char_traits<Char>::length(path));
    name.append(fileName, std::char_traits<Char>::length(fileName));
    return name;
}

// Whether a record of GetArchiveListW's block lies whole in the `room` bytes left, with both
// names where its lengths say and terminated.
bool HoldsTogether(const ArchiveListRecord& record, const unsigned char* at, size_t room) {
    if (record.size < sizeof record || record.size % ArchiveListAlignment != 0 || record.size > room) return false;
    uint64_t nameUnits = uint64_t(record.pathLength) + record.fileNameLength + 2;
    if (sizeof record + nameUnits * sizeof(wchar_t) > record.size) return false;
    const wchar_t* path = reinterpret_cast<const wchar_t*>(at + sizeof record);
    return path[record.pathLength] == 0 && path[record.pathLength + 1 + record.fileNameLength] == 0;
}

}  // namespace

PluginResult CPluginTable::CopyAnsiEntries(const EntryPoints& calls, ListedArchive* listed) const {
    const char* archivePath = listed->pluginPath.c_str();
    HLOCAL handle = nullptr;
    int result = calls.getArchiveInfo(archivePath, 0, 0, &handle);
    PluginBlock block(handle);
    // A list handed over is read whatever the result says.
    if (block.Size() == 0) return NoListResult(result);
    unsigned char* bytes = block.Lock();
    if (!bytes) return BlockNotLocked;
    size_t count = CountRecords(bytes, block.Size(), sizeof(ArchiveEntry));
    EntryList& entries = listed->entries;
    entries.Reserve(count);
    for (size_t i = 0; i < count; ++i) {
        ArchiveEntry* record = reinterpret_cast<ArchiveEntry*>(bytes + i * sizeof(ArchiveEntry));
        if (FieldIsCut(record->path) || FieldIsCut(record->fileName)) {
            entries.CountUnshown();
            continue;
        }
        if (NeedsCompleting(*record) &&
            calls.getFileInfo(archivePath, 0, JoinedName(record->path, record->fileName).c_str(), 0, record) != 0)
            return EntryInfoFailed;
        // GetFileInfo wrote the record anew: its names are read within their fields again.
        if (FieldIsCut(record->path) || FieldIsCut(record->fileName)) {
            entries.CountUnshown();
            continue;
        }
        wchar_t path[NameField + 1], name[NameField + 1];
        size_t pathLength = Widen(record->path, path);
        size_t nameLength = Widen(record->fileName, name);
        entries.Add(NumbersOf(*record), path, pathLength, name, nameLength);
    }
    return PluginSucceeded;
}

PluginResult CPluginTable::CopyWideEntries(const EntryPoints& calls, ListedArchive* listed) const {
    const wchar_t* archivePath = listed->path.c_str();
    HLOCAL handle = nullptr;
    int result = calls.getArchiveInfoW(archivePath, 0, 0, &handle);
    PluginBlock block(handle);
    if (block.Size() == 0) return NoListResult(result);
    unsigned char* bytes = block.Lock();
    if (!bytes) return BlockNotLocked;
    size_t count = CountRecords(bytes, block.Size(), sizeof(ArchiveEntryW));
    EntryList& entries = listed->entries;
    entries.Reserve(count);
    for (size_t i = 0; i < count; ++i) {
        ArchiveEntryW* record = reinterpret_cast<ArchiveEntryW*>(bytes + i * sizeof(ArchiveEntryW));
        if (FieldIsCut(record->path) || FieldIsCut(record->fileName)) {
            entries.CountUnshown();
            continue;
        }
        if (NeedsCompleting(*record) &&
            calls.getFileInfoW(archivePath, 0, JoinedName(record->path, record->fileName).c_str(), 0, record) != 0)
            return EntryInfoFailed;
        if (FieldIsCut(record->path) || FieldIsCut(record->fileName)) {
            entries.CountUnshown();
            continue;
        }
        entries.Add(NumbersOf(*record), record->path, wcslen(record->path), record->fileName,
                    wcslen(record->fileName));
    }
    return PluginSucceeded;
}

PluginResult CPluginTable::CopyListedEntries(const EntryPoints& calls, ListedArchive* listed) const {
    HLOCAL handle = nullptr;
    int result = calls.getArchiveListW(listed->path.c_str(), 0, 0, &handle);
    PluginBlock block(handle);
    size_t size = block.Size();
    if (size == 0) return NoListResult(result);
    const unsigned char* bytes = block.Lock();
    if (!bytes) return BlockNotLocked;

    // The records, checked whole before any is taken; the names stay in the block.
    size_t count = 0;
    ArchiveListRecord record;
    for (size_t at = 0; at + sizeof record <= size; at += record.size, ++count) {
        memcpy(&record, bytes + at, sizeof record);
        if (record.size == 0) break;
        if (!HoldsTogether(record, bytes + at, size - at)) return EntryInfoFailed;
    }
    EntryList& entries = listed->entries;
    entries.Reserve(count);
    for (size_t at = 0, i = 0; i < count; at += record.size, ++i) {
        memcpy(&record, bytes + at, sizeof record);
        ListedEntry entry = NumbersOf(record);
        entry.path = reinterpret_cast<const wchar_t*>(bytes + at + sizeof record);
        entry.fileName = entry.path + record.pathLength + 1;
        entries.AddInPlace(entry);
    }
    entries.Keep(std::move(block));
    return PluginSucceeded;
}
