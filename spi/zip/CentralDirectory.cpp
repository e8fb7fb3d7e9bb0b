#include "spi/zip/CentralDirectory.h"
#include <algorithm>
#include <cstring>
#include "spi/common/SpiResult.h"
#include "spi/common/codecs/ByteOrder.h"
#include "spi/zip/ExtraFields.h"

namespace zip {

using codecs::ReadLe16;
using codecs::ReadLe32;
using codecs::ReadLe64;

namespace {

constexpr uint64_t FourGiB = uint64_t{1} << 32;

// The end record nearest the end of the source whose comment fits in the source.
int FindEndRecord(ByteSource& source, uint64_t* endRecord, uint8_t fields[EndRecordSize]) {
    uint64_t size = source.Size();
    if (size < EndRecordSize) return SpiUnknownFormat;

    // Usually the record is the last thing in the file.
    if (!source.ReadAt(size - EndRecordSize, fields, EndRecordSize)) return SpiReadError;
    if (ReadLe32(fields) == EndRecordSignature && ReadLe16(fields + 20) == 0) {
        *endRecord = size - EndRecordSize;
        return SpiSuccess;
    }

    size_t tailSize = static_cast<size_t>(std::min<uint64_t>(size, EndRecordSize + MaxCommentSize));
    std::vector<uint8_t> tail(tailSize);
    uint64_t tailStart = size - tailSize;
    if (!source.ReadAt(tailStart, tail.data(), tailSize)) return SpiReadError;
    for (size_t at = tailSize - EndRecordSize + 1; at-- > 0;) {
        const uint8_t* p = tail.data() + at;
        if (ReadLe32(p) != EndRecordSignature) continue;
        if (at + EndRecordSize + ReadLe16(p + 20) > tailSize) continue;
        memcpy(fields, p, EndRecordSize);
        *endRecord = tailStart + at;
        return SpiSuccess;
    }
    return SpiUnknownFormat;
}

// Replaces the 32-bit values of the end record with those of the ZIP64 end record, if there is
// one; *directoryEnd receives where the directory must end.
// The disk numbers too: *disk is the piece the end record is on, *directoryDisk the one the
// directory starts on.
int ApplyZip64EndRecord(ByteSource& source, uint64_t endRecord, DirectoryLocation* location,
                        uint64_t* directoryEnd, uint32_t* disk, uint32_t* directoryDisk) {
    *directoryEnd = endRecord;
    if (endRecord < Zip64LocatorSize + Zip64EndRecordSize) return SpiSuccess;
    uint8_t locator[Zip64LocatorSize];
    if (!source.ReadAt(endRecord - Zip64LocatorSize, locator, sizeof locator)) return SpiReadError;
    if (ReadLe32(locator) != Zip64LocatorSignature) return SpiSuccess;
    uint32_t recordDisk = ReadLe32(locator + 4);
    if (recordDisk >= location->disks.size() || ReadLe32(locator + 16) > location->disks.size())
        return SpiUnknownFormat;  // more disks than there are pieces

    // Where the record says it is, or right in front of the locator when bytes were prepended.
    uint64_t candidates[2] = {location->disks[recordDisk] + ReadLe64(locator + 8),
                              endRecord - Zip64LocatorSize - Zip64EndRecordSize};
    for (uint64_t at : candidates) {
        uint8_t record[Zip64EndRecordSize];
        if (!source.Contains(at, sizeof record) || at >= endRecord) continue;
        if (!source.ReadAt(at, record, sizeof record)) return SpiReadError;
        if (ReadLe32(record) != Zip64EndRecordSignature) continue;
        *disk = ReadLe32(record + 16);
        *directoryDisk = ReadLe32(record + 20);
        location->entryCount = ReadLe64(record + 32);
        location->size = ReadLe64(record + 40);
        location->offset = ReadLe64(record + 48);
        *directoryEnd = at;
        return SpiSuccess;
    }
    return SpiBrokenData;
}

bool StartsWithCentralRecord(ByteSource& source, uint64_t offset) {
    uint8_t signature[4];
    return source.Contains(offset, 4) && source.ReadAt(offset, signature, 4) &&
           ReadLe32(signature) == CentralHeaderSignature;
}

// Makes the local header's offset one in the source: from the start of its piece, past any
// bytes in front of the archive. In an archive of one piece, the piece a record names is not
// looked at: nothing else could be meant.
int PlaceLocalHeader(const DirectoryLocation& location, Entry* entry) {
    if (location.disks.size() > 1) {
        if (entry->disk >= location.disks.size()) return SpiBrokenData;
        entry->localHeaderOffset += location.disks[entry->disk];
    }
    entry->localHeaderOffset += location.prefixBytes;
    return SpiSuccess;
}

}  // namespace

int LocateDirectory(ByteSource& source, DirectoryLocation* location, const DiskStarts& disks) {
    if (!disks.empty()) location->disks = disks;
    uint64_t endRecord = 0;
    uint8_t fields[EndRecordSize];
    int result = FindEndRecord(source, &endRecord, fields);
    if (result != SpiSuccess) return result;

    uint32_t disk = ReadLe16(fields + 4), directoryDisk = ReadLe16(fields + 6);
    location->entryCount = ReadLe16(fields + 10);
    location->size = ReadLe32(fields + 12);
    location->offset = ReadLe32(fields + 16);
    uint64_t directoryEnd = endRecord;
    result = ApplyZip64EndRecord(source, endRecord, location, &directoryEnd, &disk, &directoryDisk);
    if (result != SpiSuccess) return result;
    // A piece missing, or a piece of a split archive opened alone.
    if (disk + 1 != location->disks.size() || directoryDisk > disk) return SpiUnknownFormat;

    if (location->size > directoryEnd) return SpiBrokenData;
    if (location->entryCount > location->size / CentralHeaderSize) return SpiBrokenData;
    if (location->size == 0) {
        location->offset = directoryEnd;
        location->prefixBytes = 0;
        return SpiSuccess;
    }
    // The directory lies where the end record says, or (bytes prepended to the archive)
    // right in front of the end records.
    uint64_t stated = location->disks[directoryDisk] + location->offset;
    location->offset = stated;
    if (stated <= directoryEnd && location->size <= directoryEnd - stated &&
        StartsWithCentralRecord(source, stated)) {
        location->prefixBytes = 0;
        return SpiSuccess;
    }
    uint64_t actual = directoryEnd - location->size;
    bool split = location->disks.size() > 1;  // its pieces' makers knew of no bytes in front
    if (split || actual <= stated || !StartsWithCentralRecord(source, actual)) return SpiBrokenData;
    location->offset = actual;
    // A writer without ZIP64 records cut the directory's offset to 32 bits once the archive
    // passed 4 GiB: whole multiples of 4 GiB short are that, not bytes in front.
    bool zip64 = directoryEnd != endRecord;
    location->prefixBytes = !zip64 && (actual - stated) % FourGiB == 0 ? 0 : actual - stated;
    return SpiSuccess;
}

int DecodeRecord(const uint8_t* record, size_t available, Entry* entry, size_t* length) {
    if (available < CentralHeaderSize || ReadLe32(record) != CentralHeaderSignature) return SpiBrokenData;
    size_t nameLength = ReadLe16(record + 28);
    size_t extraLength = ReadLe16(record + 30);
    size_t commentLength = ReadLe16(record + 32);
    size_t total = CentralHeaderSize + nameLength + extraLength + commentLength;
    if (total > available) return SpiBrokenData;

    *entry = Entry();
    entry->flags = ReadLe16(record + 8);
    entry->method = ReadLe16(record + 10);
    entry->dosTime = ReadLe16(record + 12);
    entry->dosDate = ReadLe16(record + 14);
    entry->crc = ReadLe32(record + 16);
    entry->packedSize = ReadLe32(record + 20);
    entry->unpackedSize = ReadLe32(record + 24);
    entry->directoryAttribute = (ReadLe32(record + 38) & DosDirectoryAttribute) != 0;
    entry->localHeaderOffset = ReadLe32(record + 42);
    entry->disk = ReadLe16(record + 34);
    entry->name.assign(reinterpret_cast<const char*>(record + CentralHeaderSize), nameLength);
    entry->extraLength = static_cast<uint16_t>(extraLength);
    ReadExtraFields(record + CentralHeaderSize + nameLength, extraLength, entry);
    if (entry->packedSize == Unknown32 || entry->unpackedSize == Unknown32 ||
        entry->localHeaderOffset == Unknown32)
        return SpiBrokenData;  // a ZIP64 value that its extra field does not give
    *length = total;
    return SpiSuccess;
}

int DirectoryReader::Open(ByteSource& source, const DiskStarts& disks) {
    int result = LocateDirectory(source, &location_, disks);
    if (result != SpiSuccess) return result;
    if (location_.size > SIZE_MAX) return SpiNoMemory;
    try {
        bytes_.resize(static_cast<size_t>(location_.size));
    } catch (const std::bad_alloc&) {
        return SpiNoMemory;
    }
    if (!source.ReadAt(location_.offset, bytes_.data(), bytes_.size())) return SpiReadError;
    cursor_ = 0;
    index_ = 0;
    return SpiSuccess;
}

int DirectoryReader::Next(Entry* entry, bool* done) {
    // The stated count may have wrapped around in archives of many entries, so the records
    // are read for as long as the directory holds them.
    size_t left = bytes_.size() - cursor_;
    if (left < 4 || ReadLe32(bytes_.data() + cursor_) != CentralHeaderSignature) {
        *done = true;
        return index_ >= location_.entryCount ? SpiSuccess : SpiBrokenData;
    }
    size_t length = 0;
    int result = DecodeRecord(bytes_.data() + cursor_, left, entry, &length);
    if (result != SpiSuccess) return result;
    entry->recordOffset = location_.offset + cursor_;
    result = PlaceLocalHeader(location_, entry);
    if (result != SpiSuccess) return result;
    cursor_ += length;
    ++index_;
    *done = false;
    return SpiSuccess;
}

int DirectoryReader::RecordAt(uint64_t recordOffset, Entry* entry) const {
    if (recordOffset < location_.offset || recordOffset - location_.offset >= bytes_.size()) return SpiBrokenData;
    size_t at = static_cast<size_t>(recordOffset - location_.offset);
    size_t length = 0;
    int result = DecodeRecord(bytes_.data() + at, bytes_.size() - at, entry, &length);
    if (result != SpiSuccess) return result;
    entry->recordOffset = recordOffset;
    return PlaceLocalHeader(location_, entry);
}

namespace {

// The central record at `recordOffset` of the directory at `location`.
int ReadRecordIn(ByteSource& source, const DirectoryLocation& location, uint64_t recordOffset, Entry* entry) {
    uint64_t end = location.offset + location.size;
    if (recordOffset < location.offset || recordOffset >= end) return SpiBrokenData;

    // The fixed part says how long the whole record is.
    uint64_t available = end - recordOffset;
    if (available < CentralHeaderSize) return SpiBrokenData;
    std::vector<uint8_t> record(CentralHeaderSize);
    if (!source.ReadAt(recordOffset, record.data(), CentralHeaderSize)) return SpiReadError;
    if (ReadLe32(record.data()) != CentralHeaderSignature) return SpiBrokenData;
    size_t length = CentralHeaderSize + ReadLe16(record.data() + 28) + ReadLe16(record.data() + 30) +
                    ReadLe16(record.data() + 32);
    if (length > available) return SpiBrokenData;
    record.resize(length);
    if (!source.ReadAt(recordOffset + CentralHeaderSize, record.data() + CentralHeaderSize,
                       length - CentralHeaderSize))
        return SpiReadError;
    int result = DecodeRecord(record.data(), length, entry, &length);
    if (result != SpiSuccess) return result;
    entry->recordOffset = recordOffset;
    return PlaceLocalHeader(location, entry);
}

}  // namespace

int ReadRecordAt(ByteSource& source, uint64_t recordOffset, Entry* entry, const DiskStarts& disks) {
    DirectoryLocation location;
    int result = LocateDirectory(source, &location, disks);
    if (result != SpiSuccess) return result;
    return ReadRecordIn(source, location, recordOffset, entry);
}

bool HoldsArchive(ByteSource& source, bool foreignBytesTaken, const DiskStarts& disks) {
    DirectoryLocation location;
    if (LocateDirectory(source, &location, disks) != SpiSuccess || location.size == 0) return false;
    if (location.prefixBytes != 0 && !foreignBytesTaken) return false;
    Entry first;
    if (ReadRecordIn(source, location, location.offset, &first) != SpiSuccess) return false;
    uint8_t signature[4];
    return source.Contains(first.localHeaderOffset, sizeof signature) &&
           source.ReadAt(first.localHeaderOffset, signature, sizeof signature) &&
           ReadLe32(signature) == LocalHeaderSignature;
}

}  // namespace zip
