#pragma once
// Folders on disk as plain values, for comparing what Varnito wrote with what unzip wrote.
#include <windows.h>
#include <cstdint>
#include <map>
#include <string>

namespace e2e {

struct FileState {
    bool isFolder = false;
    int64_t size = 0;
    int64_t modified = 0;  // seconds since 1970 UTC (files only; folders read 0)
    std::string bytes;     // contents of files up to 1 MB
};

inline FileState FolderState() {
    FileState folder;
    folder.isFolder = true;
    return folder;
}

// Everything below `root` (with or without a trailing '\'), keyed by the relative path;
// folders end with '\'.
using FileTree = std::map<std::string, FileState>;
FileTree ReadTree(const std::string& root);

// Files only (folders dropped), for comparisons where folder entries are not the point.
FileTree FilesOnly(const FileTree& tree);
// The differences between two trees as readable lines; empty when they are equal.
std::string TreeDifferences(const FileTree& expected, const FileTree& actual);

// What unzip made of a fixture archive at build time.
FileTree UnzippedTree(const std::string& archiveName);

// Copies a fixture archive into a folder (the tests' archives sit beside their output).
bool CopyFixture(const std::string& name, const std::string& folder);

}  // namespace e2e
