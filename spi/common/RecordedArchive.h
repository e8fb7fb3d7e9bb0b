#pragma once
// An archive file kept open between calls (see ArchiveCache) whose entries' records the
// plug-in makes once, on first use, and finds again by position (GetFile) and by name
// (GetFileInfo). A plug-in derives from it: MakeRecords lists the archive, UnpackEntry
// unpacks one entry.
//
// The records keep each name once, in UTF-8 (NameText.h), as the wide exports give them; the
// names the ANSI exports give are made from them when one of those is first called (AnsiNames).
// An entry is looked up by the name one set of exports gives: NameForm::Utf8 for the wide
// ones, NameForm::Cp932 for the ANSI ones.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include "spi/common/AnsiNames.h"
#include "spi/common/CompactRecords.h"
#include "spi/common/EntryRecord.h"
#include "spi/common/OpenedArchive.h"
#include "spi/common/OutputSink.h"
#include "spi/common/ProgressReport.h"
#include "spi/common/SpiResult.h"

class RecordedArchive : public OpenedArchive {
public:
    // The archive file at path; null for an archive that is not a file (the plug-in reads it).
    explicit RecordedArchive(const wchar_t* path) : OpenedArchive(path) {}

    // Every entry's record, in archive order; the list lives as long as the archive. SpiResult
    // of making them (kept: a later call gets the same answer).
    int Records(const CompactRecords** records);
    // The same, and the names ANSI hosts get for them.
    int AnsiRecords(const CompactRecords** records, const AnsiNames** names);
    // The record of the last entry whose joined name, in `form`, is `name` ('/' and '\' alike,
    // ASCII letters in either case when ignoreCase or when no entry has the name in its own
    // case and the plug-in MatchesAnyCase): the one an extraction leaves on disk when an
    // archive holds a name twice. Its names in `form`. SpiResult: SpiInternalError when no
    // entry has that name.
    int Find(const std::string& name, NameForm form, bool ignoreCase, NamedRecord* record);
    // The record whose position is `position`, with its names in `form`, and its index in
    // Records() (or the one UnlistedRecord gives). SpiResult: SpiInternalError for a position no
    // record has.
    int RecordAt(uint64_t position, NameForm form, NamedRecord* record, size_t* index);
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
    virtual int UnlistedRecord(uint64_t position, NamedRecord* record, size_t* index);

private:
    // The last record of each joined name, in one form: exactly and with ASCII letters folded.
    struct NameIndex {
        bool made = false;
        std::unordered_map<std::string, size_t> exact, folded;
    };

    int Made();  // mutex_ held, as for the ones below
    void MakeAnsiNames();
    void IndexPositions();
    NameIndex& IndexNames(NameForm form);
    NamedRecord RecordIn(size_t index, NameForm form) const;

    std::mutex mutex_;
    bool made_ = false;
    int result_ = 0;
    bool tested_ = false, taken_ = false;
    CompactRecords records_;
    std::unique_ptr<AnsiNames> ansiNames_;
    bool positionsIndexed_ = false;
    std::unordered_map<uint64_t, size_t> byPosition_;
    NameIndex byName_, byAnsiName_;
};
