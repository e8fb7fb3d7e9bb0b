#include "spi/zip/EntryRecord.h"
#include <cstdio>
#include "spi/common/NameText.h"
#include "spi/common/SpiResult.h"

namespace {

int32_t ClampToInt32(int64_t seconds) {
    if (seconds < INT32_MIN) return INT32_MIN;
    if (seconds > INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(seconds);
}

void MethodText(uint16_t method, char* text, size_t size) {
    const char* name = nullptr;
    switch (method) {
        case 0: name = "Stored"; break;
        case 1: name = "Shrunk"; break;
        case 6: name = "Implode"; break;
        case 8: name = "Deflate"; break;
        case 9: name = "Deflat64"; break;
        case 12: name = "BZip2"; break;
        case 14: name = "LZMA"; break;
        case 20:
        case 93: name = "Zstd"; break;
        case 95: name = "XZ"; break;
        case 98: name = "PPMd"; break;
    }
    if (name) snprintf(text, size, "%s", name);
    else snprintf(text, size, "M%u", static_cast<unsigned>(method));
}

}  // namespace

namespace {

bool DeclaresUtf8(const zip::Entry& entry) {
    return (entry.flags & zip::FlagUtf8Name) || (!entry.unicodeName.empty() && IsUtf8(entry.unicodeName));
}

}  // namespace

bool UnflaggedNamesAreUtf8(const std::vector<zip::Entry>& entries) {
    Utf8NameGuess guess;
    for (const zip::Entry& entry : entries)
        if (!DeclaresUtf8(entry)) guess.Add(entry.name);
    return guess.NamesAreUtf8();
}

std::string EntryName(const zip::Entry& entry, bool namesUtf8) {
    std::string name;
    if (!entry.unicodeName.empty() && Utf8Name(entry.unicodeName, &name)) return name;
    if ((entry.flags & zip::FlagUtf8Name || namesUtf8) && Utf8Name(entry.name, &name)) return name;
    return Cp932Name(entry.name);
}

std::vector<std::string> KeptNames(const std::vector<zip::Entry>& entries, bool namesUtf8) {
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const zip::Entry& entry : entries) names.push_back(EntryName(entry, namesUtf8));
    return names;
}

bool AnyNameConverted(const std::vector<zip::Entry>& entries, const std::vector<std::string>& kept) {
    for (size_t i = 0; i < entries.size(); ++i)
        if (kept[i] != entries[i].name) return true;
    return false;
}

int32_t EntryTimestamp(const zip::Entry& entry) {
    if (entry.hasUnixTime) return entry.unixTime;
    if (entry.hasLocalTime) return ClampToInt32(entry.localTime);
    if (entry.hasNtfsTime) return ClampToInt32(FileTimeToUnix(entry.ntfsTime));
    if (entry.hasOldUnixTime) return ClampToInt32(entry.oldUnixTime);
    return ClampToInt32(DosTimeToUnix(entry.dosDate, entry.dosTime));
}

int DescribeEntry(const zip::Entry& entry, const std::string& name, NamedRecord* record, bool* skip) {
    EntryFields fields;
    fields.name = name;
    // Old writers mark a folder only by its MS-DOS attribute, without a trailing '/'. An entry
    // with content stays a file, so that no bytes are lost to a wrong attribute.
    if (entry.directoryAttribute && entry.unpackedSize == 0) fields.name += '/';
    char method[16];
    // WinZip AES stores 99 in place of the method, and the method in its field.
    MethodText(entry.method == zip::MethodWinZipAes && entry.aes.present ? entry.aes.method : entry.method, method,
               sizeof method);
    fields.method = method;
    fields.position = entry.recordOffset;
    fields.packedSize = entry.packedSize;
    fields.unpackedSize = entry.unpackedSize;
    fields.timestamp = EntryTimestamp(entry);
    fields.crc = entry.crc;
    return FillRecord(fields, record, skip);
}
