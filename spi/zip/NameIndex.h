#pragma once
// Where each entry of an archive is, by joined name (path then file name).
#include <windows.h>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>
#include "spi/common/ByteSource.h"

class NameIndex {
public:
    int Build(ByteSource& source);  // SpiResult
    // The central record offset of the entry named `name`: the exact name, else the first that
    // differs in letter case only. SpiResult; SpiOtherError when no entry has that name.
    int Find(const char* name, uint64_t* recordOffset) const;

private:
    std::vector<std::string> names_;  // in directory order
    std::vector<uint64_t> offsets_;
    std::unordered_multimap<std::string, size_t> byFoldedName_;
};

// The index of the archive file looked up last. A host completes a listing with one
// GetFileInfo per folder and empty file; this spares each call reading the whole directory.
// It is rebuilt when the file's path, size or modification time differ.
class CachedNameIndex {
public:
    int Find(const char* path, ByteSource& source, const char* name, uint64_t* recordOffset);

private:
    struct Identity {
        std::string path;
        uint64_t size = 0;
        uint64_t modified = 0;
        bool operator==(const Identity& other) const {
            return path == other.path && size == other.size && modified == other.modified;
        }
    };

    std::mutex mutex_;
    bool valid_ = false;
    Identity identity_;
    NameIndex index_;
};
