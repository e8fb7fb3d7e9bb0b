#pragma once
// The ArchiveEntry record the host sees for one member header.
#include <string>
#include "plugins/SusiePlugin.h"
#include "spi/lha/LhaHeader.h"

namespace lha {

// Fills every field of `record`: the method id, the header's offset as position, sizes,
// time in seconds since 1970 UTC, the name split into folder (with its trailing '\') and
// file name (empty for a folder entry), and the CRC-16.
void FillRecord(const Header& header, ArchiveEntry* record);

// Seconds since 1970 UTC: the Unix time when the header has one, else its MS-DOS local time
// read through the local time zone (0 for a date that does not exist).
int32_t EntryTimestamp(const Header& header);

// The record's folder and file name joined, as hosts name an entry.
std::string JoinedName(const ArchiveEntry& record);

}  // namespace lha
