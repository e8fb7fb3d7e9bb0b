#pragma once
// A ZIP archive file the plug-in keeps open between calls (see ArchiveCache): its central
// directory is read once, on first use, and the index of its names when a name is first
// looked up. Safe for calls from several threads.
#include <cstdint>
#include <mutex>
#include "spi/common/OpenedArchive.h"
#include "spi/zip/CentralDirectory.h"
#include "spi/zip/NameIndex.h"

class ZipArchive : public OpenedArchive {
public:
    explicit ZipArchive(const char* path) : OpenedArchive(path) {}

    // A copy of the directory reader, at the first record. SpiResult of reading the directory.
    int Directory(zip::DirectoryReader* reader);
    // The central record that starts at recordOffset. SpiResult.
    int RecordAt(uint64_t recordOffset, zip::Entry* entry);
    // The central record offset of the entry named `name` (see NameIndex::Find). SpiResult.
    int FindName(const char* name, uint64_t* recordOffset);

private:
    // Reads the directory unless it was read already; its SpiResult. Called with mutex_ held.
    int ReadDirectory();

    std::mutex mutex_;
    bool directoryRead_ = false;
    int directoryResult_ = 0;
    zip::DirectoryReader directory_;
    bool indexBuilt_ = false;
    int indexResult_ = 0;
    NameIndex names_;
};
