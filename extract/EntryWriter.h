#pragma once
// Writing one entry of an archive as a file: the one road from a plug-in's fetched block to
// the disk, taken by extraction runs and by viewing an entry.
#include <cstdint>
#include <string>
#include "extract/OutputFile.h"
#include "extract/ZoneMark.h"
#include "plugins/ArchiveHold.h"
#include "plugins/PluginTable.h"

// Where and how an entry is written.
struct EntryFileTarget {
    std::wstring path;
    OutputFileState existing;  // what stands at path now (LookAtOutput)
    int64_t timestamp = 0;     // seconds since 1970 UTC for the file's time; 0 keeps the time of writing
    ZoneMarker* zone = nullptr;  // carries the archive's zone to the file; none: no mark
    EntryProgress* progress = nullptr;  // told of a large entry's progress, and may stop it
};

enum class EntryFileEnd {
    Written,
    ArchiveChanged,  // the archive is no longer the file that was listed; nothing was fetched
    NotFetched,  // the plug-in failed; no file was touched
    NotWritten,  // the file could not be made or written; a file that stood there is left as it was
};

// Checks that the held archive is still the file that was listed (ArchiveHold), fetches the
// entry from it through the plug-in that listed it and writes its unpackedSize bytes as the
// file target.path: a missing path gets a new file, an existing file is replaced only once the
// new one is complete, and a folder or a read-only file is refused. An entry of
// LargeEntryBytes or more is written by the plug-in itself where it can (PluginFileOutput.h),
// reporting to target.progress; any other is fetched into memory, whose block is released
// before the call returns. After NotFetched, *pluginCode holds the plug-in result (StoppedByUser
// when target.progress stopped it). A written file gets the mark of target.zone.
EntryFileEnd WriteEntryFile(ArchiveHold& archive, const ListedEntry& entry, const EntryFileTarget& target,
                            int* pluginCode);
