#include "spi/lha/EntryRecord.h"
#include <cstring>
#include "spi/lha/EntryName.h"

namespace lha {
namespace {

constexpr uint64_t FileTimeTicksPerSecond = 10000000;
constexpr uint64_t FileTimeOf1970 = 116444736000000000;

bool DosTimeToLocal(uint32_t dosTime, SYSTEMTIME* local) {
    const unsigned time = dosTime & 0xFFFF;
    const unsigned date = dosTime >> 16;
    *local = SYSTEMTIME{};
    local->wYear = static_cast<WORD>(1980 + (date >> 9));
    local->wMonth = static_cast<WORD>((date >> 5) & 0x0F);
    local->wDay = static_cast<WORD>(date & 0x1F);
    local->wHour = static_cast<WORD>(time >> 11);
    local->wMinute = static_cast<WORD>((time >> 5) & 0x3F);
    local->wSecond = static_cast<WORD>((time & 0x1F) * 2);
    FILETIME check;   // rejects dates such as month 0 or 31 February
    return SystemTimeToFileTime(local, &check) != FALSE;
}

}  // namespace

int32_t EntryTimestamp(const Header& header) {
    if (header.hasUnixTime) return static_cast<int32_t>(header.unixTime);
    SYSTEMTIME local, utc;
    FILETIME fileTime;
    if (!DosTimeToLocal(header.dosTime, &local) || !TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
        !SystemTimeToFileTime(&utc, &fileTime)) {
        return 0;
    }
    const uint64_t ticks = (static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
    return static_cast<int32_t>((static_cast<int64_t>(ticks) - static_cast<int64_t>(FileTimeOf1970)) /
                                static_cast<int64_t>(FileTimeTicksPerSecond));
}

void FillRecord(const Header& header, ArchiveEntry* record) {
    memset(record, 0, sizeof *record);
    memcpy(record->method, header.method, MethodIdLength);
    record->position = static_cast<EntrySize>(header.headerOffset);
    record->packedSize = header.packedSize;
    record->unpackedSize = header.unpackedSize;
    record->timestamp = EntryTimestamp(header);
    record->crc = header.crc;

    const std::string& name = header.name;
    const size_t folderLength = header.IsFolder() ? name.size() : FolderPartLength(name);
    // A folder too long for its field is cut back to a whole folder, so it keeps its separator.
    size_t copied = CopyBounded(record->path, sizeof record->path, name.data(), folderLength);
    if (copied < folderLength) record->path[FolderPartLength(std::string(record->path, copied))] = '\0';
    CopyBounded(record->fileName, sizeof record->fileName, name.data() + folderLength, name.size() - folderLength);
}

std::string JoinedName(const ArchiveEntry& record) {
    return std::string(record.path, strnlen(record.path, sizeof record.path)) +
           std::string(record.fileName, strnlen(record.fileName, sizeof record.fileName));
}

}  // namespace lha
