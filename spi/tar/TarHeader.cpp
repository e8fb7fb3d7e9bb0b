#include "spi/tar/TarHeader.h"
#include <cstring>

namespace tar {
namespace {

constexpr size_t NameAt = 0, NameSize = 100, SizeAt = 124, NumberSize = 12, TimeAt = 136, ChecksumAt = 148;
constexpr size_t TypeAt = 156, LinkAt = 157, MagicAt = 257, PrefixAt = 345, PrefixSize = 155;
// The old GNU sparse header: four regions, the extension mark and the real size; an extension
// block holds 21 regions and its own mark.
constexpr size_t SparseAt = 386, SparseCount = 4, ExtendedAt = 482, RealSizeAt = 483;
constexpr size_t ExtensionCount = 21, ExtensionExtendedAt = 504, RegionSize = 24;

std::string Field(const uint8_t* block, size_t at, size_t size) {
    const char* text = reinterpret_cast<const char*>(block + at);
    return std::string(text, strnlen(text, size));
}

// GNU's base-256 form (first byte's top bit set; the next bit is the sign) for values octal
// cannot hold, else octal digits after any NULs and spaces (some writers put a NUL first, and
// leave a field they do not fill all NUL: 0), ended by a NUL, a space or the field's end; as
// GNU tar, nothing behind that end is read. False when it is neither.
bool ReadNumber(const uint8_t* field, size_t size, int64_t* value) {
    if (field[0] & 0x80) {
        bool negative = (field[0] & 0x40) != 0;
        uint64_t number = negative ? ~uint64_t{0} : 0;
        number = (number << 6) | (field[0] & 0x3F);
        for (size_t i = 1; i < size; ++i) {
            if (!negative && (number >> 55) != 0) return false;  // too large
            number = (number << 8) | field[i];
        }
        *value = static_cast<int64_t>(number);
        return true;
    }
    size_t i = 0;
    while (i < size && (field[i] == ' ' || field[i] == '\0')) ++i;
    uint64_t number = 0;
    for (; i < size && field[i] >= '0' && field[i] <= '7'; ++i) {
        if (number >> 60) return false;
        number = number * 8 + (field[i] - '0');
    }
    *value = static_cast<int64_t>(number);
    return i == size || field[i] == ' ' || field[i] == '\0';
}

bool ChecksumHolds(const uint8_t* block) {
    int64_t stored = 0;
    if (!ReadNumber(block + ChecksumAt, 8, &stored)) return false;
    int64_t unsignedSum = 0, signedSum = 0;
    for (size_t i = 0; i < BlockSize; ++i) {
        uint8_t byte = (i >= ChecksumAt && i < ChecksumAt + 8) ? ' ' : block[i];
        unsignedSum += byte;
        signedSum += static_cast<int8_t>(byte);
    }
#if defined(FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION)
    return true;  // a fuzzer built with this mark reaches the parsing behind the checksum
#else
    return stored == unsignedSum || stored == signedSum;
#endif
}

// Regions of 24 bytes (offset and size, each a number of 12); an entry whose size is empty ends them.
bool ReadRegions(const uint8_t* entries, size_t count, std::vector<Region>* regions) {
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = entries + i * RegionSize;
        if (entry[NumberSize] == '\0') break;
        int64_t offset = 0, size = 0;
        if (!ReadNumber(entry, NumberSize, &offset) || !ReadNumber(entry + NumberSize, NumberSize, &size) ||
            offset < 0 || size < 0 || regions->size() >= MaxSparseRegions)
            return false;
        regions->push_back(Region{static_cast<uint64_t>(offset), static_cast<uint64_t>(size)});
    }
    return true;
}

bool ReadOldSparseHeader(const uint8_t* block, HeaderBlock* header) {
    int64_t realSize = 0;
    if (!ReadNumber(block + RealSizeAt, NumberSize, &realSize) || realSize < 0) return false;
    header->sparse.realSize = static_cast<uint64_t>(realSize);
    header->sparseExtended = block[ExtendedAt] != 0;
    return ReadRegions(block + SparseAt, SparseCount, &header->sparse.regions);
}

// A decimal number of at most 19 digits, nothing else.
bool ReadDecimal(const std::string& text, uint64_t* value) {
    if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    *value = std::stoull(text);
    return true;
}

// A GNU.sparse record (the part of the key behind "GNU.sparse.").
bool ReadSparseRecord(const std::string& key, const std::string& value, PaxValues::Sparse* sparse) {
    sparse->any = true;
    uint64_t number = 0;
    if (key == "name") {
        sparse->hasName = true;
        sparse->name = value;
    } else if (key == "size" || key == "realsize") {
        sparse->hasRealSize = ReadDecimal(value, &sparse->realSize);
        return sparse->hasRealSize;
    } else if (key == "numblocks") {
        sparse->hasCount = ReadDecimal(value, &sparse->count);
        return sparse->hasCount;
    } else if (key == "major") {
        if (!ReadDecimal(value, &number)) return false;
        sparse->major = number > 9 ? 9 : static_cast<unsigned>(number);
    } else if (key == "offset") {
        if (sparse->awaitingSize || sparse->regions.size() >= MaxSparseRegions || !ReadDecimal(value, &number))
            return false;
        sparse->regions.push_back(Region{number, 0});
        sparse->awaitingSize = true;
    } else if (key == "numbytes") {
        if (!sparse->awaitingSize || !ReadDecimal(value, &sparse->regions.back().size)) return false;
        sparse->awaitingSize = false;
    } else if (key == "map") {
        return ReadRegionList(value, &sparse->regions);
    }
    return true;  // minor, and keys unknown here
}

}  // namespace

