#pragma once
// One member header of an LHA archive (levels 0 to 3), read without trusting its bytes.
#include <cstdint>
#include <string>
#include "spi/common/ByteSource.h"

namespace lha {

constexpr size_t MethodIdLength = 5;  // "-lh5-"

struct Header {
    uint64_t headerOffset = 0;  // where the header starts in the archive
    uint64_t dataOffset = 0;    // where the packed bytes start
    uint64_t nextOffset = 0;    // where the next header starts
    char method[MethodIdLength + 1] = {};
    uint32_t packedSize = 0;
    uint32_t unpackedSize = 0;
    uint16_t crc = 0;           // CRC-16 of the unpacked bytes
    int level = 0;
    // Modification time: a Unix time when the header carries one, else MS-DOS local time.
    bool hasUnixTime = false;
    uint32_t unixTime = 0;
    uint32_t dosTime = 0;       // time in the low word, date in the high word
    // Folder and file name as stored, folders separated by '\'; a folder entry's name ends in '\'.
    std::string name;
    // A symbolic link, stored as a folder entry named "name|target": here a file `name` whose
    // content is the target text, folders separated by '/' (unpackedSize and crc describe it).
    bool isLink = false;
    std::string linkTarget;

    bool IsFolder() const;
};

enum class HeaderStatus {
    Read,          // *header holds the entry
    ArchiveEnd,    // the end marker (a 0 byte) or the end of the file
    Broken,        // the header contradicts itself or runs past the archive
    Unsupported,   // a header level this plug-in does not read
};

// Reads the header at `offset`. Every field is checked against the header's own size and
// against the archive's size, and the entry's packed bytes must lie inside the archive.
HeaderStatus ReadHeader(ByteSource& source, uint64_t offset, Header* header);

// True when the first bytes of a file look like an LHA member header of level 0 to 3.
bool LooksLikeHeader(const uint8_t* bytes, size_t length);

}  // namespace lha
