#pragma once
// An archive file kept open between calls (see ArchiveCache) whose entries' records the
// plug-in makes once, on first use, and finds again by position (GetFile) and by name
// (GetFileInfo). A plug-in derives from it: MakeRecords lists the archive, UnpackEntry
// unpacks one entry.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>
#include "plugins/SusiePlugin.h"
#include "spi/common/CompactRecords.h"
#include "spi/common/OpenedArchive.h"
#include "spi/common/OutputSink.h"
#include "spi/common/ProgressReport.h"
#include "spi/common/SpiResult.h"

class RecordedArchive : public OpenedArchive {
public:
    // The archive file at path; null for an archive that is not a file (the plug-in reads it).
    explicit RecordedArchive(const char* path) : OpenedArchive(path) {}

    // Every entry's record, in archive order; the list lives as long as the archive. SpiResult
    // of making them (kept: a later call gets the same answer).
    int Records(const CompactRecords** records);
    // The record of the last entry whose joined name is `name` ('/' and '\' alike, ASCII
    // letters in either case when ignoreCase or when no entry has the name in its own case and
    // the plug-in MatchesAnyCase): the one an extraction leaves on disk when an archive holds
    // a name twice. SpiResult: SpiInternalError when no entry has that name.
    int Find(const char* name, bool ignoreCase, ArchiveEntry* record);
    // The record whose position is `position`, and its index in Records() (or the one
    // UnlistedRecord gives). SpiResult: SpiInternalError for a position no record has.
    int RecordAt(uint64_t position, ArchiveEntry* record, size_t* index);
    // Whether the plug-in takes the archive, by `test` (IsSupported's test of the file): asked
    // on first use only and kept, like the records, so that a host fetching the entries of an
    // archive kept open does not have the file read again for it.
    bool Taken(const std::function<bool()>& test);
    // Whether the entry of the index-th record can be unpacked at all (its method, its
    // encryption): asked before any output is made for it. SpiResult.
    virtual int CheckUnpackable(size_t) { return SpiSuccess; }
    // Unpacks the entry of the index-th record into the sink: exactly its unpackedSize bytes,
    // checked. SpiResult. Calls may come from several threads; the plug-in guards its own
    // unpacking state.
    virtual int UnpackEntry(size_t index, OutputSink& sink, ProgressReport& progress) = 0;

protected:
    // Appends a record for every entry, with positions that differ from one another. SpiResult.
    // Called once, under the lock.
    virtual int MakeRecords(CompactRecords* records) = 0;
    // Whether a name the host gives in another letter case than the entry's still finds it.
    virtual bool MatchesAnyCase() const { return false; }
    // The record of an entry at `position` that Records() does not hold (or that could not be
    // made), for a format that can still read an entry there: one before damage that ended the
    // list. *index is then what UnpackEntry is given. SpiResult; called under the lock.
    virtual int UnlistedRecord(uint64_t position, ArchiveEntry* record, size_t* index);

private:
    int Made();  // mutex_ held, as for the two below
    void IndexPositions();
    void IndexNames();

    std::mutex mutex_;
    bool made_ = false;
    int result_ = 0;
    bool tested_ = false, taken_ = false;
    CompactRecords records_;
    bool positionsIndexed_ = false, namesIndexed_ = false;
    std::unordered_map<uint64_t, size_t> byPosition_;
    std::unordered_map<std::string, size_t> byName_, byFoldedName_;  // the last record of each key
};
