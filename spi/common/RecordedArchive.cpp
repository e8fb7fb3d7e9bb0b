#include "spi/common/RecordedArchive.h"
#include "spi/common/EntryPath.h"
#include "spi/common/EntryRecord.h"
#include "spi/common/SpiResult.h"

int RecordedArchive::Made() {
    if (made_) return result_;
    made_ = true;
    result_ = MakeRecords(&records_);
    if (result_ != SpiSuccess) {
        records_.clear();
        return result_;
    }
    for (size_t i = 0; i < records_.size(); ++i) {
        std::string name = JoinedName(records_[i]);
        byPosition_[records_[i].position] = i;
        byName_[NameKey(name, false)] = i;
        byFoldedName_[NameKey(name, true)] = i;
    }
    return result_;
}

int RecordedArchive::Records(const std::vector<ArchiveEntry>** records) {
    std::lock_guard<std::mutex> lock(mutex_);
    *records = &records_;
    return Made();
}

int RecordedArchive::Find(const char* name, bool ignoreCase, ArchiveEntry* record) {
    std::lock_guard<std::mutex> lock(mutex_);
    int result = Made();
    if (result != SpiSuccess) return result;
    auto found = byName_.find(NameKey(name, false));
    if (ignoreCase || (found == byName_.end() && MatchesAnyCase())) {
        found = byFoldedName_.find(NameKey(name, true));
        if (found == byFoldedName_.end()) return SpiInternalError;
    } else if (found == byName_.end()) {
        return SpiInternalError;
    }
    *record = records_[found->second];
    return SpiSuccess;
}

int RecordedArchive::RecordAt(uint64_t position, ArchiveEntry* record, size_t* index) {
    std::lock_guard<std::mutex> lock(mutex_);
    int result = Made();
    auto found = byPosition_.find(position);
    if (result == SpiSuccess && found != byPosition_.end()) {
        *index = found->second;
        *record = records_[*index];
        return SpiSuccess;
    }
    int unlisted = UnlistedRecord(position, record, index);
    return unlisted == SpiSuccess || result == SpiSuccess ? unlisted : result;
}

int RecordedArchive::UnlistedRecord(uint64_t, ArchiveEntry*, size_t*) { return SpiInternalError; }
