#pragma once
// The output file of one entry: what stands at its path, and writing it so that a file that
// was there is never lost.
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <string>

// What the file system holds at an output path, read with one attribute query. Paths are
// plain or extended; any length is taken.
struct OutputFileState {
    bool exists = false;    // a file or a folder of that name
    bool isFolder = false;
    DWORD attributes = 0;
    unsigned long long size = 0;  // bytes
    FILETIME modified = {};

    bool IsFile() const { return exists && !isFolder; }
    bool IsReadOnly() const { return (attributes & FILE_ATTRIBUTE_READONLY) != 0; }
};

// Reads the state of the path; a path whose attributes cannot be read counts as missing.
OutputFileState LookAtOutput(const std::wstring& path);

// Makes a new file (none of that name may exist), writes the bytes and, for a timestamp
// (seconds since 1970, UTC) other than 0, sets its modification time before closing it.
// False when the file cannot be made or written; the file made is then removed.
bool WriteNewFile(const std::wstring& path, const char* bytes, size_t size, int64_t timestamp);

// Puts a complete file (written elsewhere on the same volume) at path: dated with the
// timestamp (0 keeps its time), and, where it replaces the existing file `old`, with that
// file's hidden, system and archive attributes; a missing path gets it as a new file, an
// existing one is replaced in one rename. False, with the file left where it was and the
// path as it was, on any failure.
bool PutFileInPlace(const std::wstring& finished, const std::wstring& path, const OutputFileState& old,
                    int64_t timestamp);

// Replaces the existing file `old` at path. The bytes go to a temporary file of a name of its
// own in the same folder, which gets the entry's time and the old file's hidden, system and
// archive attributes, and only when complete takes the old file's place. On any failure the old file
// is left as it was and the temporary file removed; false then.
bool ReplaceExistingFile(const std::wstring& path, const OutputFileState& old, const char* bytes, size_t size,
                         int64_t timestamp);
