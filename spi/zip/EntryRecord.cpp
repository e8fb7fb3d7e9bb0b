#include "spi/zip/EntryRecord.h"
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>
#include "spi/common/SpiResult.h"

namespace {

constexpr UINT CodePage932 = 932;
constexpr int64_t SecondsFrom1601To1970 = 11644473600LL;

bool Utf8ToWide(const std::string& utf8, std::wstring* wide) {
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                     nullptr, 0);
    if (length <= 0) return false;
    wide->resize(length);
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                               &(*wide)[0], length) == length;
}

// UTF-16 to code page 932; characters it lacks become '_'.
bool WideToCp932(const std::wstring& wide, std::string* out) {
    int wideLength = static_cast<int>(wide.size());
    int length = WideCharToMultiByte(CodePage932, 0, wide.data(), wideLength, nullptr, 0, "_", nullptr);
    if (length <= 0) return false;
    out->resize(length);
    return WideCharToMultiByte(CodePage932, 0, wide.data(), wideLength, &(*out)[0], length, "_", nullptr) == length;
}

// UTF-8 to code page 932; characters it lacks become '_'. False for malformed UTF-8.
bool Utf8ToCp932(const std::string& utf8, std::string* out) {
    out->clear();
    std::wstring wide;
    return utf8.empty() || (Utf8ToWide(utf8, &wide) && WideToCp932(wide, out));
}

// UTF-8 to code page 932 only when every character has its own form there: converting back
// gives the same text. A best-fit stand-in ("\" for the yen sign) could even add a separator.
bool Utf8ToCp932Exactly(const std::string& utf8, std::string* out) {
    std::wstring wide, back;
    if (utf8.empty() || !Utf8ToWide(utf8, &wide) || !WideToCp932(wide, out)) return false;
    int length = MultiByteToWideChar(CodePage932, MB_ERR_INVALID_CHARS, out->data(), static_cast<int>(out->size()),
                                     nullptr, 0);
    if (length <= 0) return false;
    back.resize(length);
    MultiByteToWideChar(CodePage932, MB_ERR_INVALID_CHARS, out->data(), static_cast<int>(out->size()), &back[0],
                        length);
    return back == wide && out->find('\0') == std::string::npos;
}

int32_t ClampToInt32(int64_t seconds) {
    if (seconds < INT32_MIN) return INT32_MIN;
    if (seconds > INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(seconds);
}

int64_t FileTimeToUnix(uint64_t fileTime) {
    return static_cast<int64_t>(fileTime / 10000000) - SecondsFrom1601To1970;
}

// DOS date and time are the local time of the machine that made the archive; this machine's
// time zone (with the daylight saving rule of that date) is the best guess for it.
int32_t DosTimeToUnix(uint16_t date, uint16_t time) {
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
    if (!TzSpecificLocalTimeToSystemTime(&zone, &local, &utc) || !SystemTimeToFileTime(&utc, &fileTime))
        return 0;  // not a valid date
    ULARGE_INTEGER value;
    value.LowPart = fileTime.dwLowDateTime;
    value.HighPart = fileTime.dwHighDateTime;
    return ClampToInt32(FileTimeToUnix(value.QuadPart));
}

void SetMethodText(uint16_t method, unsigned char text[8]) {
    const char* name = nullptr;
    switch (method) {
        case 0: name = "Stored"; break;
        case 1: name = "Shrunk"; break;
        case 6: name = "Implode"; break;
        case 8: name = "Deflate"; break;
        case 9: name = "Deflat64"; break;
        case 12: name = "BZip2"; break;
        case 14: name = "LZMA"; break;
        case 93: name = "Zstd"; break;
        case 95: name = "XZ"; break;
        case 98: name = "PPMd"; break;
    }
    char buffer[16];
    if (!name) {
        snprintf(buffer, sizeof buffer, "M%u", static_cast<unsigned>(method));
        name = buffer;
    }
    memset(text, 0, 8);
    memcpy(text, name, strnlen(name, 8));
}

bool CopyText(const std::string& text, char* field, size_t fieldSize) {
    if (text.size() >= fieldSize) return false;
    memcpy(field, text.c_str(), text.size() + 1);
    return true;
}

}  // namespace

std::string EntryNameCp932(const zip::Entry& entry) {
    std::string converted;
    if ((entry.flags & zip::FlagUtf8Name) && Utf8ToCp932(entry.name, &converted)) return converted;
    if (!entry.unicodeName.empty() && Utf8ToCp932Exactly(entry.unicodeName, &converted)) return converted;
    return entry.name;
}

int32_t EntryTimestamp(const zip::Entry& entry) {
    if (entry.hasUnixTime) return entry.unixTime;
    if (entry.hasNtfsTime) return ClampToInt32(FileTimeToUnix(entry.ntfsTime));
    return DosTimeToUnix(entry.dosDate, entry.dosTime);
}

int DescribeEntry(const zip::Entry& entry, ArchiveEntry* record, bool* skip) {
    memset(record, 0, sizeof *record);
    std::string fullName = EntryNameCp932(entry);
    // Old writers mark a folder only by its MS-DOS attribute, without a trailing '/'. An entry
    // with content stays a file, so that no bytes are lost to a wrong attribute.
    if (entry.directoryAttribute && entry.unpackedSize == 0) fullName += '/';
    EntryPath name;
    *skip = !SplitEntryName(fullName, &name);
    if (*skip) return SpiSuccess;
    // The 32-bit record has 32 bits for these; larger archives are beyond that build.
    constexpr uint64_t RecordMax = std::numeric_limits<EntrySize>::max();
    if (entry.recordOffset > RecordMax || entry.packedSize > RecordMax || entry.unpackedSize > RecordMax)
        return SpiUnknownFormat;
    if (!CopyText(name.path, record->path, sizeof record->path) ||
        !CopyText(name.fileName, record->fileName, sizeof record->fileName))
        return SpiUnknownFormat;

    SetMethodText(entry.method, record->method);
    record->position = static_cast<EntrySize>(entry.recordOffset);
    record->packedSize = static_cast<EntrySize>(entry.packedSize);
    record->unpackedSize = static_cast<EntrySize>(entry.unpackedSize);
    record->timestamp = EntryTimestamp(entry);
    record->crc = entry.crc;
    return SpiSuccess;
}

std::string JoinedName(const ArchiveEntry& record) {
    return std::string(record.path, strnlen(record.path, sizeof record.path)) +
           std::string(record.fileName, strnlen(record.fileName, sizeof record.fileName));
}
