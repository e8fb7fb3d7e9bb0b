#pragma once
#include <string>
#include "plugins/SusiePlugin.h"

// Where one entry goes.
struct OutputPath {
    std::string folderToMake;  // keep paths: destination + stored folder, made before writing
    std::string folderText;    // the output folder with its trailing separator
    std::string filePath;      // the output file
};

enum class OutputPathResult {
    Ok,
    Unsafe,          // the entry's names would lead out of the destination
    FolderTooLong,   // the output folder does not fit a path buffer
    FileTooLong,     // the output file path does not fit a path buffer
};

// Joins destination, the entry's stored folder (keepPaths) and its file name as they come,
// "/" added after a stored folder without a trailing separator. Names that are absolute,
// carry a drive, UNC or stream prefix, climb with a ".." part, or have a part that names a
// device (CON, NUL, COM1, ...) are refused before anything is built; so is a result longer
// than 259 bytes.
OutputPathResult BuildOutputPath(const std::string& destination, const ArchiveEntry& entry, bool keepPaths,
                                 OutputPath* out);

// True when the relative text names files and folders below the folder it is appended to
// (no part leads up, to another drive or to a device).
bool StaysInside(const std::string& relative);

// A text field of an entry, read within its 200 bytes.
std::string EntryPath(const ArchiveEntry& entry);
std::string EntryFileName(const ArchiveEntry& entry);
