#pragma once
// The entries of one listed archive: the records a plug-in described, in the list block it
// handed over (one copy of them for the life of a list window), owned by the list and
// released with it. A list moves, never copies, and its records stay
// where they are when it moves, so pointers into it (the rows of a list window, the entries
// of an extraction plan) stay valid for as long as the list lives.
#include <cstddef>
#include <utility>
#include <windows.h>
#include "plugins/PluginBlock.h"
#include "plugins/SusiePlugin.h"

class EntryList {
public:
    EntryList() = default;
    EntryList(EntryList&& other) noexcept { *this = std::move(other); }
    EntryList& operator=(EntryList&& other) noexcept {
        if (this != &other) {
            block_ = std::move(other.block_);
            records_ = std::exchange(other.records_, nullptr);
            count_ = std::exchange(other.count_, 0);
        }
        return *this;
    }

    // Takes over a plug-in's list block, locked, whose first `count` records are the list: the
    // records are kept where the plug-in wrote them, with `path` and `fileName` terminated
    // within their fields. The block must hold at least `count` records.
    void Adopt(PluginBlock block, size_t count);
    // Replaces the list with copies of `count` records, terminated as above. False, leaving
    // the list empty, when there is no memory.
    bool Assign(const ArchiveEntry* records, size_t count);

    const ArchiveEntry* begin() const { return records_; }
    const ArchiveEntry* end() const { return records_ + count_; }
    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    const ArchiveEntry& operator[](size_t index) const { return records_[index]; }

private:
    PluginBlock block_;
    ArchiveEntry* records_ = nullptr;
    size_t count_ = 0;
};
