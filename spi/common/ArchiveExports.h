#pragma once
// The exports of an archive plug-in, written once (ArchiveExports.cpp, the ANSI ones, and
// WideExports.cpp, the wide ones and GetArchiveListW, compiled into each of our plug-ins, over
// ExportCalls.h). The plug-in supplies what differs: its texts, its test of an archive's first
// bytes, and its kind of archive (a RecordedArchive), usually kept open between calls
// (ArchiveCache). A new format starts as a copy of the smallest plug-in (spi/sevenzip/SevenZipPlugin.cpp).
#include <cstddef>
#include <cstdint>
#include <memory>
#include "spi/common/ArchiveCache.h"
#include "spi/common/RecordedArchive.h"
#include "spi/common/SpiResult.h"

namespace plugin {

// Where the host says an archive is.
struct ArchiveInput {
    const wchar_t* path = nullptr;  // the archive file's name (the ANSI exports' made UTF-16)
    const char* bytes = nullptr;    // the archive's bytes, when inMemory
    int64_t offset = 0;             // a file: where the archive starts in it; in memory: its size
    bool inMemory = false;
};

// GetPluginInfo's text for an info number (0 version, 1 name, 2 file patterns, 3 the kind of
// file); null for a number the plug-in has no text for.
const char* InfoText(int infono);
// Whether the file begins an archive of this plug-in: `header` holds its first bytes
// (SpiHeaderBytes of them, zeros past a short file's end); `path` names the file, for a
// plug-in that must look beyond its first bytes (it may be null or name nothing; any length,
// WidePath.h). IsSupported asks it, and the other exports ask it once for each archive file
// they open.
bool Supports(const wchar_t* path, const uint8_t* header, size_t size);
// The archive the host names, in *archive. SpiResult: SpiNotImplemented for an input the
// plug-in does not read, SpiReadError when the archive cannot be opened. May throw
// std::bad_alloc.
int OpenArchive(const ArchiveInput& input, std::shared_ptr<RecordedArchive>* archive);
// Lets the kept archive go (the library is being unloaded).
void CloseArchive();

// OpenArchive of a plug-in that reads archive files from their start only, keeping the last
// one open in `cache`.
template <class Archive>
int OpenWholeFile(ArchiveCache<Archive>& cache, const ArchiveInput& input, std::shared_ptr<RecordedArchive>* archive) {
    if (input.inMemory || input.offset != 0) return SpiNotImplemented;
    *archive = cache.Open(input.path);
    return *archive ? SpiSuccess : SpiReadError;
}

}  // namespace plugin
