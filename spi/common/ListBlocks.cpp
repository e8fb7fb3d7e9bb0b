#include "spi/common/ListBlocks.h"
#include <cstdint>
#include <cstring>
#include "spi/common/HostRecords.h"
#include "spi/common/OutputSinks.h"

namespace {

// A block of `count` records of Entry and the all-zero one that ends them, filled by
// fill(index, entry), which says whether the index-th record was made; the block is shortened
// by the records left out.
template <class Entry, class Fill>
int ListEntries(size_t count, HLOCAL* handle, Fill fill) {
    if (count >= SIZE_MAX / sizeof(Entry)) return SpiNoMemory;  // a 32-bit plug-in's list beyond 4 GB
    LocalBlock block((count + 1) * sizeof(Entry));
    if (!block.Bytes()) return SpiNoMemory;
    Entry* list = static_cast<Entry*>(block.Bytes());
    size_t made = 0;
    for (size_t i = 0; i < count; ++i)
        if (fill(i, &list[made])) ++made;
    memset(&list[made], 0, sizeof(Entry));
    *handle = block.Release();
    if (made < count) {
        HLOCAL shorter = LocalReAlloc(*handle, (made + 1) * sizeof(Entry), 0);
        if (shorter) *handle = shorter;
    }
    return SpiSuccess;
}

}  // namespace

int ListAnsiEntries(RecordedArchive& archive, HLOCAL* handle) {
    const CompactRecords* records = nullptr;
    const AnsiNames* names = nullptr;
    int result = archive.AnsiRecords(&records, &names);
    if (result != SpiSuccess) return result;
    return ListEntries<ArchiveEntry>(records->Count(), handle, [&](size_t i, ArchiveEntry* entry) {
        KeptRecord kept = records->Get(i);
        std::string_view path, fileName;
        names->Get(i, kept, &path, &fileName);
        return ToAnsiEntry(kept.numbers, path, fileName, entry);
    });
}

int ListWideEntries(RecordedArchive& archive, HLOCAL* handle) {
    const CompactRecords* records = nullptr;
    int result = archive.Records(&records);
    if (result != SpiSuccess) return result;
    return ListEntries<ArchiveEntryW>(records->Count(), handle, [&](size_t i, ArchiveEntryW* entry) {
        return ToWideEntry(records->Get(i), entry);
    });
}

int ListFullRecords(RecordedArchive& archive, HLOCAL* handle) {
    const CompactRecords* records = nullptr;
    int result = archive.Records(&records);
    if (result != SpiSuccess) return result;
    constexpr size_t EndBytes = ArchiveListAlignment;  // a record of size 0
    size_t size = EndBytes;
    for (size_t i = 0; i < records->Count(); ++i) {
        size_t bytes = ListRecordSize(records->Get(i));
        if (bytes > SIZE_MAX - size) return SpiNoMemory;
        size += bytes;
    }
    LocalBlock block(size);
    if (!block.Bytes()) return SpiNoMemory;
    auto* at = static_cast<unsigned char*>(block.Bytes());
    for (size_t i = 0; i < records->Count(); ++i) {
        KeptRecord kept = records->Get(i);
        WriteListRecord(kept, at);
        at += ListRecordSize(kept);
    }
    memset(at, 0, EndBytes);
    *handle = block.Release();
    return SpiSuccess;
}
