#pragma once
// Names of the files the list window puts into its work folder: the empty probe files that
// give each row its icon, and the entries opened for viewing.
#include <cstddef>

// True when fileName, as the file system reads it, names a file directly inside a folder:
// not empty, no drive, no separator, not "." or "..", no device name such as CON or NUL.
bool IsPlainFileName(const char* fileName);

// workFolder immediately followed by fileName, into out. False, with out empty, when the name
// is not plain or the path would not fit into outSize bytes.
bool WorkFilePath(const char* workFolder, const char* fileName, char* out, size_t outSize);
