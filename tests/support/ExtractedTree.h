#pragma once
// What a reference tool (unzip, 7z, tar) extracted at build time, read back for comparison.
#include <cstdint>
#include <map>
#include <string>
#include "tests/support/FolderWalk.h"

namespace testsupport {

struct ExtractedItem {
    std::string fullPath;
    bool isFolder = false;
    int64_t modified = 0;  // seconds since 1970 UTC
};

// Everything below `root` (with a trailing '\'), by joined entry name ("tree\docs\" for a folder).
std::map<std::string, ExtractedItem> ExtractedTree(const std::string& root);

}  // namespace testsupport
