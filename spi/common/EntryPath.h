#pragma once
// Entry names as our plug-ins hand them to a host: cleaned of anything that would lead out of
// the extraction folder, split into folder part and file name, and compared. Plain C++, so
// that the fuzzers build it.
#include <string>

// How a name's bytes are read: as code page 932, where a byte may be the second of a
// double-byte character (0x5C among them), or as the UTF-8 of a kept name (NameText.h), where
// every byte below 0x80 is a character of its own.
enum class NameForm { Cp932, Utf8 };

struct EntryPath {
    std::string path;      // folder part with a trailing '\', empty at the top
    std::string fileName;  // empty for a folder entry
};

// Splits a stored name ('/' or '\' between folders) into folder part and file name, dropping
// a drive, the root, "." and ".." parts and empty parts. False when nothing is left.
bool SplitEntryName(const std::string& name, EntryPath* result, NameForm form = NameForm::Cp932);

// Whether two joined names are the same entry: '/' and '\' alike, ASCII letters compared
// with or without case.
bool SameEntryName(const std::string& a, const std::string& b, bool ignoreCase);

// The key under which a joined name is looked up: '/' made '\', and ASCII letters made
// upper case when `foldCase` says so. Two names are the same entry (SameEntryName) when their
// keys are equal, unless one has a lead byte without its trail byte before a '/' where the
// other has that lead byte's character ending in 0x5C.
std::string NameKey(const std::string& name, bool foldCase, NameForm form = NameForm::Cp932);
