#include "spi/common/RecordedArchive.h"
#include "spi/common/EntryPath.h"
#include "spi/common/NameText.h"
#include "spi/common/SpiResult.h"

int RecordedArchive::Made() {
    if (made_) return result_;
    made_ = true;
    result_ = MakeRecords(&records_);
    if (result_ == SpiSuccess) records_.Trim();
    else records_.Clear();
    return result_;
}

void RecordedArchive::MakeAnsiNames() {
    if (!ansiNames_) ansiNames_ = std::make_unique<AnsiNames>(records_);
}

// The look-ups are made on first use: a host that only lists the archive needs neither, and
// for a large archive they cost about as much memory as the records.
void RecordedArchive::IndexPositions() {
    if (positionsIndexed_) return;
    positionsIndexed_ = true;
    byPosition_.reserve(records_.Count());
    for (size_t i = 0; i < records_.Count(); ++i) byPosition_[records_.Get(i).numbers.position] = i;
}

RecordedArchive::NameIndex& RecordedArchive::IndexNames(NameForm form) {
    NameIndex& index = form == NameForm::Utf8 ? byName_ : byAnsiName_;
    if (index.made) return index;
    index.made = true;
    if (form == NameForm::Cp932) MakeAnsiNames();
    for (size_t i = 0; i < records_.Count(); ++i) {
        NamedRecord record = RecordIn(i, form);
        std::string name = record.name.path + record.name.fileName;
        index.exact[NameKey(name, false, form)] = i;
        index.folded[NameKey(name, true, form)] = i;
    }
    return index;
}

NamedRecord RecordedArchive::RecordIn(size_t index, NameForm form) const {
    KeptRecord kept = records_.Get(index);
    std::string_view path = kept.path, fileName = kept.fileName;
    if (form == NameForm::Cp932) ansiNames_->Get(index, kept, &path, &fileName);
    NamedRecord record;
    record.numbers = kept.numbers;
    record.name.path.assign(path.data(), path.size());
    record.name.fileName.assign(fileName.data(), fileName.size());
    return record;
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

int RecordedArchive::AnsiRecords(const CompactRecords** records, const AnsiNames** names) {
    std::lock_guard<std::mutex> lock(mutex_);
    *records = &records_;
    int result = Made();
    MakeAnsiNames();
    *names = ansiNames_.get();
    return result;
}

int RecordedArchive::Find(const std::string& name, NameForm form, bool ignoreCase, NamedRecord* record) {
    std::lock_guard<std::mutex> lock(mutex_);
    int result = Made();
    if (result != SpiSuccess) return result;
    const NameIndex& index = IndexNames(form);
    auto found = index.exact.find(NameKey(name, false, form));
    if (ignoreCase || (found == index.exact.end() && MatchesAnyCase())) {
        found = index.folded.find(NameKey(name, true, form));
        if (found == index.folded.end()) return SpiInternalError;
    } else if (found == index.exact.end()) {
        return SpiInternalError;
    }
    *record = RecordIn(found->second, form);
    return SpiSuccess;
}

// An unlisted record's code page 932 names are its own, not told apart from the others'.
int RecordedArchive::RecordAt(uint64_t position, NameForm form, NamedRecord* record, size_t* index) {
    std::lock_guard<std::mutex> lock(mutex_);
    int result = Made();
    IndexPositions();
    auto found = byPosition_.find(position);
    if (result == SpiSuccess && found != byPosition_.end()) {
        *index = found->second;
        if (form == NameForm::Cp932) MakeAnsiNames();
        *record = RecordIn(*index, form);
        return SpiSuccess;
    }
    int unlisted = UnlistedRecord(position, record, index);
    if (unlisted == SpiSuccess && form == NameForm::Cp932)
        SplitEntryName(AnsiName(record->name.path + record->name.fileName), &record->name, NameForm::Cp932);
    return unlisted == SpiSuccess || result == SpiSuccess ? unlisted : result;
}

int RecordedArchive::UnlistedRecord(uint64_t, NamedRecord*, size_t*) { return SpiInternalError; }
