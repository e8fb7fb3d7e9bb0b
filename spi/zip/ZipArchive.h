#pragma once
// A ZIP archive: a file the plug-in keeps open between calls (see ArchiveCache), or bytes a
// host hands over in memory for one call. Its central directory is read once, on first use,
// into the records; an entry is unpacked from its central record, found again in the directory
// read then.
#include <cstdint>
#include <string>
#include <vector>
#include "spi/common/ByteSource.h"
#include "spi/common/JoinedPieces.h"
#include "spi/common/RecordedArchive.h"
#include "spi/zip/CentralDirectory.h"
#include "spi/zip/EntryLayout.h"

namespace zip {
// Where each piece of a split ZIP starts; none for any other file (numbered pieces of a plain
// file make one disk).
DiskStarts DisksOf(const JoinedPieces& pieces);
}  // namespace zip

class ZipArchive : public RecordedArchive {
public:
    explicit ZipArchive(const wchar_t* path);
    // The archive in `size` bytes at `bytes`, which stay valid as long as this object.
    ZipArchive(const void* bytes, size_t size);

    int CheckUnpackable(size_t index) override;
    int UnpackEntry(size_t index, OutputSink& sink, ProgressReport& progress) override;

protected:
    int MakeRecords(CompactRecords* records) override;
    // Hosts have found ZIP entries by name in any letter case (the name in its own case first).
    bool MatchesAnyCase() const override { return true; }

private:
    int EntryOf(size_t index, zip::Entry* entry) const;
    // What an entry being listed gets from what follows it (EntryLayout): sizes cut to 32 bits,
    // the time of its local header.
    void PlaceEntry(zip::Entry* entry);
    ByteSource& Input() { return inMemory_ ? static_cast<ByteSource&>(memory_) : Source(); }

    MemorySource memory_;
    bool inMemory_;
    std::wstring path_;  // as the host named it: whose passwords an encrypted entry takes
    // Made with the records and not changed after them (RecordAt does not depend on where
    // Next stopped).
    zip::DirectoryReader directory_;
    zip::EntryLayout layout_;
    std::vector<uint64_t> recordOffsets_;  // central record offset of each record
};
