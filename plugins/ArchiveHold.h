#pragma once
// The archive that entries are fetched from, held open while they are: no program that honours
// sharing modes (any Windows program, any program under Wine) can then write to it, truncate
// it, rename it or put another file in its place, so a list is never read against another file.
#include <windows.h>
#include <string>
#include "plugins/ArchiveIdentity.h"
#include "plugins/ListedArchive.h"

class ArchiveHold {
public:
    explicit ArchiveHold(const ListedArchive& archive);
    ~ArchiveHold();
    ArchiveHold(const ArchiveHold&) = delete;
    ArchiveHold& operator=(const ArchiveHold&) = delete;

    const ListedArchive& Archive() const { return archive_; }
    // Whether the file at the path is still the one that was listed, unchanged. The first call
    // takes the hold and compares the held file in full (volume, file index, size and times),
    // so a file put in the archive's place before then is told apart even with the same size
    // and times. Later calls compare size and times by path, which opens nothing: what a
    // program that ignores sharing modes (a Linux program beside Wine) changes. Where another
    // program has the archive open for writing, no hold can be taken; the file is then
    // compared in full without one. Once false, always false.
    bool StillAsListed();

private:
    const ListedArchive& archive_;
    std::wstring path_;  // the form the file functions take
    HANDLE held_ = INVALID_HANDLE_VALUE;
    bool checked_ = false;
    bool unchanged_ = false;
};
