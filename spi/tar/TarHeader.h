#pragma once
// One 512-byte header block of a TAR archive (ustar, GNU, or the older V7 layout), and the
// records of pax extended headers. Plain C++, so that the fuzzer builds it.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tar {

constexpr size_t BlockSize = 512;

struct HeaderBlock {
    std::string name;        // the ustar prefix and name joined by '/'
    std::string linkName;
    char type = '0';
    uint64_t size = 0;
    int64_t modified = 0;    // seconds since 1970 UTC
};

enum class BlockKind { Header, Zero, Invalid };

// Reads a block: a header whose checksum holds (counted over unsigned or, as some old
// writers did, signed bytes), an all-zero block (the end marker), or something else.
BlockKind ReadHeaderBlock(const uint8_t* block, HeaderBlock* header);

// What a pax extended header sets for the member after it (or, global, for all after it).
struct PaxValues {
    bool hasPath = false, hasLinkPath = false, hasSize = false, hasTime = false;
    bool binaryNames = false;  // hdrcharset=BINARY: names are bytes in no known encoding
    bool sparse = false;       // a GNU sparse file, stored in a layout this reader does not unpack
    std::string path, linkPath;
    uint64_t size = 0;
    int64_t modified = 0;
};

// Reads the "length keyword=value\n" records of a pax header's data into *values. False for
// a record that does not hold together.
bool ReadPaxRecords(const std::string& data, PaxValues* values);

}  // namespace tar
