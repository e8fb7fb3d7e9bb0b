#pragma once
// The time an entry's local header gives. unzip and bsdtar take an entry's time from the Unix
// time fields of its local header alone (Info-ZIP's extended timestamp and old Unix field), 7z
// from the fields of its central record alone; some archivers write an NTFS field in the central
// record and a Unix field in the local header only. Reading the local header of every entry
// would slow the listing of a large archive, so it is read only where the central record has
// no extended timestamp and the bytes between the local header's name and the data (what
// follows the entry tells how many) leave room for a field and differ in length from the
// central record's extra field: writers that put the same fields in both make them as long.
#include "spi/common/ByteSource.h"
#include "spi/zip/ZipFormat.h"

namespace zip {

// Whether the entry's local header may hold a Unix time field its central record lacks, as
// far as its place before entry.nextStart tells.
bool MayHoldLocalTime(const Entry& entry);

// Sets entry->hasLocalTime and entry->localTime from the local header's extended timestamp,
// else its old Unix field, when it has either. A local header that cannot be read gives none
// (fetching the entry fails then).
void ReadLocalTime(ByteSource& source, Entry* entry);

}  // namespace zip
