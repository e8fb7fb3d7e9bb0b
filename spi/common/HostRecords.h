#pragma once
// A kept record as each set of exports hands it to a host: the ANSI ArchiveEntry (code page 932
// names, AnsiNames), the wide ArchiveEntryW, and our list's ArchiveListRecord with its names in
// full. A name is never cut: a record whose folder part or file name does not fit its field
// (199 bytes or UTF-16 units and the terminator) is not made.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include "plugins/SusiePlugin.h"
#include "spi/common/CompactRecords.h"

// False when a name does not fit.
bool ToAnsiEntry(const RecordNumbers& numbers, std::string_view path, std::string_view fileName, ArchiveEntry* entry);
// From the kept (UTF-8) names. False when a name does not fit.
bool ToWideEntry(const KeptRecord& kept, ArchiveEntryW* entry);

// Bytes of the list record of `kept`, its names and padding included.
size_t ListRecordSize(const KeptRecord& kept);
// Writes it at `at`, which has ListRecordSize bytes of room.
void WriteListRecord(const KeptRecord& kept, unsigned char* at);
