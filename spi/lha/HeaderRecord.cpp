#include "spi/lha/HeaderRecord.h"
#include <cstring>
#include "spi/common/EntryRecord.h"
#include "spi/lha/EntryName.h"

namespace lha {
namespace {

// Seconds since 1970 UTC: the Unix time when the header has one, else its MS-DOS local time.
int64_t EntryTimestamp(const Header& header) {
    if (header.hasUnixTime) return static_cast<int32_t>(header.unixTime);
    return DosTimeToUnix(static_cast<uint16_t>(header.dosTime >> 16), static_cast<uint16_t>(header.dosTime));
}

}  // namespace

void DescribeHeader(const Header& header, ArchiveEntry* record) {
    memset(record, 0, sizeof *record);
    memcpy(record->method, header.method, MethodIdLength);
    record->position = static_cast<EntrySize>(header.headerOffset);
    record->packedSize = header.packedSize;
    record->unpackedSize = header.unpackedSize;
    record->timestamp = static_cast<EntryTime>(EntryTimestamp(header));
    record->crc = header.crc;

    const std::string& name = header.name;
    const size_t folderLength = header.IsFolder() ? name.size() : FolderPartLength(name);
    // A folder too long for its field is cut back to a whole folder, so it keeps its separator.
    size_t copied = CopyBounded(record->path, sizeof record->path, name.data(), folderLength);
    if (copied < folderLength) record->path[FolderPartLength(std::string(record->path, copied))] = '\0';
    CopyBounded(record->fileName, sizeof record->fileName, name.data() + folderLength, name.size() - folderLength);
}

}  // namespace lha
