#include "spi/common/EntryRecord.h"
#include <cstring>
#include <limits>
#include "spi/common/EntryPath.h"
#include "spi/common/SpiResult.h"

namespace {

bool CopyText(const std::string& text, char* field, size_t fieldSize) {
    if (text.size() >= fieldSize) return false;
    memcpy(field, text.c_str(), text.size() + 1);
    return true;
}

EntryTime ClampTime(int64_t seconds) {
    constexpr int64_t Lowest = std::numeric_limits<EntryTime>::min();
    constexpr int64_t Highest = std::numeric_limits<EntryTime>::max();
    return static_cast<EntryTime>(seconds < Lowest ? Lowest : seconds > Highest ? Highest : seconds);
}

}  // namespace

int FillRecord(const EntryFields& fields, ArchiveEntry* record, bool* skip) {
    memset(record, 0, sizeof *record);
    EntryPath name;
    *skip = !SplitEntryName(fields.name, &name);
    if (*skip) return SpiSuccess;
    // The 32-bit record has 32 bits for these; larger archives are beyond that build.
    constexpr uint64_t RecordMax = std::numeric_limits<EntrySize>::max();
    if (fields.position > RecordMax || fields.packedSize > RecordMax || fields.unpackedSize > RecordMax)
        return SpiUnknownFormat;
    if (!CopyText(name.path, record->path, sizeof record->path) ||
        !CopyText(name.fileName, record->fileName, sizeof record->fileName))
        return SpiUnknownFormat;
    memcpy(record->method, fields.method, strnlen(fields.method, sizeof record->method));
    record->position = static_cast<EntrySize>(fields.position);
    record->packedSize = static_cast<EntrySize>(fields.packedSize);
    record->unpackedSize = static_cast<EntrySize>(fields.unpackedSize);
    record->timestamp = ClampTime(fields.timestamp);
    record->crc = fields.crc;
    return SpiSuccess;
}

std::string JoinedName(const ArchiveEntry& record) {
    return std::string(record.path, strnlen(record.path, sizeof record.path)) +
           std::string(record.fileName, strnlen(record.fileName, sizeof record.fileName));
}

int64_t FileTimeToUnix(uint64_t fileTime) {
    constexpr int64_t SecondsFrom1601To1970 = 11644473600LL;
    return static_cast<int64_t>(fileTime / 10000000) - SecondsFrom1601To1970;
}

int64_t DosTimeToUnix(uint16_t date, uint16_t time) {
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(1980 + (date >> 9));
    local.wMonth = static_cast<WORD>((date >> 5) & 0x0F);
    local.wDay = static_cast<WORD>(date & 0x1F);
    local.wHour = static_cast<WORD>(time >> 11);
    local.wMinute = static_cast<WORD>((time >> 5) & 0x3F);
    local.wSecond = static_cast<WORD>((time & 0x1F) * 2);
    // Asking Windows for the zone on every entry would make large listings slow.
    static const TIME_ZONE_INFORMATION zone = [] {
        TIME_ZONE_INFORMATION info = {};
        GetTimeZoneInformation(&info);
        return info;
    }();
    SYSTEMTIME utc;
    FILETIME fileTime;
    if (!SystemTimeToFileTime(&local, &fileTime) || !TzSpecificLocalTimeToSystemTime(&zone, &local, &utc) ||
        !SystemTimeToFileTime(&utc, &fileTime))
        return 0;
    ULARGE_INTEGER value;
    value.LowPart = fileTime.dwLowDateTime;
    value.HighPart = fileTime.dwHighDateTime;
    return FileTimeToUnix(value.QuadPart);
}
