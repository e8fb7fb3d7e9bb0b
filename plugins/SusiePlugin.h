#pragma once
// The Susie plug-in boundary, shared by the host (plugins/) and our own plug-ins (spi/).
//
// Two conventions, one per build:
// - 32-bit (*.spi): every export is stdcall and every argument is 4 bytes wide; an entry is
//   described in a 428-byte record with 32-bit numbers.
// - 64-bit (*.sph): the same five exports under the same plain names (x64 has one calling
//   convention), with the arguments that carry an address or an offset widened to pointer
//   size, and a 448-byte record whose position, sizes and time are pointer-sized.
// ULONG_PTR and LONG_PTR are 4 bytes in the 32-bit build, so one set of function declarations
// serves both. Code above the plug-in host reads the record's numbers through EntrySize and
// EntryTime, and never needs to know which build it is in.
#include <windows.h>
#include <cstddef>
#include <cstdint>

#if defined(_WIN64)
typedef uint64_t EntrySize;  // positions and sizes (ULONG_PTR)
typedef int64_t EntryTime;   // seconds since 1970-01-01 00:00:00 UTC
// The file names a host of this build looks for in the plug-in folder.
constexpr char SpiFileExtension[] = "sph";
#else
typedef uint32_t EntrySize;  // positions and sizes
typedef int32_t EntryTime;   // seconds since 1970-01-01 00:00:00 UTC
constexpr char SpiFileExtension[] = "spi";
#endif

#pragma pack(push, 1)
// One archive entry as an archive plug-in describes it, little-endian.
struct ArchiveEntry {
    unsigned char method[8];   // NUL-padded; all 8 bytes may be used
    EntrySize position;        // handed back to GetFile unchanged
    EntrySize packedSize;
    EntrySize unpackedSize;
    EntryTime timestamp;
    char path[200];            // folder part, with its own trailing separator
    char fileName[200];        // empty for a folder entry
    uint32_t crc;
#if defined(_WIN64)
    uint32_t reserved;         // the 64-bit record ends in 4 bytes of padding
#endif
};
#pragma pack(pop)

// The published layouts: offsets of the fields and the size of the whole record.
namespace spi_layout {
#if defined(_WIN64)
constexpr size_t Position = 8, PackedSize = 16, UnpackedSize = 24, Timestamp = 32;
constexpr size_t Path = 40, FileName = 240, Crc = 440, Size = 448;
#else
constexpr size_t Position = 8, PackedSize = 12, UnpackedSize = 16, Timestamp = 20;
constexpr size_t Path = 24, FileName = 224, Crc = 424, Size = 428;
#endif
}  // namespace spi_layout

static_assert(sizeof(ArchiveEntry) == spi_layout::Size, "the record's size");
static_assert(offsetof(ArchiveEntry, method) == 0, "method");
static_assert(offsetof(ArchiveEntry, position) == spi_layout::Position, "position");
static_assert(offsetof(ArchiveEntry, packedSize) == spi_layout::PackedSize, "packedSize");
static_assert(offsetof(ArchiveEntry, unpackedSize) == spi_layout::UnpackedSize, "unpackedSize");
static_assert(offsetof(ArchiveEntry, timestamp) == spi_layout::Timestamp, "timestamp");
static_assert(offsetof(ArchiveEntry, path) == spi_layout::Path, "path");
static_assert(offsetof(ArchiveEntry, fileName) == spi_layout::FileName, "fileName");
static_assert(offsetof(ArchiveEntry, crc) == spi_layout::Crc, "crc");

// The method as text: all 8 bytes may be used, so it is never read as a terminated string.
inline void EntryMethodText(const ArchiveEntry& entry, char (&text)[sizeof(ArchiveEntry::method) + 1]) {
    size_t length = 0;
    while (length < sizeof entry.method && entry.method[length]) ++length;
    for (size_t i = 0; i < length; ++i) text[i] = static_cast<char>(entry.method[i]);
    text[length] = '\0';
}

#pragma pack(push, 1)
// The same entry in the wide extension of the interface (the exports whose names end in W):
// the names in UTF-16, 200 units each.
struct ArchiveEntryW {
    unsigned char method[8];
    EntrySize position;
    EntrySize packedSize;
    EntrySize unpackedSize;
    EntryTime timestamp;
    wchar_t path[200];
    wchar_t fileName[200];
    uint32_t crc;
#if defined(_WIN64)
    uint32_t reserved;
#endif
};
#pragma pack(pop)

#if defined(_WIN64)
static_assert(sizeof(ArchiveEntryW) == 848, "the 64-bit wide record");
#else
static_assert(sizeof(ArchiveEntryW) == 828, "the 32-bit wide record");
#endif
static_assert(offsetof(ArchiveEntryW, path) == spi_layout::Path, "the numbers as in the record");
static_assert(offsetof(ArchiveEntryW, crc) == spi_layout::Path + 800, "crc after the two names");

