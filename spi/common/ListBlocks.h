#pragma once
// The blocks of records the listing exports hand over: GetArchiveInfo's ArchiveEntry records,
// GetArchiveInfoW's ArchiveEntryW records (each list ends in an all-zero record; an entry whose
// name does not fit its record is left out, HostRecords.h), and GetArchiveListW's
// ArchiveListRecords, every entry with its names in full, ended by a record of size 0.
// SpiResult: the archive's, or SpiNoMemory when the block cannot be had; *handle is set only
// on success, and the caller owns it.
#include <windows.h>
#include "spi/common/RecordedArchive.h"

int ListAnsiEntries(RecordedArchive& archive, HLOCAL* handle);
int ListWideEntries(RecordedArchive& archive, HLOCAL* handle);
int ListFullRecords(RecordedArchive& archive, HLOCAL* handle);
