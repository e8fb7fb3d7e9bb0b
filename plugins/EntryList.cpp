#include "plugins/EntryList.h"
#include <cstring>
#include <cstdint>

void EntryList::Adopt(PluginBlock block, size_t count) {
    // An empty list keeps no block.
    block_ = count ? std::move(block) : PluginBlock();
    records_ = count ? reinterpret_cast<ArchiveEntry*>(block_.Lock()) : nullptr;
    count_ = records_ ? count : 0;
    // So that no reader runs from one text field into the next.
    for (size_t i = 0; i < count_; ++i) {
        records_[i].path[sizeof records_[i].path - 1] = '\0';
        records_[i].fileName[sizeof records_[i].fileName - 1] = '\0';
    }
}

bool EntryList::Assign(const ArchiveEntry* records, size_t count) {
    Adopt(PluginBlock(), 0);
    if (count == 0) return true;
    if (count > SIZE_MAX / sizeof(ArchiveEntry)) return false;
    PluginBlock copy(LocalAlloc(LMEM_FIXED, count * sizeof(ArchiveEntry)));
    unsigned char* bytes = copy.Lock();
    if (!bytes) return false;
    memcpy(bytes, records, count * sizeof(ArchiveEntry));
    Adopt(std::move(copy), count);
    return true;
}
