#include "spi/lha/HeaderRecord.h"
#include "spi/common/NameText.h"

namespace lha {
namespace {

// Seconds since 1970 UTC: the Unix time when the header has one, else its MS-DOS local time.
int64_t EntryTimestamp(const Header& header) {
    if (header.hasUnixTime) return static_cast<int32_t>(header.unixTime);
    return DosTimeToUnix(static_cast<uint16_t>(header.dosTime >> 16), static_cast<uint16_t>(header.dosTime));
}

}  // namespace

std::string KeptName(const Header& header, bool namesUtf8) {
    std::string name;
    return namesUtf8 && Utf8Name(header.name, &name) ? name : Cp932Name(header.name);
}

int DescribeHeader(const Header& header, const std::string& name, NamedRecord* record, bool* skip) {
    EntryFields fields;
    fields.name = name;
    fields.method = header.method;
    fields.position = header.headerOffset;
    fields.packedSize = header.packedSize;
    fields.unpackedSize = header.unpackedSize;
    fields.timestamp = EntryTimestamp(header);
    fields.crc = header.crc;
    return FillRecord(fields, record, skip);
}

}  // namespace lha
