#pragma once
// The ZIP records this plug-in reads, and little-endian field access.
#include <cstddef>
#include <cstdint>
#include <string>

namespace zip {

constexpr uint32_t LocalHeaderSignature = 0x04034b50;
constexpr uint32_t CentralHeaderSignature = 0x02014b50;
constexpr uint32_t EndRecordSignature = 0x06054b50;
constexpr uint32_t Zip64EndRecordSignature = 0x06064b50;
constexpr uint32_t Zip64LocatorSignature = 0x07064b50;

constexpr size_t LocalHeaderSize = 30;
constexpr size_t CentralHeaderSize = 46;
constexpr size_t EndRecordSize = 22;
constexpr size_t Zip64LocatorSize = 20;
constexpr size_t Zip64EndRecordSize = 56;
constexpr size_t MaxCommentSize = 0xFFFF;
constexpr uint64_t DataDescriptorMinSize = 12;
constexpr uint32_t Unknown32 = 0xFFFFFFFF;  // a size or offset that a ZIP64 field gives  // CRC and 32-bit sizes, without the signature

constexpr uint16_t FlagEncrypted = 0x0001;
constexpr uint16_t FlagLzmaEndMarker = 0x0002;  // LZMA: an end marker follows the data
constexpr uint16_t FlagDataDescriptor = 0x0008;  // the CRC and sizes follow the data
constexpr uint16_t FlagStrongEncryption = 0x0040;
constexpr uint16_t FlagUtf8Name = 0x0800;
constexpr uint16_t FlagMaskedHeaders = 0x2000;

constexpr uint32_t DosDirectoryAttribute = 0x10;  // low byte of the external attributes

constexpr uint16_t MethodStored = 0;
constexpr uint16_t MethodDeflated = 8;
constexpr uint16_t MethodWinZipAes = 99;  // the real method is in the AES extra field

constexpr uint16_t ExtraZip64 = 0x0001;
constexpr uint16_t ExtraNtfsTimes = 0x000A;
constexpr uint16_t ExtraUnixTime = 0x5455;
constexpr uint16_t ExtraOldUnix = 0x5855;  // Info-ZIP's first Unix field: access, modification time
constexpr uint16_t ExtraUnicodePath = 0x7075;
constexpr uint16_t ExtraWinZipAes = 0x9901;

// WinZip's AES extra field: AE-1 stores the entry's CRC-32, AE-2 (small entries) stores 0.
struct WinZipAesField {
    bool present = false;
    uint16_t version = 0;  // 1 (AE-1) or 2 (AE-2)
    uint8_t strength = 0;  // 1, 2, 3: 128, 192, 256-bit keys
    uint16_t method = 0;   // the method of the data once decrypted
};

constexpr uint64_t UnknownNextStart = UINT64_MAX;

// One central directory record, decoded. Offsets count from the start of the archive (of its
// first piece, for a split archive).
struct Entry {
    uint64_t recordOffset = 0;       // where this central record starts
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;
    uint64_t packedSize = 0;
    uint64_t unpackedSize = 0;
    uint64_t localHeaderOffset = 0;
    uint32_t disk = 0;               // the piece of a split archive the local header is on
    // Where the next local header or the directory begins after this entry's local header
    // (EntryLayout): the entry's data and data descriptor end before it.
    uint64_t nextStart = UnknownNextStart;
    bool hasZip64Field = false;      // sizes and offset may come from a ZIP64 extra field
    std::string name;                // the stored bytes
    uint16_t extraLength = 0;        // of the central record's extra field
    bool directoryAttribute = false; // MS-DOS attributes say "directory"
    std::string unicodeName;         // UTF-8 name of an Info-ZIP Unicode path field, if valid
    bool hasUnixTime = false;        // extended timestamp field: exact UTC seconds
    int32_t unixTime = 0;
    bool hasNtfsTime = false;        // NTFS field: a Windows FILETIME
    uint64_t ntfsTime = 0;
    bool hasOldUnixTime = false;     // Info-ZIP's old Unix field: UTC seconds, unsigned
    uint32_t oldUnixTime = 0;
    bool hasLocalTime = false;       // an extended timestamp or old Unix field of the local header
    int64_t localTime = 0;           // UTC seconds
    WinZipAesField aes;
};

}  // namespace zip
