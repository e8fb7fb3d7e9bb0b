#pragma once
// An LHA archive file the plug-in keeps open between calls (see ArchiveCache), with its member
// headers walked once, on first use. A header a host names by its position is read from the
// file even when the walk did not reach it: the members before damage can still be unpacked.
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>
#include "spi/common/RecordedArchive.h"
#include "spi/lha/LhaHeader.h"

namespace lha {

class LhaArchive : public RecordedArchive {
public:
    // The archive file at path whose first header is at `start`.
    explicit LhaArchive(const wchar_t* path, uint64_t start = 0) : RecordedArchive(path), start_(start) {}

    int CheckUnpackable(size_t index) override;
    int UnpackEntry(size_t index, ::OutputSink& sink, ProgressReport& progress) override;

protected:
    int MakeRecords(CompactRecords* records) override;
    int UnlistedRecord(uint64_t position, NamedRecord* record, size_t* index) override;

private:
    size_t Keep(const Header& header);  // mutex_ held; the header's index
    Header HeaderOf(size_t index);

    uint64_t start_;
    bool namesUtf8_ = false;  // the walked headers' names are UTF-8 (Utf8NameGuess)
    std::mutex mutex_;
    // The walked headers in archive order (the records' indexes), then those read by position.
    std::vector<Header> headers_;
    std::unordered_map<uint64_t, size_t> byPosition_;
};

}  // namespace lha
