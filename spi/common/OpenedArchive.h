#pragma once
// An archive file that a plug-in keeps open between calls, so that a host fetching its
// entries one by one does not open the file and parse its directory for every entry. The
// plug-ins derive from it and add what they parsed (a directory, a decoder's state). An archive
// cut into numbered pieces is opened through its first piece and read as one file
// (JoinedPieces); what is said here of the file holds for each piece.
//
// The file is opened for reading and shares no writing (see FileSource): while it is open,
// nothing that honours share modes can write or truncate it, the host writing an entry over
// its own archive included. Programs that ignore share modes (Linux programs beside Wine)
// can still change it, and the user may delete it; UnchangedAt() notices both.
#include <windows.h>
#include <cstdint>
#include <vector>
#include "spi/common/JoinedPieces.h"

// What tells one file from another, and one state of a file from a later one.
struct FileIdentity {
    DWORD volumeSerial = 0;
    uint64_t fileIndex = 0;
    uint64_t size = 0;
    uint64_t created = 0;    // FILETIME: another file made under the same name differs here
    uint64_t lastWrite = 0;  // FILETIME
    bool operator==(const FileIdentity& other) const {
        return volumeSerial == other.volumeSerial && fileIndex == other.fileIndex && size == other.size &&
               created == other.created && lastWrite == other.lastWrite;
    }
};

class OpenedArchive {
public:
    explicit OpenedArchive(const wchar_t* path);
    virtual ~OpenedArchive() = default;
    OpenedArchive(const OpenedArchive&) = delete;
    OpenedArchive& operator=(const OpenedArchive&) = delete;

    // False when the file (or a piece of it) could not be opened, or its identity not read.
    bool IsOpen() const { return source_.IsOpen() && identified_; }
    // Read from the open file (the first piece of a set): the file as it was when it was opened.
    const FileIdentity& Identity() const { return identities_.front(); }
    // Whether both were opened from the same files (every piece), unchanged between them.
    bool SameFilesAs(const OpenedArchive& other) const { return identified_ && identities_ == other.identities_; }
    ByteSource& Source() { return source_; }
    const JoinedPieces& Pieces() const { return source_; }

    // Whether the file at path (every piece, and no piece added after the last) has the size,
    // creation and write time this one had when it was opened: one query of each path's
    // attributes, no open (under Wine that query takes about 8 µs, opening and closing the file
    // about 150 µs, reading an open file's identity 1 ms).
    bool UnchangedAt(const wchar_t* path) const;

private:
    JoinedPieces source_;
    std::vector<FileIdentity> identities_;  // one per piece
    bool identified_ = false;
};
