#include "extract/ZoneMark.h"
#include <windows.h>
#include <algorithm>
#include "text/LongPath.h"
#include "text/WidePath.h"
#include "text/WideText.h"

namespace {
constexpr wchar_t StreamSuffix[] = L":Zone.Identifier";
constexpr char ZoneIdKey[] = "zoneid";
constexpr size_t MaxZoneDigits = 9;

bool IsCarriedZone(int zone) { return zone == InternetZone || zone == UntrustedZone; }

// The stream's text one byte a character: of UTF-16 each unit's low byte (the keys and
// numbers that matter are ASCII).
std::string NarrowText(const char* text, size_t size) {
    size = std::min(size, ZoneStreamReadLimit);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    bool utf16 = size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    if (!utf16) return std::string(text, size);
    std::string narrow;
    for (size_t i = 2; i + 1 < size; i += 2) narrow += text[i + 1] == 0 ? text[i] : '?';
    return narrow;
}

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

int ZoneNumber(const std::string& value) {
    if (value.empty() || value.size() > MaxZoneDigits) return NoZone;
    if (value.find_first_not_of("0123456789") != std::string::npos) return NoZone;
    return std::stoi(value);
}

// The archive's stream as far as ZoneStreamReadLimit; NoZone when it has none.
int ReadArchiveZone(const std::wstring& archivePath) {
    HANDLE stream = CreateFileW(ExtendedPath(archivePath + StreamSuffix).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (stream == INVALID_HANDLE_VALUE) return NoZone;
    char text[ZoneStreamReadLimit];
    DWORD size = 0, count = 0;
    while (size < sizeof text && ReadFile(stream, text + size, sizeof text - size, &count, nullptr) && count > 0)
        size += count;
    CloseHandle(stream);
    return ZoneIdInStream(text, size);
}

// The file system flags (FILE_*) of the volume whose root is given; 0 when they cannot be read.
// They are asked through a handle: by its root's name, Wine reads a Unix volume's device too
// and, refused, says so on the console.
DWORD FileSystemFlags(const std::wstring& root) {
    HANDLE folder = CreateFileW(root.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return 0;
    DWORD flags = 0;
    if (!GetVolumeInformationByHandleW(folder, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0)) flags = 0;
    CloseHandle(folder);
    return flags;
}

// A path whose file name holds a colon names a stream already; after the drive's colon no
// other may stand.
bool NamesAStream(const std::wstring& path) {
    size_t start = IsExtendedPath(path) ? 6 : 2;
    return path.size() > start && path.find(L':', start) != std::wstring::npos;
}

// The full path; empty when it cannot be made.
std::wstring FullPath(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return std::wstring();
    std::wstring full(size, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size) return std::wstring();
    full.resize(length);
    return full;
}
}  // namespace

int ZoneIdInStream(const char* text, size_t size) {
    std::string narrow = NarrowText(text, size);
    for (size_t start = 0; start < narrow.size();) {
        size_t end = std::min(narrow.find('\n', start), narrow.size());
        std::string line = narrow.substr(start, end - start);
        start = end + 1;
        size_t equals = line.find('=');
        if (equals == std::string::npos || AsciiLower(Trimmed(line.substr(0, equals))) != ZoneIdKey) continue;
        return ZoneNumber(Trimmed(line.substr(equals + 1)));
    }
    return NoZone;
}

bool MarksOutput(int archiveZone, bool outputVolumeHasNamedStreams) {
    return IsCarriedZone(archiveZone) && outputVolumeHasNamedStreams;
}

std::string ZoneStreamText(int zone, const std::string& archivePath) {
    return "[ZoneTransfer]\r\nZoneId=" + std::to_string(zone) + "\r\nReferrerUrl=" + archivePath + "\r\n";
}

ZoneMarker::ZoneMarker(const std::wstring& archivePath) {
    std::wstring full = FullPath(archivePath);
    if (full.empty() || !VolumeHasNamedStreams(full)) return;
    int zone = ReadArchiveZone(full);
    if (!IsCarriedZone(zone)) return;
    zone_ = zone;
    streamText_ = ZoneStreamText(zone, WideToCp932Shown(full));
}

void ZoneMarker::Mark(const std::wstring& filePath) {
    std::wstring file = ExtendedPath(filePath);
    if (zone_ == NoZone || NamesAStream(file)) return;
    if (!MarksOutput(zone_, FolderHasNamedStreams(filePath))) return;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) return;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
    HANDLE stream = CreateFileW(ExtendedPath(filePath + StreamSuffix).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (stream == INVALID_HANDLE_VALUE) return;
    DWORD count = 0;
    if (WriteFile(stream, streamText_.data(), static_cast<DWORD>(streamText_.size()), &count, nullptr))
        SetEndOfFile(stream);
    // Writing any stream dates the whole file: it keeps the time it was given.
    SetFileTime(stream, nullptr, nullptr, &data.ftLastWriteTime);
    CloseHandle(stream);
}

bool ZoneMarker::FolderHasNamedStreams(const std::wstring& filePath) {
    std::wstring folder = widepath::Folder(filePath);
    auto known = folders_.find(folder);
    if (known != folders_.end()) return known->second;
    bool has = VolumeHasNamedStreams(filePath);
    folders_[folder] = has;
    return has;
}

bool ZoneMarker::VolumeHasNamedStreams(const std::wstring& path) {
    wchar_t root[MAX_PATH + 1];
    if (!GetVolumePathNameW(ExtendedPath(path).c_str(), root, MAX_PATH)) return false;
    auto known = volumes_.find(root);
    if (known != volumes_.end()) return known->second;
    bool has = (FileSystemFlags(root) & FILE_NAMED_STREAMS) != 0;
    volumes_[root] = has;
    return has;
}