// Our own extension of the wide interface, for names of any length and lists of any size:
//
//   int GetArchiveListW(LPCWSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle)
//
// takes the arguments of GetArchiveInfoW and answers as it does (0, or an error code, the
// "stopped" result 1 after the user cancelled a dialog of the plug-in's), but the block it
// hands over holds ArchiveListRecords, each followed by its two names in full: a record's
// `size` bytes are its fixed fields, `pathLength` UTF-16 units of path and a 0, then
// `fileNameLength` units of fileName and a 0, padded with zeros to a multiple of 8 bytes. The
// list ends with the block or at a record whose size is 0. Records and names are those of
// GetArchiveInfoW, but never cut: a plug-in that exports it lists every entry, however long
// its names, and a host that lists through it fetches through GetFileW and GetFileInfoW. It
// also keeps a large archive's list small, where GetArchiveInfoW spends 800 bytes of names
// on every entry.
struct ArchiveListRecord {
    uint32_t size;            // bytes of this record with its names and padding; 0 ends the list
    uint32_t crc;
    unsigned char method[8];  // as in ArchiveEntry
    uint64_t position;        // handed back to GetFileW unchanged (below 2^32 in a *.spi)
    uint64_t packedSize;
    uint64_t unpackedSize;
    int64_t timestamp;        // seconds since 1970-01-01 00:00:00 UTC
    uint32_t pathLength;      // UTF-16 units of the folder part, its trailing '\' included
    uint32_t fileNameLength;  // UTF-16 units of the file name; 0 for a folder entry
};
static_assert(sizeof(ArchiveListRecord) == 56, "the fixed part of a list record");
constexpr size_t ArchiveListAlignment = 8;

// Size of the header buffer handed to IsSupported; the first 2000 bytes of the file.
constexpr size_t SpiHeaderBufferSize = 2048;
constexpr size_t SpiHeaderBytes = 2000;

// GetFile flags: input is a file; 0x100 asks for the output as a new memory block.
constexpr unsigned int SpiOutputToMemory = 0x100;
// GetFile's result when the unpacking was stopped on request: the progress callback's, or the
// user's in a window of the plug-in's own (a password dialog's キャンセル).
constexpr int SpiStopped = 1;

typedef int(WINAPI* SpiProgressCallback)(int done, int total, LONG_PTR data);

typedef int(WINAPI* GetPluginInfoFn)(int infono, LPSTR buf, int buflen);
typedef int(WINAPI* IsSupportedFn)(LPCSTR filename, ULONG_PTR header);
typedef int(WINAPI* GetArchiveInfoFn)(LPCSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle);
typedef int(WINAPI* GetFileInfoFn)(LPCSTR src, LONG_PTR offset, LPCSTR name, unsigned int flags,
                                   ArchiveEntry* entry);
typedef int(WINAPI* GetFileFn)(LPCSTR src, LONG_PTR position, LPSTR dest, unsigned int flags,
                               SpiProgressCallback progress, LONG_PTR data);
// The wide extension: the same arguments, with UTF-16 texts and the wide record.
typedef int(WINAPI* GetPluginInfoWFn)(int infono, LPWSTR buf, int buflen);
typedef int(WINAPI* IsSupportedWFn)(LPCWSTR filename, ULONG_PTR header);
typedef int(WINAPI* GetArchiveInfoWFn)(LPCWSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle);
typedef int(WINAPI* GetFileInfoWFn)(LPCWSTR src, LONG_PTR offset, LPCWSTR name, unsigned int flags,
                                    ArchiveEntryW* entry);
typedef int(WINAPI* GetFileWFn)(LPCWSTR src, LONG_PTR position, LPWSTR dest, unsigned int flags,
                                SpiProgressCallback progress, LONG_PTR data);
typedef int(WINAPI* GetArchiveListWFn)(LPCWSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle);
// Picture exports: looked up for image plug-ins, never called.
typedef int(WINAPI* GetPictureInfoFn)(LPCSTR buf, LONG_PTR len, unsigned int flag, void* info);
typedef int(WINAPI* GetPictureFn)(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo,
                                  HLOCAL* pHBm, SpiProgressCallback progress, LONG_PTR data);
typedef int(WINAPI* GetPreviewFn)(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo,
                                  HLOCAL* pHBm, SpiProgressCallback progress, LONG_PTR data);

// For plug-in sources: the exports with C linkage (undecorated names come from the .def file).
#define SPI_EXPORT extern "C" __declspec(dllexport)
