#pragma once
// A central directory record as the Susie host sees it: an ArchiveEntry.
#include <string>
#include "spi/common/EntryRecord.h"
#include "spi/zip/ZipFormat.h"

// The entry's name in code page 932: UTF-8 names (flagged, or from Info-ZIP's Unicode path
// field) converted, other names as stored.
std::string EntryNameCp932(const zip::Entry& entry);

// Last modification time in seconds since 1970 UTC: the exact time of an extended timestamp,
// NTFS or old Info-ZIP Unix field (in that order) when present, else the DOS time read as
// local time.
int32_t EntryTimestamp(const zip::Entry& entry);

// Fills *record. SpiResult: SpiUnknownFormat when a name part or a number does not fit the
// record. *skip is set for entries whose name is empty once cleaned (such as "../").
int DescribeEntry(const zip::Entry& entry, ArchiveEntry* record, bool* skip);
