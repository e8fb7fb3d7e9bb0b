#pragma once
// Where the entries lie in the archive. Each one takes the bytes from its local header to the
// end of its data and data descriptor, and the central directory takes its own; two entries
// whose bytes overlap (a zip bomb's many records unpacking the same data, or data that runs
// over the next local header) or an entry that runs into the directory make the directory
// damage, refused before anything is unpacked. The layout also tells what follows an entry,
// which bounds its data.
#include <cstdint>
#include <vector>
#include "spi/zip/CentralDirectory.h"
#include "spi/zip/ZipFormat.h"

namespace zip {

class EntryLayout {
public:
    // Sets each entry's nextStart. SpiResult: SpiBrokenData when any two of the entries and the
    // directory overlap. `sourceSize` bounds what follows the last of them. Sorting is skipped
    // for entries listed in the order they lie (as nearly every writer lists them); the check
    // itself reads each once.
    int Build(std::vector<Entry>* entries, const DirectoryLocation& directory, uint64_t sourceSize);

    // Where the next entry's local header or the directory begins after the local header at
    // `localHeaderOffset`; the source's size when nothing follows it within the source.
    uint64_t NextStart(uint64_t localHeaderOffset) const;

private:
    std::vector<uint64_t> starts_;  // of every entry and of the directory, in order
    uint64_t sourceSize_ = 0;
};

}  // namespace zip
