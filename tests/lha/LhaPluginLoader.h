#pragma once
// Lha.spi (Lha.sph) loaded with LoadLibraryA and called through its exports, plus the reference data
// that make_archives.py leaves beside the test program.
#include <windows.h>
#include <cstdint>
#include <map>
#include <string>
#include <vector>
#include "tests/support/FolderWalk.h"
#include "tests/support/SpiLibrary.h"

namespace lhatest {

class LhaPlugin : public SpiLibrary {
public:
    LhaPlugin();

    // GetArchiveInfo: the records up to the terminator; *result gets the export's result; an
    // empty list when it handed over no block.
    std::vector<ArchiveEntry> List(const std::string& archive, int* result) const;
    // GetFile to memory: the block's bytes; *result gets the export's result.
    std::string Fetch(const std::string& archive, uint32_t position, int* result,
                      SpiProgressCallback progress = nullptr, LONG_PTR data = 0) const;
};

std::string PluginPath();       // ..\spi\lha\Lha.spi (.sph) beside the tests folder
std::string DataFolder();       // the folder with the archives, with '\'
std::vector<std::string> MethodArchiveNames();   // "l0-lh5" ... "l2-lh7": level and method
// Those, "dbcs-l0" ... "dbcs-l2", "l3-lh5" (level 3 headers) and "unix-l0" ... "unix-l2"
// (UTC times beside MS-DOS times, symbolic links).
std::vector<std::string> ArchiveNames();

// One line of a reference manifest: what lhasa extracted.
struct Reference {
    bool isFolder = false;
    bool isLink = false;  // a symbolic link: `bytes` is its target; lhasa gives it no time
    uint64_t size = 0;
    int64_t mtime = 0;
    std::string bytes;   // the file's content
};
// Reference entries by stored name (code page 932, '\' separators, folders ending in '\').
std::map<std::string, Reference> ReadReference(const std::string& archiveName);

std::string MethodOf(const ArchiveEntry& entry);

using testsupport::NamesIn;
using testsupport::ModificationTimestamp;

}  // namespace lhatest
