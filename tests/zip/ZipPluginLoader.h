#pragma once
// Zip.spi loaded as a host loads it, and the calls the tests make through its exports.
#include <windows.h>
#include <string>
#include <vector>
#include "plugins/SusiePlugin.h"

struct ZipPlugin {
    HMODULE module = nullptr;
    GetPluginInfoFn getPluginInfo = nullptr;
    IsSupportedFn isSupported = nullptr;
    GetArchiveInfoFn getArchiveInfo = nullptr;
    GetFileInfoFn getFileInfo = nullptr;
    GetFileFn getFile = nullptr;
};

// The plug-in of this build, loaded once for the whole test program (null members on failure).
const ZipPlugin& Plugin();
std::string PluginPath();
// The folder the archives were made in, with a trailing '\'.
std::string Fixtures();

// A whole listing: the records before the terminator, read within the block's size.
struct Listing {
    int result = -1;
    bool handed = false;  // a block came back
    std::vector<ArchiveEntry> entries;
};
Listing ListArchive(const std::string& archive);

// GetFile to a new memory block: result and the block's bytes (the block is freed).
struct Fetched {
    int result = -1;
    bool handed = false;
    std::string bytes;
};
Fetched FetchEntry(const std::string& archive, LONG_PTR position,
                   SpiProgressCallback progress = nullptr, LONG_PTR data = 0);

std::string JoinedName(const ArchiveEntry& entry);
// The entry of that joined name; null when there is none.
const ArchiveEntry* FindEntry(const Listing& listing, const std::string& joinedName);
