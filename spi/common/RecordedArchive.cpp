#include "spi/common/RecordedArchive.h"
#include "spi/common/EntryPath.h"
#include "spi/common/EntryRecord.h"
#include "spi/common/SpiResult.h"

int RecordedArchive::Made() {
    if (made_) return result_;
    made_ = true;
    result_ = MakeRecords(&records_);
    if (result_ == SpiSuccess) records_.Trim();
    else records_.Clear();
    return result_;
}

// The look-ups are made on first use: a host that only lists the archive needs neither, and
// for a large archive they cost about as much memory as the records.
void RecordedArchive::IndexPositions() {
    if (positionsIndexed_) return;
    positionsIndexed_ = true;
    byPosition_.reserve(records_.Count());
    ArchiveEntry record;
    for (size_t i = 0; i < records_.Count(); ++i) {
        records_.Get(i, &record);
        byPosition_[record.position] = i;
    }
}

void RecordedArchive::IndexNames() {
    if (namesIndexed_) return;
    namesIndexed_ = true;
    ArchiveEntry record;
    for (size_t i = 0; i < records_.Count(); ++i) {
        records_.Get(i, &record);
        std::string name = JoinedName(record);
        byName_[NameKey(name, false)] = i;
        byFoldedName_[NameKey(name, true)] = i;
    }
}

bool RecordedArchive::Taken(const std::function<bool()>& test) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!tested_) taken_ = test();
    tested_ = true;
    return taken_;
}

int RecordedArchive::Records(const CompactRecords** records) {
    std::lock_guard<std::mutex> lock(mutex_);
    *records = &records_;
    return Made();
}

int RecordedArchive::Find(const char* name, bool ignoreCase, ArchiveEntry* record) {
    std::lock_guard<std::mutex> lock(mutex_);
    int result = Made();
    if (result != SpiSuccess) return result;
    IndexNames();
    auto found = byName_.find(NameKey(name, false));
    if (ignoreCase || (found == byName_.end() && MatchesAnyCase())) {
        found = byFoldedName_.find(NameKey(name, true));
        if (found == byFoldedName_.end()) return SpiInternalError;
    } else if (found == byName_.end()) {
        return SpiInternalError;
    }
    records_.Get(found->second, record);
    return SpiSuccess;
}

int RecordedArchive::RecordAt(uint64_t position, ArchiveEntry* record, size_t* index) {
    std::lock_guard<std::mutex> lock(mutex_);
    int result = Made();
    IndexPositions();
    auto found = byPosition_.find(position);
    if (result == SpiSuccess && found != byPosition_.end()) {
        *index = found->second;
        records_.Get(*index, record);
        return SpiSuccess;
    }
    int unlisted = UnlistedRecord(position, record, index);
    return unlisted == SpiSuccess || result == SpiSuccess ? unlisted : result;
}

int RecordedArchive::UnlistedRecord(uint64_t, ArchiveEntry*, size_t*) { return SpiInternalError; }
