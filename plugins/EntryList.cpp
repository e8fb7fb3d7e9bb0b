#include "plugins/EntryList.h"
#include <algorithm>
#include <cstring>
#include <string>

namespace {
// Names are stored in chunks of this many units (a longer name gets a chunk of its own), so
// that a list of a million names makes a few hundred allocations.
constexpr size_t NameChunkUnits = 1 << 16;
const wchar_t EmptyName[] = L"";
}  // namespace

std::string EntryMethodText(const ListedEntry& entry) {
    size_t length = 0;
    while (length < sizeof entry.method && entry.method[length]) ++length;
    return std::string(reinterpret_cast<const char*>(entry.method), length);
}

const wchar_t* EntryList::Store(const wchar_t* text, size_t length) {
    if (length == 0) return EmptyName;
    if (chunkUsed_ + length + 1 > chunkSize_) {
        chunkSize_ = std::max(NameChunkUnits, length + 1);
        names_.emplace_back(new wchar_t[chunkSize_]);
        chunkUsed_ = 0;
    }
    wchar_t* stored = names_.back().get() + chunkUsed_;
    memcpy(stored, text, length * sizeof(wchar_t));
    stored[length] = L'\0';
    chunkUsed_ += length + 1;
    return stored;
}

void EntryList::Add(const ListedEntry& numbers, const wchar_t* path, size_t pathLength, const wchar_t* name,
                    size_t nameLength) {
    ListedEntry entry = numbers;
    entry.path = Store(path, pathLength);
    entry.fileName = Store(name, nameLength);
    entries_.push_back(entry);
}
