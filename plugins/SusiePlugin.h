#pragma once
// The Susie32 Plug-in boundary, shared by the host (plugins/) and our own plug-ins (spi/).
//
// 32-bit build: every export is stdcall and every argument is 4 bytes wide, exactly as the
// published interface has it. 64-bit twin: the same exports and names, with the integers
// that carry an address or an offset widened to pointer size (ULONG_PTR / LONG_PTR are
// 4 bytes in the 32-bit build, so one set of declarations serves both).
#include <windows.h>
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
// One archive entry as an archive plug-in describes it: 428 bytes, no padding.
struct ArchiveEntry {
    unsigned char method[8];   // NUL-padded; all 8 bytes may be used
    uint32_t position;         // handed back to GetFile unchanged
    uint32_t packedSize;
    uint32_t unpackedSize;
    int32_t timestamp;         // seconds since 1970-01-01 00:00:00 UTC
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
