#pragma once
// Which file an archive path names, and in which state: read when the archive is listed and
// again before each entry is fetched, so that a list is never read against another file.
#include <windows.h>
#include <string>

struct ArchiveIdentity {
    bool known = false;  // false when the file could not be opened
    DWORD volume = 0;    // the volume's serial number
    DWORD indexHigh = 0;  // the file's index on that volume
    DWORD indexLow = 0;
    ULONGLONG size = 0;
    FILETIME created = {};
    FILETIME written = {};  // last write
};

// Opens the file for its attributes only, which no other program's sharing mode can refuse.
ArchiveIdentity ReadArchiveIdentity(const std::wstring& path);
// The identity of the file an open handle names.
ArchiveIdentity IdentityOfOpenFile(HANDLE file);
// True when both were read and name the same file: the same volume and file index.
bool SameFile(const ArchiveIdentity& a, const ArchiveIdentity& b);
// True when both were read and name the same file, of the same size, creation and write times.
bool Unchanged(const ArchiveIdentity& listed, const ArchiveIdentity& now);
// True when the file at path still has the listed size, creation and write times: what a write
// to the archive or another file put in its place changes. It opens nothing, so it is cheap
// enough for every entry (under Wine, reading a volume's serial number is a call to another
// process); the file index is compared by Unchanged, once per run.
bool StillAsListed(const ArchiveIdentity& listed, const std::wstring& path);
