#include "spi/lha/LhaHeader.h"
#include <cstring>
#include <vector>
#include "spi/common/codecs/ByteOrder.h"
#include "spi/common/codecs/Checks.h"
#include "spi/lha/EntryName.h"
#include "text/Cp932.h"

namespace lha {

using codecs::ReadLe16;
using codecs::ReadLe32;

namespace {

// Fields every level shares, by offset from the header's start.
constexpr size_t MethodAt = 2;
constexpr size_t PackedSizeAt = 7;     // level 1: packed size plus the extended headers
constexpr size_t UnpackedSizeAt = 11;
constexpr size_t TimeAt = 15;          // levels 0 and 1: MS-DOS time; level 2: Unix time
constexpr size_t LevelAt = 20;
constexpr size_t NameLengthAt = 21;    // levels 0 and 1
constexpr size_t CommonPrefixSize = 22;

constexpr size_t Level0MinSize = CommonPrefixSize + 2;          // name length 0, CRC
constexpr size_t Level1MinSize = CommonPrefixSize + 2 + 1 + 2;  // ... OS id, next size
constexpr size_t Level2MinSize = 26;
constexpr size_t Level3MinSize = 32;
constexpr size_t Level01MaxSize = 255 + 2;                      // the size byte counts from offset 2
constexpr size_t Level3MaxSize = 1 << 20;                       // far more than any name needs
constexpr uint16_t Level3WordSize = 4;                          // level 3 begins with its size width
constexpr size_t Level3SizeAt = 24;                             // the 4-byte header size, behind the OS id
constexpr size_t ExtendedMinSize = 3;                           // type and next size (level 3: 5)

// Level 0 headers written on UNIX carry an extended area behind the CRC: OS id 'U', a minor
// version, then the UTC modification time (then mode, user and group ids).
constexpr uint8_t OsIdUnix = 'U';
constexpr size_t UnixAreaTimeAt = 2;

// Extended header types this plug-in reads.
constexpr uint8_t ExtHeaderCrc = 0x00;
constexpr uint8_t ExtFileName = 0x01;
constexpr uint8_t ExtFolderName = 0x02;
constexpr uint8_t ExtUnixTime = 0x54;

// What the extended headers of one member say.
struct Extensions {
    bool hasFileName = false;
    std::string fileName;
    std::string folderName;
    bool hasUnixTime = false;
    uint32_t unixTime = 0;
    bool hasHeaderCrc = false;
    uint16_t headerCrc = 0;
    size_t headerCrcAt = 0;   // offset of the CRC field inside a level 2 or 3 header
};

// One extended header of `size` bytes whose next-size field is `sizeWidth` bytes wide.
void ReadExtension(const uint8_t* record, size_t size, size_t sizeWidth, Extensions* ext) {
    const uint8_t type = record[0];
    const char* data = reinterpret_cast<const char*>(record + 1);
    const size_t dataSize = size - 1 - sizeWidth;
    if (type == ExtFileName) {
        ext->hasFileName = true;
        ext->fileName = NormalizeSeparators(data, dataSize);
    } else if (type == ExtFolderName) {
        ext->folderName = NormalizeSeparators(data, dataSize);
    } else if (type == ExtUnixTime && dataSize >= 4) {
        ext->hasUnixTime = true;
        ext->unixTime = ReadLe32(record + 1);
    } else if (type == ExtHeaderCrc && dataSize >= 2) {
        ext->hasHeaderCrc = true;
        ext->headerCrc = ReadLe16(record + 1);
    }
}

bool ChecksumMatches(const uint8_t* bytes, size_t size) {
    uint8_t sum = 0;
    for (size_t i = 2; i < size; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
    return sum == bytes[1];
}

void ReadCommonFields(const uint8_t* bytes, Header* header) {
    memcpy(header->method, bytes + MethodAt, MethodIdLength);
    header->method[MethodIdLength] = '\0';
    header->packedSize = ReadLe32(bytes + PackedSizeAt);
    header->unpackedSize = ReadLe32(bytes + UnpackedSizeAt);
    header->level = bytes[LevelAt];
}

// Where a link's name "name|target" divides: the first '|' that is no second byte of a
// double-byte character, behind a name that is not empty; npos when there is none.
size_t LinkBar(const std::string& name) {
    for (size_t i = 0; i < name.size(); i += cp932::CharWidth(name, i))
        if (name[i] == '|') return i > 0 && FolderPartLength(name.substr(0, i)) < i ? i : std::string::npos;
    return std::string::npos;
}

// A folder entry named "name|target" is a symbolic link: the file `name` holding the target.
void TakeLink(Header* header) {
    const size_t bar = LinkBar(header->name);
    if (bar == std::string::npos) return;
    header->linkTarget = header->name.substr(bar + 1);
    header->name.resize(bar);
    // The target is a path of the system that made the link.
    std::string& link = header->linkTarget;
    for (size_t i = 0; i < link.size(); i += cp932::CharWidth(link, i))
        if (link[i] == '\\') link[i] = '/';
    header->isLink = true;
    header->unpackedSize = static_cast<uint32_t>(header->linkTarget.size());
    const auto* target = reinterpret_cast<const uint8_t*>(header->linkTarget.data());
    header->crc = codecs::Crc16(0, target, header->linkTarget.size());
}

// The entry's name: the folder of an extended header, then the file name; a folder entry's
// name always ends in '\'.
void ComposeName(const std::string& folder, const std::string& file, Header* header) {
    header->name = folder;
    if (!header->name.empty() && !cp932::EndsWithSeparator(header->name)) header->name.push_back('\\');
    header->name += file;
    if (header->IsFolder()) TakeLink(header);
    if (header->IsFolder() && !header->name.empty() && !cp932::EndsWithSeparator(header->name)) header->name.push_back('\\');
}

HeaderStatus FinishEntry(ByteSource& source, Header* header) {
    if (!source.Contains(header->dataOffset, header->packedSize)) return HeaderStatus::Broken;
    header->nextOffset = header->dataOffset + header->packedSize;
    return HeaderStatus::Read;
}

HeaderStatus ReadLevel0(ByteSource& source, uint64_t offset, const uint8_t* prefix, Header* header) {
    const size_t size = static_cast<size_t>(prefix[0]) + 2;
    if (size < Level0MinSize || !source.Contains(offset, size)) return HeaderStatus::Broken;
    uint8_t bytes[Level01MaxSize];
    if (!source.ReadAt(offset, bytes, size)) return HeaderStatus::Broken;
    if (!ChecksumMatches(bytes, size)) return HeaderStatus::Broken;
    const size_t nameLength = bytes[NameLengthAt];
    if (CommonPrefixSize + nameLength + 2 > size) return HeaderStatus::Broken;

    ReadCommonFields(bytes, header);
    header->dosTime = ReadLe32(bytes + TimeAt);
    header->crc = ReadLe16(bytes + CommonPrefixSize + nameLength);
    const size_t areaAt = CommonPrefixSize + nameLength + 2;
    if (size >= areaAt + UnixAreaTimeAt + 4 && bytes[areaAt] == OsIdUnix) {
        header->hasUnixTime = true;
        header->unixTime = ReadLe32(bytes + areaAt + UnixAreaTimeAt);
    }
    ComposeName("", NormalizeSeparators(reinterpret_cast<const char*>(bytes + CommonPrefixSize), nameLength), header);
    header->dataOffset = offset + size;
    return FinishEntry(source, header);
}

// Walks a chain of extended headers stored in the archive from `offset`; the first size is
// `nextSize`. *total receives the bytes they take. At most `limit` bytes may be used.
HeaderStatus WalkExtensions(ByteSource& source, uint64_t offset, uint16_t nextSize, uint64_t limit,
                            Extensions* ext, uint64_t* total) {
    std::vector<uint8_t> record;
    *total = 0;
    while (nextSize != 0) {
        if (nextSize < ExtendedMinSize || nextSize > limit - *total) return HeaderStatus::Broken;
        if (!source.Contains(offset + *total, nextSize)) return HeaderStatus::Broken;
        record.resize(nextSize);
        if (!source.ReadAt(offset + *total, record.data(), nextSize)) return HeaderStatus::Broken;
        ReadExtension(record.data(), nextSize, 2, ext);
        *total += nextSize;
        nextSize = ReadLe16(record.data() + nextSize - 2);
    }
    return HeaderStatus::Read;
}

HeaderStatus ReadLevel1(ByteSource& source, uint64_t offset, const uint8_t* prefix, Header* header) {
    const size_t size = static_cast<size_t>(prefix[0]) + 2;
    if (size < Level1MinSize || !source.Contains(offset, size)) return HeaderStatus::Broken;
    uint8_t bytes[Level01MaxSize];
    if (!source.ReadAt(offset, bytes, size)) return HeaderStatus::Broken;
    if (!ChecksumMatches(bytes, size)) return HeaderStatus::Broken;
    const size_t nameLength = bytes[NameLengthAt];
    if (CommonPrefixSize + nameLength + 5 > size) return HeaderStatus::Broken;

    ReadCommonFields(bytes, header);
    header->dosTime = ReadLe32(bytes + TimeAt);
    header->crc = ReadLe16(bytes + CommonPrefixSize + nameLength);

    // The stored size counts the extended headers too; they lie between header and data.
    const uint32_t skipSize = header->packedSize;
    Extensions ext;
    uint64_t extTotal = 0;
    HeaderStatus status = WalkExtensions(source, offset + size, ReadLe16(bytes + size - 2), skipSize, &ext, &extTotal);
    if (status != HeaderStatus::Read) return status;
    header->packedSize = static_cast<uint32_t>(skipSize - extTotal);

    std::string baseName = NormalizeSeparators(reinterpret_cast<const char*>(bytes + CommonPrefixSize), nameLength);
    ComposeName(ext.folderName, ext.hasFileName ? ext.fileName : baseName, header);
    header->hasUnixTime = ext.hasUnixTime;
    header->unixTime = ext.unixTime;
    header->dataOffset = offset + size + extTotal;
    return FinishEntry(source, header);
}

uint32_t ReadSize(const uint8_t* p, size_t width) { return width == 4 ? ReadLe32(p) : ReadLe16(p); }

// Levels 2 and 3: the extended headers lie inside the header's own `bytes`, from `at` on;
// their next-size fields are `sizeWidth` bytes wide. Checks the header CRC when one is given.
HeaderStatus ReadInlineExtensions(std::vector<uint8_t>& bytes, size_t at, uint32_t nextSize, size_t sizeWidth,
                                  Extensions* ext) {
    const size_t size = bytes.size();
    while (nextSize != 0) {
        if (nextSize < 1 + sizeWidth || nextSize > size - at) return HeaderStatus::Broken;
        if (bytes[at] == ExtHeaderCrc && nextSize >= 1 + sizeWidth + 2 && !ext->hasHeaderCrc) ext->headerCrcAt = at + 1;
        ReadExtension(&bytes[at], nextSize, sizeWidth, ext);
        at += nextSize;
        nextSize = ReadSize(&bytes[at - sizeWidth], sizeWidth);
    }
    if (ext->hasHeaderCrc) {
        bytes[ext->headerCrcAt] = bytes[ext->headerCrcAt + 1] = 0;
        if (codecs::Crc16(0, bytes.data(), size) != ext->headerCrc) return HeaderStatus::Broken;
    }
    return HeaderStatus::Read;
}

// Levels 2 and 3 share their fields up to the OS id; their sizes are 2 or 4 bytes wide.
HeaderStatus ReadLongHeader(ByteSource& source, uint64_t offset, size_t size, size_t sizeWidth, Header* header) {
    const size_t fixedSize = sizeWidth == 4 ? Level3MinSize : Level2MinSize;
    if (size < fixedSize || !source.Contains(offset, size)) return HeaderStatus::Broken;
    std::vector<uint8_t> bytes(size);
    if (!source.ReadAt(offset, bytes.data(), size)) return HeaderStatus::Broken;

    ReadCommonFields(bytes.data(), header);
    header->hasUnixTime = true;
    header->unixTime = ReadLe32(&bytes[TimeAt]);
    header->crc = ReadLe16(&bytes[21]);

    Extensions ext;
    HeaderStatus status =
        ReadInlineExtensions(bytes, fixedSize, ReadSize(&bytes[fixedSize - sizeWidth], sizeWidth), sizeWidth, &ext);
    if (status != HeaderStatus::Read) return status;
    ComposeName(ext.folderName, ext.fileName, header);
    header->dataOffset = offset + size;
    return FinishEntry(source, header);
}

HeaderStatus ReadLevel2(ByteSource& source, uint64_t offset, const uint8_t* prefix, Header* header) {
    return ReadLongHeader(source, offset, ReadLe16(prefix), 2, header);
}

// Level 3: the header size is a 4-byte field behind the OS id.
HeaderStatus ReadLevel3(ByteSource& source, uint64_t offset, const uint8_t* prefix, Header* header) {
    if (ReadLe16(prefix) != Level3WordSize) return HeaderStatus::Broken;
    uint8_t sizeField[4];
    if (!source.Contains(offset, Level3MinSize) || !source.ReadAt(offset + Level3SizeAt, sizeField, sizeof sizeField))
        return HeaderStatus::Broken;
    const uint32_t size = ReadLe32(sizeField);
    if (size > Level3MaxSize) return HeaderStatus::Broken;
    return ReadLongHeader(source, offset, size, 4, header);
}

}  // namespace

bool Header::IsFolder() const { return !isLink && memcmp(method, "-lhd-", MethodIdLength) == 0; }

HeaderStatus ReadHeader(ByteSource& source, uint64_t offset, Header* header) {
    uint8_t prefix[CommonPrefixSize];
    if (!source.Contains(offset, 1)) return HeaderStatus::ArchiveEnd;
    if (!source.ReadAt(offset, prefix, 1)) return HeaderStatus::Broken;
    if (prefix[0] == 0) return HeaderStatus::ArchiveEnd;
    if (!source.Contains(offset, sizeof prefix) || !source.ReadAt(offset, prefix, sizeof prefix)) {
        return HeaderStatus::Broken;
    }
    *header = Header();
    header->headerOffset = offset;
    switch (prefix[LevelAt]) {
    case 0: return ReadLevel0(source, offset, prefix, header);
    case 1: return ReadLevel1(source, offset, prefix, header);
    case 2: return ReadLevel2(source, offset, prefix, header);
    case 3: return ReadLevel3(source, offset, prefix, header);
    default: return HeaderStatus::Unsupported;
    }
}

bool LooksLikeHeader(const uint8_t* bytes, size_t length) {
    if (length < CommonPrefixSize) return false;
    const uint8_t* method = bytes + MethodAt;
    bool methodId = method[0] == '-' && method[1] == 'l' && (method[2] == 'h' || method[2] == 'z') && method[4] == '-';
    if (!methodId) return false;
    switch (bytes[LevelAt]) {
    case 0: return bytes[0] + 2u >= Level0MinSize;
    case 1: return bytes[0] + 2u >= Level1MinSize;
    case 2: return ReadLe16(bytes) >= Level2MinSize;
    case 3: return ReadLe16(bytes) == Level3WordSize;
    default: return false;
    }
}

}  // namespace lha
