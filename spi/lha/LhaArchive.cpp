#include "spi/lha/LhaArchive.h"
#include <windows.h>
#include "spi/common/SpiResult.h"
#include "spi/lha/ArchiveWalk.h"
#include "spi/lha/EntryRecord.h"

namespace lha {

HeaderList::HeaderList(ByteSource& source, uint64_t start) : start_(start) {
    walkResult_ = WalkArchive(source, start, [&](const Header& header) {
        ArchiveEntry record;
        FillRecord(header, &record);
        byPosition_.emplace(header.headerOffset, headers_.size());
        byName_.emplace(JoinedName(record), headers_.size());  // an earlier header keeps its name
        names_.push_back(JoinedName(record));
        headers_.push_back(header);
        return true;
    });
}

const Header* HeaderList::At(uint64_t position) const {
    auto found = byPosition_.find(position);
    return found == byPosition_.end() ? nullptr : &headers_[found->second];
}

int HeaderList::Find(const char* name, bool ignoreCase, Header* header) const {
    auto exact = byName_.find(name);
    if (exact != byName_.end()) {
        *header = headers_[exact->second];
        return SpiSuccess;
    }
    for (size_t i = 0; ignoreCase && i < names_.size(); ++i) {
        if (CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, names_[i].c_str(), -1, name, -1) == CSTR_EQUAL) {
            *header = headers_[i];
            return SpiSuccess;
        }
    }
    return walkResult_ != SpiSuccess ? walkResult_ : SpiInternalError;
}

const HeaderList* LhaArchive::HeadersFrom(uint64_t start) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!headers_) headers_ = std::make_unique<HeaderList>(Source(), start);
    return headers_->Start() == start ? headers_.get() : nullptr;
}

const HeaderList* LhaArchive::KeptHeaders() {
    std::lock_guard<std::mutex> lock(mutex_);
    return headers_.get();
}

}  // namespace lha
