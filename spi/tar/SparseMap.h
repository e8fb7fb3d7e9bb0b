#pragma once
// The map of a sparse member: the data regions of a file whose other bytes are holes (zeros).
// The archive stores only the regions, one after another; GNU tar and bsdtar keep the map in
// the old GNU header and its extension blocks, in pax records (GNU's versions 0.0 and 0.1), or
// as lines of numbers ahead of the data (1.0). Plain C++, so that the fuzzer builds it.
#include <cstdint>
#include <string>
#include <vector>
#include "spi/tar/TarStream.h"

namespace tar {

// More regions than any real file has; a map that claims more is refused before it grows further.
constexpr size_t MaxSparseRegions = size_t{1} << 20;

struct Region {
    uint64_t offset = 0;  // in the real file
    uint64_t size = 0;
};

struct SparseMap {
    std::vector<Region> regions;
    uint64_t realSize = 0;
};

// Whether the regions lie in ascending order without overlapping, inside the real size, and
// their sizes add up to the `stored` bytes the archive holds for them.
bool MapHolds(const SparseMap& map, uint64_t stored);

// Appends the regions of a comma-separated "offset,size,offset,size" list (pax 0.1). False for
// a list that does not read so, or one of too many regions.
bool ReadRegionList(const std::string& text, std::vector<Region>* regions);

// Reads the map ahead of a sparse member's data (pax 1.0): the number of regions, then each
// region's offset and size, one decimal number a line, padded to whole blocks. `limit` is the
// member's stored size; *mapSize receives the blocks the map takes. SpiResult: SpiBrokenData
// for a map that does not read so or does not fit, SpiReadError, SpiNoMemory.
int ReadDataMap(TarStream& stream, uint64_t offset, uint64_t limit, std::vector<Region>* regions,
                uint64_t* mapSize);

}  // namespace tar
