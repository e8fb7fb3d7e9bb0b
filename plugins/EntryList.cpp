#include "plugins/EntryList.h"
#include <cstring>
#include <cstdint>

bool EntryList::Assign(const ArchiveEntry* records, size_t count) {
    records_.reset();
    count_ = 0;
    if (count == 0) return true;
    if (count > SIZE_MAX / sizeof(ArchiveEntry)) return false;
    records_.reset(static_cast<ArchiveEntry*>(HeapAlloc(GetProcessHeap(), 0, count * sizeof(ArchiveEntry))));
    if (!records_) return false;
    memcpy(records_.get(), records, count * sizeof(ArchiveEntry));
    // So that no reader of a copy runs from one text field into the next.
    for (size_t i = 0; i < count; ++i) {
        records_[i].path[sizeof records_[i].path - 1] = '\0';
        records_[i].fileName[sizeof records_[i].fileName - 1] = '\0';
    }
    count_ = count;
    return true;
}
