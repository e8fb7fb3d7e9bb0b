#pragma once
#include <string>
#include "plugins/EntryList.h"

// Where one entry goes. The paths are plain (the file functions take them through
// ExtendedPath, whatever their length).
struct OutputPath {
    std::wstring folderToMake;  // keep paths: destination + stored folder, made before writing
    std::wstring folderText;    // the output folder with its trailing separator
    std::wstring filePath;      // the output file
};

enum class OutputPathResult {
    Ok,
    Unsafe,          // the entry's names would lead out of the destination
    FolderTooLong,   // the output folder is longer than any path the file system takes
    FileTooLong,     // the output file path is longer than any path the file system takes
};

// The longest path the wide file functions take in their extended form.
constexpr size_t LongestPath = 32767 - 8;

// Joins destination, the entry's stored folder (keepPaths) and its file name as they come,
// "/" added after a stored folder without a trailing separator. Names that are absolute,
// carry a drive, UNC or stream prefix (any ':'), climb with a ".." part, have a part that
// names a device (CON, NUL, COM1, ...) or a part that ends in a dot or a blank (which Windows
// would take off, so that the file written is not the one named) are refused before anything
// is built; so is a result longer than LongestPath.
OutputPathResult BuildOutputPath(const std::wstring& destination, const ListedEntry& entry, bool keepPaths,
                                 OutputPath* out);

// True when the relative text names files and folders below the folder it is appended to
// (no part leads up, to another drive, to a stream or to a device, and none ends in a dot or
// a blank; a part that is "." alone stays where it is).
bool StaysInside(const std::wstring& relative);
