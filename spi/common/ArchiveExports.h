#pragma once
// The exports of a plug-in built on RecordedArchive, written once (ArchiveExports.cpp, compiled
// into each such plug-in). The plug-in supplies what differs: its texts, its test of an
// archive's first bytes, and its kind of archive, kept open between calls (ArchiveCache).
// Archives are read from files, starting at offset 0; an archive handed over in memory, or at
// another offset, gets SpiNotImplemented.
#include <cstddef>
#include <cstdint>
#include <memory>
#include "spi/common/RecordedArchive.h"

namespace plugin {

// GetPluginInfo's text for an info number (0 version, 1 name, 2 file patterns, 3 the kind of
// file); null for a number the plug-in has no text for.
const char* InfoText(int infono);
// Whether the first bytes of a file (SpiHeaderBytes of them, zeros past a short file's end)
// begin an archive of this plug-in.
bool Supports(const uint8_t* header, size_t size);
// The archive at `path`, kept open between calls; null when it cannot be opened. May throw
// std::bad_alloc.
std::shared_ptr<RecordedArchive> OpenArchive(const char* path);
// Lets the kept archive go (the library is being unloaded).
void CloseArchive();

}  // namespace plugin
