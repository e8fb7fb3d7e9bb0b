#pragma once
// Names of the files the list window puts into its work folder: the empty probe files that
// give each row its icon, and the entries opened for viewing.
#include <string>

// True when fileName names a file directly inside a folder: not empty, no drive, no
// separator, no stream, not "." or "..", no device name such as CON or NUL, and not ending in
// a dot or a blank (which the file system would take off).
bool IsPlainFileName(const std::wstring& fileName);

// workFolder immediately followed by fileName; empty when the name is not plain.
std::wstring WorkFilePath(const std::wstring& workFolder, const std::wstring& fileName);
