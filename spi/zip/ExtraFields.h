#pragma once
// The extra fields of a central record (or a local header) that this plug-in reads: ZIP64 sizes
// and offset, NTFS times, Info-ZIP's extended timestamp, old Unix field and UTF-8 name, WinZip's
// AES field.
#include <cstddef>
#include <cstdint>
#include "spi/zip/ZipFormat.h"

namespace zip {

// Fills the fields of *entry that the extra fields give (ZIP64 values only where the record
// stored 0xFFFFFFFF; the UTF-8 name only while it was made for entry->name). A damaged field
// ends the list, as other readers take it.
void ReadExtraFields(const uint8_t* extra, size_t length, Entry* entry);

}  // namespace zip
