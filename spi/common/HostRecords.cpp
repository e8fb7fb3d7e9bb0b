#include "spi/common/HostRecords.h"
#include <cstddef>
#include <cstring>
#include "spi/common/WideUtf8.h"

namespace {

constexpr size_t NameRoom = 200;  // units of each name field, its terminator included

// The numbers of every record kind, in the order they come in ArchiveEntry and ArchiveEntryW.
template <class Entry>
void CopyNumbers(const RecordNumbers& numbers, Entry* entry) {
    memcpy(entry->method, numbers.method, sizeof entry->method);
    entry->position = numbers.position;
    entry->packedSize = numbers.packedSize;
    entry->unpackedSize = numbers.unpackedSize;
    entry->timestamp = numbers.timestamp;
    entry->crc = numbers.crc;
}

bool CopyAnsi(std::string_view name, char* field) {
    if (name.size() >= NameRoom) return false;
    memcpy(field, name.data(), name.size());
    return true;
}

// `field`: the name field's bytes in the packed record, which need not be aligned for wchar_t.
bool CopyWide(std::string_view name, unsigned char* field) {
    if (name.size() >= NameRoom && Utf16Length(name.data(), name.size()) >= NameRoom) return false;
    wchar_t units[NameRoom];
    Utf8ToUtf16(name.data(), name.size(), units);
    memcpy(field, units, Utf16Length(name.data(), name.size()) * sizeof(wchar_t));
    return true;
}

size_t Padded(size_t size) { return (size + ArchiveListAlignment - 1) / ArchiveListAlignment * ArchiveListAlignment; }

}  // namespace

bool ToAnsiEntry(const RecordNumbers& numbers, std::string_view path, std::string_view fileName, ArchiveEntry* entry) {
    memset(entry, 0, sizeof *entry);
    CopyNumbers(numbers, entry);
    return CopyAnsi(path, entry->path) && CopyAnsi(fileName, entry->fileName);
}

bool ToWideEntry(const KeptRecord& kept, ArchiveEntryW* entry) {
    memset(entry, 0, sizeof *entry);
    CopyNumbers(kept.numbers, entry);
    auto* bytes = reinterpret_cast<unsigned char*>(entry);
    return CopyWide(kept.path, bytes + offsetof(ArchiveEntryW, path)) &&
           CopyWide(kept.fileName, bytes + offsetof(ArchiveEntryW, fileName));
}

size_t ListRecordSize(const KeptRecord& kept) {
    size_t units = Utf16Length(kept.path.data(), kept.path.size()) + Utf16Length(kept.fileName.data(), kept.fileName.size());
    return Padded(sizeof(ArchiveListRecord) + (units + 2) * sizeof(wchar_t));
}

void WriteListRecord(const KeptRecord& kept, unsigned char* at) {
    ArchiveListRecord record = {};
    record.size = static_cast<uint32_t>(ListRecordSize(kept));
    record.crc = kept.numbers.crc;
    memcpy(record.method, kept.numbers.method, sizeof record.method);
    record.position = kept.numbers.position;
    record.packedSize = kept.numbers.packedSize;
    record.unpackedSize = kept.numbers.unpackedSize;
    record.timestamp = kept.numbers.timestamp;
    record.pathLength = static_cast<uint32_t>(Utf16Length(kept.path.data(), kept.path.size()));
    record.fileNameLength = static_cast<uint32_t>(Utf16Length(kept.fileName.data(), kept.fileName.size()));
    memcpy(at, &record, sizeof record);
    // Names start 8-byte aligned: the block is, and every record's size is a multiple of 8.
    wchar_t* path = reinterpret_cast<wchar_t*>(at + sizeof record);
    Utf8ToUtf16(kept.path.data(), kept.path.size(), path);
    path[record.pathLength] = L'\0';
    wchar_t* fileName = path + record.pathLength + 1;
    Utf8ToUtf16(kept.fileName.data(), kept.fileName.size(), fileName);
    unsigned char* end = reinterpret_cast<unsigned char*>(fileName + record.fileNameLength);
    memset(end, 0, at + record.size - end);  // the terminator and the padding
}
