#pragma once
// The names ANSI hosts get for the kept records of an archive (GetArchiveInfo, GetFileInfo,
// GetFile), made the first time one of those exports is called about it: each kept name in
// code page 932 (AnsiName), two records whose names come out the same told apart as
// DistinctNames does (different kept names are different stored names). Only the names that
// differ from their kept UTF-8 are stored: an archive of ASCII names stores none.
#include <string>
#include <string_view>
#include <vector>
#include "spi/common/CompactRecords.h"

class AnsiNames {
public:
    explicit AnsiNames(const CompactRecords& records);

    // The code page 932 folder part and file name of the index-th record, `kept`; valid as
    // long as both this and the records are.
    void Get(size_t index, const KeptRecord& kept, std::string_view* path, std::string_view* fileName) const;

private:
    static constexpr size_t AsKept = ~static_cast<size_t>(0);
    std::string bytes_;           // the names that differ, two packed texts each (PackedText.h)
    std::vector<size_t> starts_;  // each record's in bytes_, or AsKept; empty when none differs
};
