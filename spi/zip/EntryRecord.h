#pragma once
// A central directory record as the plug-in keeps it (NamedRecord).
#include <string>
#include "spi/common/EntryRecord.h"
#include "spi/zip/ZipFormat.h"

#include <vector>

// Whether the archive's names that neither the UTF-8 flag nor a Unicode path field declare are
// UTF-8 all the same (Utf8NameGuess).
bool UnflaggedNamesAreUtf8(const std::vector<zip::Entry>& entries);

// The entry's name as kept (NameText.h): UTF-8 names (flagged, from Info-ZIP's Unicode path
// field, or all unflagged ones when `namesUtf8`) composed, other names read as code page 932.
std::string EntryName(const zip::Entry& entry, bool namesUtf8);
// EntryName of each entry.
std::vector<std::string> KeptNames(const std::vector<zip::Entry>& entries, bool namesUtf8);
// Whether any entry's kept name (KeptNames) is another than it stores (DistinctNames).
bool AnyNameConverted(const std::vector<zip::Entry>& entries, const std::vector<std::string>& kept);

// Last modification time in seconds since 1970 UTC: the exact time of the central record's
// extended timestamp, else of a Unix time field of the local header (LocalTime.h), else of the
// central record's NTFS or old Info-ZIP Unix field (in that order), else the DOS time read as
// local time.
int32_t EntryTimestamp(const zip::Entry& entry);

// Fills *record, under `name` (EntryName, kept apart from the archive's other names).
// SpiResult: SpiUnknownFormat when a number does not fit the record. *skip is set for entries
// whose name is empty once cleaned (such as "../").
int DescribeEntry(const zip::Entry& entry, const std::string& name, NamedRecord* record, bool* skip);
