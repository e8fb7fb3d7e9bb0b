#pragma once
// The central directory: found through the end record, read in one piece, decoded record by
// record. Every length it contains is checked against the bytes that are really there.
#include <cstdint>
#include <vector>
#include "spi/common/ByteSource.h"
#include "spi/zip/ZipFormat.h"

namespace zip {

// Where each piece (disk) of a split archive starts in the joined source; empty for an archive
// in one piece, whose offsets all count from the start of the source.
using DiskStarts = std::vector<uint64_t>;

struct DirectoryLocation {
    uint64_t offset = 0;       // of the first central record, as found in the source
    uint64_t size = 0;
    uint64_t entryCount = 0;   // as the end record states it
    uint64_t prefixBytes = 0;  // bytes in front of the archive its offsets do not count
    DiskStarts disks{0};       // where each piece starts
};

// Finds the end record (and the ZIP64 end record it may point to). A split archive's end record
// must be on its last piece, and name as many pieces as there are. SpiResult.
int LocateDirectory(ByteSource& source, DirectoryLocation* location, const DiskStarts& disks = {});

// Decodes the central record at `record`, of which `available` bytes exist; *length receives
// the record's size. Offsets in *entry are as stored (prefix bytes not yet added). SpiResult.
int DecodeRecord(const uint8_t* record, size_t available, Entry* entry, size_t* length);

// Hands out the records of the whole directory in order.
class DirectoryReader {
public:
    int Open(ByteSource& source, const DiskStarts& disks = {});  // SpiResult
    // The next record, with source offsets; *done is set after the last one. SpiResult.
    int Next(Entry* entry, bool* done);
    // An upper bound of the records Next will hand out.
    uint64_t MaxEntries() const { return bytes_.size() / CentralHeaderSize; }
    // Where the directory lies, once open.
    const DirectoryLocation& Location() const { return location_; }
    // Decodes the record that starts at `recordOffset` of the source, as ReadRecordAt does,
    // from the directory in memory. SpiResult.
    int RecordAt(uint64_t recordOffset, Entry* entry) const;

private:
    DirectoryLocation location_;
    std::vector<uint8_t> bytes_;
    size_t cursor_ = 0;
    uint64_t index_ = 0;
};

// Decodes the one central record that starts at `recordOffset` of the source. SpiResult.
int ReadRecordAt(ByteSource& source, uint64_t recordOffset, Entry* entry, const DiskStarts& disks = {});

// Whether the source holds an archive with at least one entry: the end record, the directory
// it points to and the local header of the first entry must agree. Bytes in front of the
// archive are taken when its offsets count them (its maker knew of them) or, whatever its
// offsets, when `foreignBytesTaken` (they are a self-extractor's program or anything else but
// another archive, whose member the ZIP would be). Reads at most the source's last 64 KB and
// two records, however large it is.
bool HoldsArchive(ByteSource& source, bool foreignBytesTaken, const DiskStarts& disks = {});

}  // namespace zip
