#pragma once
// One 512-byte header block of a TAR archive (ustar, GNU, or the older V7 layout), and the
// records of pax extended headers. Plain C++, so that the fuzzer builds it.
#include <cstddef>
#include <cstdint>
#include <string>
#include "spi/tar/SparseMap.h"

namespace tar {

constexpr size_t BlockSize = 512;

struct HeaderBlock {
    std::string name;        // the ustar prefix and name joined by '/'
    std::string linkName;
    char type = '0';
    uint64_t size = 0;
    int64_t modified = 0;    // seconds since 1970 UTC
    // Type 'S', GNU's old sparse file: the first regions and the real size, and whether
    // extension blocks with more regions follow the header.
    SparseMap sparse;
    bool sparseExtended = false;
};

enum class BlockKind { Header, Zero, Invalid };

// Reads a block: a header whose checksum holds (counted over unsigned or, as some old
// writers did, signed bytes), an all-zero block (the end marker), or something else.
BlockKind ReadHeaderBlock(const uint8_t* block, HeaderBlock* header);

// Appends the regions of an extension block that follows an old GNU sparse header; *more
// says whether another follows it. False for a number that does not read, or too many regions.
bool ReadSparseExtension(const uint8_t* block, std::vector<Region>* regions, bool* more);

// What a pax extended header sets for the member after it (or, global, for all after it).
struct PaxValues {
    bool hasPath = false, hasLinkPath = false, hasSize = false, hasTime = false;
    bool binaryNames = false;  // hdrcharset=BINARY: names are bytes in no known encoding
    std::string path, linkPath;
    uint64_t size = 0;
    int64_t modified = 0;
    // GNU.sparse.*: the member is a sparse file.
    struct Sparse {
        bool any = false;
        unsigned major = 0;           // 1: the map is ahead of the data
        bool hasName = false, hasRealSize = false, hasCount = false;
        std::string name;             // the real name (0.1, 1.0: the header's is made up)
        uint64_t realSize = 0, count = 0;
        std::vector<Region> regions;  // 0.0 (offset and numbytes records) and 0.1 (one map record)
        bool awaitingSize = false;    // 0.0: an offset whose numbytes has not come yet
    } sparse;
};

// Reads the "length keyword=value\n" records of a pax header's data into *values. False for
// a record that does not hold together.
bool ReadPaxRecords(const std::string& data, PaxValues* values);

}  // namespace tar
