#pragma once
// An archive plug-in loaded with LoadLibraryA and called straight through its exports, as any
// Susie host would: for the tests of our plug-ins themselves.
#include <windows.h>
#include <string>
#include <vector>
#include "plugins/SusiePlugin.h"

// GetArchiveInfo's answer: the records before the terminator, read within the block's size.
struct SpiListing {
    int result = -1;
    bool handed = false;  // a block came back
    std::vector<ArchiveEntry> entries;
};

// GetFile's answer for memory output: the block's bytes (its LocalSize).
struct SpiFetched {
    int result = -1;
    bool handed = false;
    std::string bytes;
};

class SpiLibrary {
public:
    explicit SpiLibrary(const std::string& path);
    ~SpiLibrary();
    SpiLibrary(const SpiLibrary&) = delete;
    SpiLibrary& operator=(const SpiLibrary&) = delete;

    // The library and all five archive exports were found.
    bool Loaded() const;
    // The block each call hands over is released.
    SpiListing List(const std::string& archive) const;
    SpiFetched Fetch(const std::string& archive, LONG_PTR position, SpiProgressCallback progress = nullptr,
                     LONG_PTR data = 0) const;

    HMODULE module = nullptr;
    GetPluginInfoFn getPluginInfo = nullptr;
    IsSupportedFn isSupported = nullptr;
    GetArchiveInfoFn getArchiveInfo = nullptr;
    GetFileInfoFn getFileInfo = nullptr;
    GetFileFn getFile = nullptr;
};

// The record's path and file name joined, each read within its field.
std::string JoinedName(const ArchiveEntry& entry);
