#include "spi/common/CompactRecords.h"
#include <cstddef>
#include <cstring>

namespace {
// A record is kept as: the fields before path, path's length and text, fileName's length and
// text, and the fields after fileName. Neither name is longer than its 200 bytes, so one byte
// holds each length.
constexpr size_t HeadBytes = offsetof(ArchiveEntry, path);
constexpr size_t TailStart = offsetof(ArchiveEntry, crc);
constexpr size_t TailBytes = sizeof(ArchiveEntry) - TailStart;

void AppendName(std::string& bytes, const char* name, size_t room) {
    size_t length = strnlen(name, room);
    bytes.push_back(static_cast<char>(length));
    bytes.append(name, length);
}

const char* ReadName(const char* at, char* name) {
    size_t length = static_cast<unsigned char>(*at++);
    memcpy(name, at, length);
    return at + length;
}
}  // namespace

void CompactRecords::Add(const ArchiveEntry& record) {
    starts_.push_back(bytes_.size());
    const char* raw = reinterpret_cast<const char*>(&record);
    bytes_.append(raw, HeadBytes);
    AppendName(bytes_, record.path, sizeof record.path);
    AppendName(bytes_, record.fileName, sizeof record.fileName);
    bytes_.append(raw + TailStart, TailBytes);
}

void CompactRecords::Trim() {
    bytes_.shrink_to_fit();
    starts_.shrink_to_fit();
}

void CompactRecords::Clear() {
    std::string().swap(bytes_);
    std::vector<size_t>().swap(starts_);
}

void CompactRecords::Get(size_t index, ArchiveEntry* record) const {
    memset(record, 0, sizeof *record);
    const char* at = bytes_.data() + starts_[index];
    char* raw = reinterpret_cast<char*>(record);
    memcpy(raw, at, HeadBytes);
    at = ReadName(at + HeadBytes, record->path);
    at = ReadName(at, record->fileName);
    memcpy(raw + TailStart, at, TailBytes);
}
