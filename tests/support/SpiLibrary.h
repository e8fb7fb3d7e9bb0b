#pragma once
// An archive plug-in loaded with LoadLibraryA and called straight through its exports, as any
// Susie host would: for the tests of our plug-ins themselves, through the ANSI exports and
// through the wide ones and GetArchiveListW.
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

// GetArchiveInfoW's answer, read as GetArchiveInfo's.
struct SpiWideListing {
    int result = -1;
    bool handed = false;
    std::vector<ArchiveEntryW> entries;
};

// One record of GetArchiveListW's block with its names.
struct SpiListedEntry {
    ArchiveListRecord record = {};
    std::wstring path, fileName;
};

// GetArchiveListW's answer: the records up to the one of size 0 or the block's end.
// `wellFormed` is false when a record breaks the block's format (a size that is no multiple
// of 8 or runs past the block, names that do not fit it or are not terminated, padding
// that is not zeros, no record of size 0 before the end): then `entries` holds those before it.
struct SpiFullListing {
    int result = -1;
    bool handed = false;
    bool wellFormed = false;
    std::vector<SpiListedEntry> entries;
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

    // The library and all its archive exports (the five, their wide forms, GetArchiveListW)
    // were found.
    bool Loaded() const;
    // The block each call hands over is released.
    SpiListing List(const std::string& archive) const;
    SpiFetched Fetch(const std::string& archive, LONG_PTR position, SpiProgressCallback progress = nullptr,
                     LONG_PTR data = 0) const;
    SpiWideListing ListWide(const std::wstring& archive) const;
    SpiFullListing ListFull(const std::wstring& archive) const;
    SpiFetched FetchWide(const std::wstring& archive, LONG_PTR position) const;

    HMODULE module = nullptr;
    GetPluginInfoFn getPluginInfo = nullptr;
    IsSupportedFn isSupported = nullptr;
    GetArchiveInfoFn getArchiveInfo = nullptr;
    GetFileInfoFn getFileInfo = nullptr;
    GetFileFn getFile = nullptr;
    GetPluginInfoWFn getPluginInfoW = nullptr;
    IsSupportedWFn isSupportedW = nullptr;
    GetArchiveInfoWFn getArchiveInfoW = nullptr;
    GetFileInfoWFn getFileInfoW = nullptr;
    GetFileWFn getFileW = nullptr;
    GetArchiveListWFn getArchiveListW = nullptr;
};

// The record's path and file name joined, each read within its field.
std::string JoinedName(const ArchiveEntry& entry);
std::wstring JoinedName(const ArchiveEntryW& entry);
std::wstring JoinedName(const SpiListedEntry& entry);

// The entry record of this build's plug-in convention as its published description gives it
// (byte offsets, little-endian numbers), written out apart from ArchiveEntry so that tests can
// hold the declaration, and the lists our plug-ins write, against it.
struct PublishedRecord {
    size_t size;
    size_t numberWidth;  // bytes of position, sizes and time
    size_t position, packedSize, unpackedSize, timestamp, path, fileName, crc;
};
#if defined(_WIN64)
constexpr PublishedRecord RecordLayout = {448, 8, 8, 16, 24, 32, 40, 240, 440};
#else
constexpr PublishedRecord RecordLayout = {428, 4, 8, 12, 16, 20, 24, 224, 424};
#endif
// A little-endian number of `width` bytes at `at`.
uint64_t ReadNumber(const unsigned char* record, size_t at, size_t width);
void WriteNumber(unsigned char* record, size_t at, size_t width, uint64_t value);
