#pragma once
// An LHA archive file the plug-in keeps open between calls (see ArchiveCache), with its
// member headers walked once, on first use, and found again by position and by name.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>
#include "spi/common/OpenedArchive.h"
#include "spi/lha/LhaHeader.h"

namespace lha {

// The member headers of an archive from one start on, in archive order (see WalkArchive).
class HeaderList {
public:
    HeaderList(ByteSource& source, uint64_t start);

    uint64_t Start() const { return start_; }
    // SpiResult of the walk; after damage, the list holds the headers before it.
    int WalkResult() const { return walkResult_; }
    const std::vector<Header>& Headers() const { return headers_; }
    // The header that starts at `position`, or null.
    const Header* At(uint64_t position) const;
    // The first header whose joined name (as hosts name an entry) is `name`, in letter case
    // or without. SpiResult: the walk's failure, or SpiInternalError when no entry has that name.
    int Find(const char* name, bool ignoreCase, Header* header) const;

private:
    uint64_t start_;
    int walkResult_;
    std::vector<Header> headers_;
    std::vector<std::string> names_;                   // joined name of each header
    std::unordered_map<uint64_t, size_t> byPosition_;
    std::unordered_map<std::string, size_t> byName_;   // the first header of each name
};

class LhaArchive : public OpenedArchive {
public:
    explicit LhaArchive(const char* path) : OpenedArchive(path) {}

    // The headers from `start` on: walked on the first call and kept; a call with another
    // start than the first one's gets null (walk that one for yourself). Safe for calls from
    // several threads; the list lives as long as the archive object.
    const HeaderList* HeadersFrom(uint64_t start);
    // The headers kept by an earlier HeadersFrom; null when there was none. Never walks.
    const HeaderList* KeptHeaders();

private:
    std::mutex mutex_;
    std::unique_ptr<HeaderList> headers_;
};

}  // namespace lha
