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
// serves both; the record is declared for each. Code above the plug-in host reads the record's
// numbers through EntrySize and EntryTime, and never needs to know which build it is in.
#include <windows.h>
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
#if defined(_WIN64)
typedef uint64_t EntrySize;  // positions and sizes (ULONG_PTR)
typedef int64_t EntryTime;   // seconds since 1970-01-01 00:00:00 UTC

// One archive entry as a 64-bit archive plug-in describes it: 448 bytes.
struct ArchiveEntry {
    unsigned char method[8];   // NUL-padded; all 8 bytes may be used
    EntrySize position;        // handed back to GetFile unchanged
    EntrySize packedSize;
    EntrySize unpackedSize;
    EntryTime timestamp;
    char path[200];            // folder part, with its own trailing separator
    char fileName[200];        // empty for a folder entry
    uint32_t crc;
    uint32_t reserved;         // pads the record to a multiple of 8 bytes
};
#pragma pack(pop)

static_assert(sizeof(ArchiveEntry) == 448, "ArchiveEntry is 448 bytes");
static_assert(offsetof(ArchiveEntry, method) == 0, "method at 0");
static_assert(offsetof(ArchiveEntry, position) == 8, "position at 8");
static_assert(offsetof(ArchiveEntry, packedSize) == 16, "packedSize at 16");
static_assert(offsetof(ArchiveEntry, unpackedSize) == 24, "unpackedSize at 24");
static_assert(offsetof(ArchiveEntry, timestamp) == 32, "timestamp at 32");
static_assert(offsetof(ArchiveEntry, path) == 40, "path at 40");
static_assert(offsetof(ArchiveEntry, fileName) == 240, "fileName at 240");
static_assert(offsetof(ArchiveEntry, crc) == 440, "crc at 440");

// The file names a host of this build looks for in the plug-in folder.
constexpr char SpiFileExtension[] = "sph";
#else
typedef uint32_t EntrySize;  // positions and sizes
typedef int32_t EntryTime;   // seconds since 1970-01-01 00:00:00 UTC

// One archive entry as a 32-bit archive plug-in describes it: 428 bytes, no padding.
struct ArchiveEntry {
    unsigned char method[8];   // NUL-padded; all 8 bytes may be used
    EntrySize position;        // handed back to GetFile unchanged
    EntrySize packedSize;
    EntrySize unpackedSize;
    EntryTime timestamp;
    char path[200];            // folder part, with its own trailing separator
    char fileName[200];        // empty for a folder entry
    uint32_t crc;
};
#pragma pack(pop)

static_assert(sizeof(ArchiveEntry) == 428, "ArchiveEntry is 428 bytes");
static_assert(offsetof(ArchiveEntry, method) == 0, "method at 0");
static_assert(offsetof(ArchiveEntry, position) == 8, "position at 8");
static_assert(offsetof(ArchiveEntry, packedSize) == 12, "packedSize at 12");
static_assert(offsetof(ArchiveEntry, unpackedSize) == 16, "unpackedSize at 16");
static_assert(offsetof(ArchiveEntry, timestamp) == 20, "timestamp at 20");
static_assert(offsetof(ArchiveEntry, path) == 24, "path at 24");
static_assert(offsetof(ArchiveEntry, fileName) == 224, "fileName at 224");
static_assert(offsetof(ArchiveEntry, crc) == 424, "crc at 424");

// The file names a host of this build looks for in the plug-in folder.
constexpr char SpiFileExtension[] = "spi";
#endif

// The method as text: all 8 bytes may be used, so it is never read as a terminated string.
inline void EntryMethodText(const ArchiveEntry& entry, char (&text)[sizeof(ArchiveEntry::method) + 1]) {
    size_t length = 0;
    while (length < sizeof entry.method && entry.method[length]) ++length;
    for (size_t i = 0; i < length; ++i) text[i] = static_cast<char>(entry.method[i]);
    text[length] = '\0';
}

// Size of the header buffer handed to IsSupported; the first 2000 bytes of the file.
constexpr size_t SpiHeaderBufferSize = 2048;
constexpr size_t SpiHeaderBytes = 2000;

// GetFile flags: input is a file; 0x100 asks for the output as a new memory block.
constexpr unsigned int SpiOutputToMemory = 0x100;

typedef int(WINAPI* SpiProgressCallback)(int done, int total, LONG_PTR data);

typedef int(WINAPI* GetPluginInfoFn)(int infono, LPSTR buf, int buflen);
typedef int(WINAPI* IsSupportedFn)(LPCSTR filename, ULONG_PTR header);
typedef int(WINAPI* GetArchiveInfoFn)(LPCSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle);
typedef int(WINAPI* GetFileInfoFn)(LPCSTR src, LONG_PTR offset, LPCSTR name, unsigned int flags,
                                   ArchiveEntry* entry);
typedef int(WINAPI* GetFileFn)(LPCSTR src, LONG_PTR position, LPSTR dest, unsigned int flags,
                               SpiProgressCallback progress, LONG_PTR data);
// Picture exports: looked up for image plug-ins, never called.
typedef int(WINAPI* GetPictureInfoFn)(LPCSTR buf, LONG_PTR len, unsigned int flag, void* info);
typedef int(WINAPI* GetPictureFn)(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo,
                                  HLOCAL* pHBm, SpiProgressCallback progress, LONG_PTR data);
typedef int(WINAPI* GetPreviewFn)(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo,
                                  HLOCAL* pHBm, SpiProgressCallback progress, LONG_PTR data);

// For plug-in sources: the exports with C linkage (undecorated names come from the .def file).
#define SPI_EXPORT extern "C" __declspec(dllexport)
