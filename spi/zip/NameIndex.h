#pragma once
// Where each entry of an archive is, by joined name (path then file name).
#include <string>
#include <unordered_map>
#include <vector>
#include "spi/common/ByteSource.h"
#include "spi/zip/CentralDirectory.h"

class NameIndex {
public:
    int Build(ByteSource& source);  // SpiResult
    // From a directory already read; the reader is a copy, its position is its own.
    int Build(zip::DirectoryReader reader);  // SpiResult
    // The central record offset of the entry named `name`: the exact name, else the first that
    // differs in letter case only. SpiResult; SpiInternalError when no entry has that name.
    int Find(const char* name, uint64_t* recordOffset) const;

private:
    std::vector<std::string> names_;  // in directory order
    std::vector<uint64_t> offsets_;
    std::unordered_multimap<std::string, size_t> byFoldedName_;
};
