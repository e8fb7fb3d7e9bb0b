#pragma once
// The names tests/support/wide_names.py writes into the archives the fixture scripts make
// (the six names in "six\", a tree as npm leaves it in "deep\"), and the checks every plug-in's
// exports are held to on those archives.
#include <string>
#include <vector>
#include "tests/support/SpiLibrary.h"

namespace widenames {

// Korean, simplified Chinese, accented Latin, an emoji beyond the BMP, Greek with accents,
// Japanese (SIX_NAMES), each a file in the folder "six".
const std::vector<std::wstring>& SixNames();
// The same as ANSI hosts get them (code page 932): each character code page 932 lacks is '_'.
const std::vector<std::string>& SixAnsiNames();
// What each file holds: "the file " and its name in UTF-8 (wide_names.content).
std::string Content(const std::wstring& name);

// The deep file's joined name ("deep\node_modules\...\a-source-file-...js", more than 300
// characters) and content, and the short entry beside it ("deep\package.json").
std::wstring DeepName();
std::string DeepContent();
std::wstring DeepShortName();

// The archive holds six\ and its six files: each listed by GetArchiveInfoW and GetArchiveListW
// under its name as stored (composed), found by GetFileInfoW under it, fetched to memory by
// GetFileW and written by it into a folder under that name; GetArchiveInfo lists the
// SixAnsiNames.
void ExpectSixNames(const SpiLibrary& plugin, const std::wstring& archive);

// The archive holds deep\ (DeepName and DeepShortName): GetArchiveListW lists both in full,
// GetArchiveInfoW and GetArchiveInfo the short one alone; GetFileW writes the deep file into
// a folder of its path (more than MAX_PATH characters with the file's name).
void ExpectDeepTree(const SpiLibrary& plugin, const std::wstring& archive);

}  // namespace widenames
