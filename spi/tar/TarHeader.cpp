#include "spi/tar/TarHeader.h"
#include <cstring>

namespace tar {
namespace {

constexpr size_t NameAt = 0, NameSize = 100, SizeAt = 124, NumberSize = 12, TimeAt = 136, ChecksumAt = 148;
constexpr size_t TypeAt = 156, LinkAt = 157, MagicAt = 257, PrefixAt = 345, PrefixSize = 155;

std::string Field(const uint8_t* block, size_t at, size_t size) {
    const char* text = reinterpret_cast<const char*>(block + at);
    return std::string(text, strnlen(text, size));
}

// An octal number padded with spaces or NULs, or GNU's base-256 form (first byte's top bit
// set; the next bit is the sign) for values octal cannot hold. False when it is neither.
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
    while (i < size && field[i] == ' ') ++i;
    uint64_t number = 0;
    bool digits = false;
    for (; i < size && field[i] >= '0' && field[i] <= '7'; ++i, digits = true) {
        if (number >> 60) return false;
        number = number * 8 + (field[i] - '0');
    }
    for (; i < size; ++i)
        if (field[i] != ' ' && field[i] != '\0') return false;
    *value = static_cast<int64_t>(number);
    return digits || number == 0;
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

}  // namespace

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
            values->hasSize = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos &&
                              value.size() < 20;
            values->size = values->hasSize ? std::stoull(value) : 0;
            if (!values->hasSize) return false;
        } else if (key == "mtime") {
            values->hasTime = true;
            values->modified = atoll(value.c_str());  // whole seconds; a fraction is dropped
        } else if (key == "hdrcharset") {
            values->binaryNames = value == "BINARY";
        } else if (key.compare(0, 11, "GNU.sparse.") == 0) {
            values->sparse = true;
        }
    }
    return true;
}

}  // namespace tar
