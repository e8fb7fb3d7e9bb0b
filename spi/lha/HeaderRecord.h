#pragma once
// The ArchiveEntry record the host sees for one member header. LHA names are listed as
// stored (a name too long for the record is cut back to a whole folder), where the other
// formats' records are made by FillRecord.
#include "plugins/SusiePlugin.h"
#include "spi/lha/LhaHeader.h"

namespace lha {

// Fills every field of `record`: the method id, the header's offset as position, sizes,
// time in seconds since 1970 UTC, the name split into folder (with its trailing '\') and
// file name (empty for a folder entry), and the CRC-16.
void DescribeHeader(const Header& header, ArchiveEntry* record);

}  // namespace lha
