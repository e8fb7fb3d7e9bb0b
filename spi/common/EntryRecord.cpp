#include "spi/common/EntryRecord.h"
#include <cstring>
#include <limits>
#include "spi/common/EntryPath.h"
#include "spi/common/SpiResult.h"

namespace {

EntryTime ClampTime(int64_t seconds) {
    constexpr int64_t Lowest = std::numeric_limits<EntryTime>::min();
    constexpr int64_t Highest = std::numeric_limits<EntryTime>::max();
    return static_cast<EntryTime>(seconds < Lowest ? Lowest : seconds > Highest ? Highest : seconds);
}

}  // namespace

int FillRecord(const EntryFields& fields, NamedRecord* record, bool* skip) {
    *record = NamedRecord();
    const std::string* name = &fields.name;
    std::string withoutNul;
    if (fields.name.find('\0') != std::string::npos) {
        withoutNul = fields.name;
        for (char& c : withoutNul)
            if (c == '\0') c = '_';
        name = &withoutNul;
    }
    *skip = !SplitEntryName(*name, &record->name, NameForm::Utf8);
    if (*skip) return SpiSuccess;
    // The 32-bit record has 32 bits for these; larger archives are beyond that build.
    constexpr uint64_t RecordMax = std::numeric_limits<EntrySize>::max();
    if (fields.position > RecordMax || fields.packedSize > RecordMax || fields.unpackedSize > RecordMax)
        return SpiUnknownFormat;
    RecordNumbers& numbers = record->numbers;
    memcpy(numbers.method, fields.method, strnlen(fields.method, sizeof numbers.method));
    numbers.position = static_cast<EntrySize>(fields.position);
    numbers.packedSize = static_cast<EntrySize>(fields.packedSize);
    numbers.unpackedSize = static_cast<EntrySize>(fields.unpackedSize);
    numbers.timestamp = ClampTime(fields.timestamp);
    numbers.crc = fields.crc;
    return SpiSuccess;
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
