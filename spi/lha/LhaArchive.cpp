#include "spi/lha/LhaArchive.h"
#include <cstring>
#include "spi/common/NameText.h"
#include "spi/common/SpiResult.h"
#include "spi/lha/ArchiveWalk.h"
#include "spi/lha/EntryUnpacker.h"
#include "spi/lha/HeaderRecord.h"

namespace lha {

size_t LhaArchive::Keep(const Header& header) {
    auto kept = byPosition_.emplace(header.headerOffset, headers_.size());
    if (kept.second) headers_.push_back(header);
    return kept.first->second;
}

Header LhaArchive::HeaderOf(size_t index) {
    std::lock_guard<std::mutex> lock(mutex_);
    return headers_[index];
}

// Archives made on UNIX systems carry UTF-8 names without saying so.
void LhaArchive::ConvertNames() {
    Utf8NameGuess guess;
    for (const Header& header : headers_) guess.Add(header.name);
    if (!guess.NamesAreUtf8()) return;
    DistinctNames names;
    for (Header& header : headers_) {
        std::string converted;
        Utf8ToCp932(header.name, &converted);
        header.name = names.Name(header.name, converted);
    }
}

// The headers walked before damage stay, for UnlistedRecord.
int LhaArchive::MakeRecords(CompactRecords* records) {
    std::lock_guard<std::mutex> lock(mutex_);
    int result = WalkArchive(Source(), start_, [&](const Header& header) {
        Keep(header);
        return true;
    });
    if (result != SpiSuccess) return result;
    ConvertNames();
    for (const Header& header : headers_) {
        ArchiveEntry record = {};
        DescribeHeader(header, &record);
        records->Add(record);
    }
    return SpiSuccess;
}

int LhaArchive::UnlistedRecord(uint64_t position, ArchiveEntry* record, size_t* index) {
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
    DescribeHeader(headers_[*index], record);
    return SpiSuccess;
}

int LhaArchive::CheckUnpackable(size_t index) {
    return IsKnownMethod(HeaderOf(index)) ? SpiSuccess : SpiUnknownFormat;
}

int LhaArchive::UnpackEntry(size_t index, ::OutputSink& sink, ProgressReport& progress) {
    return lha::UnpackEntry(Source(), HeaderOf(index), sink, &progress);
}

}  // namespace lha
