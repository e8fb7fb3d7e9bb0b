#include "spi/zip/ExtraFields.h"
#include <zlib.h>
#include "spi/common/codecs/ByteOrder.h"

namespace zip {

using codecs::ReadLe16;
using codecs::ReadLe32;
using codecs::ReadLe64;

namespace {

void ReadZip64Field(const uint8_t* data, uint16_t length, Entry* entry) {
    entry->hasZip64Field = true;
    size_t at = 0;
    auto take = [&](uint64_t* value) {
        if (*value != Unknown32) return;
        if (at + 8 > length) return;
        *value = ReadLe64(data + at);
        at += 8;
    };
    take(&entry->unpackedSize);
    take(&entry->packedSize);
    take(&entry->localHeaderOffset);
    if (entry->disk == 0xFFFF && at + 4 <= length) entry->disk = ReadLe32(data + at);
}

void ReadNtfsField(const uint8_t* data, uint16_t length, Entry* entry) {
    size_t at = 4;  // reserved
    while (at + 4 <= length) {
        uint16_t tag = ReadLe16(data + at);
        uint16_t size = ReadLe16(data + at + 2);
        at += 4;
        if (at + size > length) return;
        if (tag == 1 && size >= 8) {
            entry->hasNtfsTime = true;
            entry->ntfsTime = ReadLe64(data + at);
        }
        at += size;
    }
}

void ReadUnixTimeField(const uint8_t* data, uint16_t length, Entry* entry) {
    if (length >= 5 && (data[0] & 1)) {
        entry->hasUnixTime = true;
        entry->unixTime = static_cast<int32_t>(ReadLe32(data + 1));
    }
}

void ReadOldUnixField(const uint8_t* data, uint16_t length, Entry* entry) {
    if (length >= 8) {
        entry->hasOldUnixTime = true;
        entry->oldUnixTime = ReadLe32(data + 4);
    }
}

// Info-ZIP's UTF-8 name: valid only while the stored name is the one it was made for.
void ReadUnicodePathField(const uint8_t* data, uint16_t length, Entry* entry) {
    if (length < 5 || data[0] != 1) return;
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(entry->name.data()),
                      static_cast<uInt>(entry->name.size()));
    if (ReadLe32(data + 1) != static_cast<uint32_t>(crc)) return;
    entry->unicodeName.assign(reinterpret_cast<const char*>(data + 5), length - 5u);
}

// Version, the vendor "AE", the key strength, the real method.
void ReadWinZipAesField(const uint8_t* data, uint16_t length, Entry* entry) {
    if (length < 7 || data[2] != 'A' || data[3] != 'E') return;
    entry->aes.present = true;
    entry->aes.version = ReadLe16(data);
    entry->aes.strength = data[4];
    entry->aes.method = ReadLe16(data + 5);
}

}  // namespace

void ReadExtraFields(const uint8_t* extra, size_t length, Entry* entry) {
    size_t at = 0;
    while (at + 4 <= length) {
        uint16_t id = ReadLe16(extra + at);
        uint16_t size = ReadLe16(extra + at + 2);
        at += 4;
        if (at + size > length) return;  // a damaged field ends the list, as other readers do
        const uint8_t* data = extra + at;
        if (id == ExtraZip64) ReadZip64Field(data, size, entry);
        else if (id == ExtraNtfsTimes) ReadNtfsField(data, size, entry);
        else if (id == ExtraUnixTime) ReadUnixTimeField(data, size, entry);
        else if (id == ExtraOldUnix) ReadOldUnixField(data, size, entry);
        else if (id == ExtraUnicodePath) ReadUnicodePathField(data, size, entry);
        else if (id == ExtraWinZipAes) ReadWinZipAesField(data, size, entry);
        at += size;
    }
}

}  // namespace zip
