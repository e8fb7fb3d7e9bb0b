#include "spi/lha/LhaArchive.h"
#include <vector>
#include "spi/common/NameText.h"
#include "spi/common/SpiResult.h"
#include "spi/lha/ArchiveWalk.h"
#include "spi/lha/EntryUnpacker.h"
#include "spi/lha/HeaderRecord.h"

namespace lha {
namespace {

// Whether a name is other than plain ASCII: only such names can come out alike (DistinctNames).
bool AnyNameConverted(const std::vector<Header>& headers) {
    for (const Header& header : headers)
        if (!IsAscii(header.name)) return true;
    return false;
}

}  // namespace

size_t LhaArchive::Keep(const Header& header) {
    auto kept = byPosition_.emplace(header.headerOffset, headers_.size());
    if (kept.second) headers_.push_back(header);
    return kept.first->second;
}

Header LhaArchive::HeaderOf(size_t index) {
    std::lock_guard<std::mutex> lock(mutex_);
    return headers_[index];
}

// The headers walked before damage stay, for UnlistedRecord. The records are the headers' in
// the same order (a record's index is its header's); a header whose name cleans away to
// nothing has none.
int LhaArchive::MakeRecords(CompactRecords* records) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Header> walked;
    int result = WalkArchive(Source(), start_, [&](const Header& header) {
        walked.push_back(header);
        return true;
    });
    // Archives made on UNIX systems carry UTF-8 names without saying so.
    Utf8NameGuess guess;
    for (const Header& header : walked) guess.Add(header.name);
    namesUtf8_ = guess.NamesAreUtf8();
    if (result != SpiSuccess) {
        for (const Header& header : walked) Keep(header);
        return result;
    }
    DistinctNames names(AnyNameConverted(walked));
    for (const Header& header : walked) {
        NamedRecord record;
        bool skip = false;
        result = DescribeHeader(header, names.Name(header.name, KeptName(header, namesUtf8_)), &record, &skip);
        if (result != SpiSuccess) return result;
        if (skip) continue;
        Keep(header);
        records->Add(record.numbers, record.name.path, record.name.fileName);
    }
    return SpiSuccess;
}

int LhaArchive::UnlistedRecord(uint64_t position, NamedRecord* record, size_t* index) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = byPosition_.find(position);
    if (found != byPosition_.end()) {
        *index = found->second;
    } else {
        Header header;
        switch (ReadHeader(Source(), position, &header)) {
            case HeaderStatus::Read: break;
            case HeaderStatus::Unsupported: return SpiUnknownFormat;
            default: return SpiBrokenData;
        }
        *index = Keep(header);
    }
    const Header& header = headers_[*index];
    bool skip = false;
    return DescribeHeader(header, KeptName(header, namesUtf8_), record, &skip);
}

int LhaArchive::CheckUnpackable(size_t index) {
    return IsKnownMethod(HeaderOf(index)) ? SpiSuccess : SpiUnknownFormat;
}

int LhaArchive::UnpackEntry(size_t index, ::OutputSink& sink, ProgressReport& progress) {
    return lha::UnpackEntry(Source(), HeaderOf(index), sink, &progress);
}

}  // namespace lha