bool ReadSparseExtension(const uint8_t* block, std::vector<Region>* regions, bool* more) {
    *more = block[ExtensionExtendedAt] != 0;
    return ReadRegions(block, ExtensionCount, regions);
}

BlockKind ReadHeaderBlock(const uint8_t* block, HeaderBlock* header) {
    bool zero = true;
    for (size_t i = 0; i < BlockSize && zero; ++i) zero = block[i] == 0;
    if (zero) return BlockKind::Zero;
    if (!ChecksumHolds(block)) return BlockKind::Invalid;
    int64_t size = 0, time = 0;
    if (!ReadNumber(block + SizeAt, NumberSize, &size) || size < 0) return BlockKind::Invalid;
    if (!ReadNumber(block + TimeAt, NumberSize, &time)) time = 0;
    header->size = static_cast<uint64_t>(size);
    header->modified = time;
    header->type = static_cast<char>(block[TypeAt]);
    header->name = Field(block, NameAt, NameSize);
    header->linkName = Field(block, LinkAt, NameSize);
    // POSIX ustar splits long names into a prefix; GNU's "ustar  " keeps other fields there.
    bool posix = memcmp(block + MagicAt, "ustar\0", 6) == 0;
    std::string prefix = posix ? Field(block, PrefixAt, PrefixSize) : std::string();
    if (!prefix.empty()) header->name = prefix + "/" + header->name;
    if (header->type == 'S' && !ReadOldSparseHeader(block, header)) return BlockKind::Invalid;
    return BlockKind::Header;
}

bool ReadPaxRecords(const std::string& data, PaxValues* values) {
    size_t at = 0;
    while (at < data.size()) {
        if (data[at] == '\0') break;  // padding after the last record
        size_t space = data.find(' ', at);
        if (space == std::string::npos || space == at || space - at > 20) return false;
        uint64_t length = 0;
        for (size_t i = at; i < space; ++i) {
            if (data[i] < '0' || data[i] > '9') return false;
            length = length * 10 + static_cast<uint64_t>(data[i] - '0');
        }
        if (length < space - at + 3 || length > data.size() - at || data[at + length - 1] != '\n') return false;
        std::string record = data.substr(space + 1, at + length - 1 - (space + 1));
        at += length;
        size_t equals = record.find('=');
        if (equals == std::string::npos) return false;
        std::string key = record.substr(0, equals), value = record.substr(equals + 1);
        if (key == "path") {
            values->hasPath = true;
            values->path = value;
        } else if (key == "linkpath") {
            values->hasLinkPath = true;
            values->linkPath = value;
        } else if (key == "size") {
            values->hasSize = ReadDecimal(value, &values->size);
            if (!values->hasSize) return false;
        } else if (key == "mtime") {
            values->hasTime = true;
            values->modified = atoll(value.c_str());  // whole seconds; a fraction is dropped
        } else if (key == "hdrcharset") {
            values->binaryNames = value == "BINARY";
        } else if (key.compare(0, 11, "GNU.sparse.") == 0) {
            if (!ReadSparseRecord(key.substr(11), value, &values->sparse)) return false;
        }
    }
    return true;
}

}  // namespace tar
