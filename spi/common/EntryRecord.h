#pragma once
// An entry as a plug-in describes it to the host: the record it keeps (CompactRecords).
#include <cstdint>
#include <string>
#include "spi/common/CompactRecords.h"
#include "spi/common/EntryPath.h"

// What a plug-in knows of one entry.
struct EntryFields {
    std::string name;          // full name in code page 932, '/' or '\' between parts; a
                               // folder's ends in a separator
    const char* method = "";   // up to 8 characters are shown
    uint64_t position = 0;     // what GetFile is handed back
    uint64_t packedSize = 0, unpackedSize = 0;
    int64_t timestamp = 0;     // seconds since 1970-01-01 UTC
    uint32_t crc = 0;
};

// A record as the plug-in keeps it: its numbers and its name, cleaned and split.
struct NamedRecord {
    RecordNumbers numbers = {};
    EntryPath name;  // UTF-8
};

// Fills *record: the name cleaned and split as SplitEntryName does (a NUL in it made '_'), the
// time clamped to what the record holds. Names of any length are kept: the host's lists leave
// out what does not fit their records. SpiResult: SpiUnknownFormat when a number does not fit
// this build's record. *skip is set for a name of which nothing is left once cleaned (such as
// "../").
int FillRecord(const EntryFields& fields, NamedRecord* record, bool* skip);

// Seconds since 1970-01-01 UTC of a FILETIME (100 ns units since 1601).
int64_t FileTimeToUnix(uint64_t fileTime);

// Seconds since 1970-01-01 UTC of an MS-DOS date and time. They are the local time of the
// machine that made the archive; this machine's time zone (with the daylight saving rule of
// that date) is the best guess for it. 0 for a date that does not exist (month 0, 31 February).
int64_t DosTimeToUnix(uint16_t date, uint16_t time);
