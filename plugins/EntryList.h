#pragma once
// The entries of one listed archive as the host keeps them: each entry's numbers as its plug-in
// described them, and its two names in UTF-16, whatever set of exports the plug-in was read
// through. A list moves, never copies, and its entries and names stay where they are when it
// moves, so pointers into it (the rows of a list window, the entries of an extraction plan)
// stay valid for as long as the list lives.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "plugins/PluginBlock.h"

// One entry of a listed archive.
struct ListedEntry {
    unsigned char method[8];  // NUL-padded; all 8 bytes may be used
    uint32_t crc;
    uint64_t position;        // handed back to the plug-in unchanged
    uint64_t packedSize;
    uint64_t unpackedSize;
    int64_t timestamp;        // seconds since 1970-01-01 00:00:00 UTC
    const wchar_t* path;      // folder part with its trailing separator; "" at the top
    const wchar_t* fileName;  // "" for a folder entry
};

// The method as text: all 8 bytes may be used, so it is never read as a terminated string.
std::string EntryMethodText(const ListedEntry& entry);

class EntryList {
public:
    EntryList() = default;
    EntryList(EntryList&&) noexcept = default;
    EntryList& operator=(EntryList&&) noexcept = default;

    // Room for this many entries, so that adding them moves none.
    void Reserve(size_t count) { entries_.reserve(count); }
    // Adds an entry with copies of its names (pathLength and nameLength units, no terminator
    // needed); the numbers come from `numbers`, whose names are not read.
    void Add(const ListedEntry& numbers, const wchar_t* path, size_t pathLength, const wchar_t* name,
             size_t nameLength);
    // Adds an entry whose names stay where they are, terminated: in a block the list keeps
    // (Keep).
    void AddInPlace(const ListedEntry& entry) { entries_.push_back(entry); }
    // Keeps a block that entries added in place point into, for as long as the list lives.
    void Keep(PluginBlock block) { blocks_.push_back(std::move(block)); }
    // Counts an entry that its plug-in listed but that cannot be shown or extracted: its name
    // was cut to fit the record.
    void CountUnshown() { ++unshown_; }
    size_t Unshown() const { return unshown_; }

    const ListedEntry* begin() const { return entries_.data(); }
    const ListedEntry* end() const { return entries_.data() + entries_.size(); }
    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const ListedEntry& operator[](size_t index) const { return entries_[index]; }

private:
    // A copy of the text, terminated, in the list's own storage.
    const wchar_t* Store(const wchar_t* text, size_t length);

    std::vector<ListedEntry> entries_;
    std::vector<std::unique_ptr<wchar_t[]>> names_;  // chunks of terminated names
    size_t chunkUsed_ = 0, chunkSize_ = 0;
    std::vector<PluginBlock> blocks_;
    size_t unshown_ = 0;
};
