#include "spi/zip/NameIndex.h"
#include <utility>
#include "spi/common/EntryPath.h"
#include "spi/common/SpiResult.h"
#include "spi/zip/CentralDirectory.h"
#include "spi/zip/EntryRecord.h"

int NameIndex::Build(ByteSource& source) {
    zip::DirectoryReader reader;
    int result = reader.Open(source);
    if (result != SpiSuccess) return result;
    return Build(std::move(reader));
}

int NameIndex::Build(zip::DirectoryReader reader) {
    names_.clear();
    offsets_.clear();
    byFoldedName_.clear();
    for (;;) {
        zip::Entry entry;
        bool done = false, skip = false;
        int result = reader.Next(&entry, &done);
        if (result != SpiSuccess) return result;
        if (done) return SpiSuccess;
        ArchiveEntry record;
        if (DescribeEntry(entry, &record, &skip) != SpiSuccess || skip) continue;
        names_.push_back(JoinedName(record));
        offsets_.push_back(entry.recordOffset);
        byFoldedName_.emplace(NameKey(names_.back(), true), names_.size() - 1);
    }
}

int NameIndex::Find(const char* name, uint64_t* recordOffset) const {
    size_t best = names_.size();
    auto range = byFoldedName_.equal_range(NameKey(name, true));
    for (auto it = range.first; it != range.second; ++it) {
        size_t index = it->second;
        if (SameEntryName(names_[index], name, false)) {
            best = index;
            break;
        }
        if (index < best) best = index;
    }
    if (best == names_.size()) return SpiInternalError;
    *recordOffset = offsets_[best];
    return SpiSuccess;
}
