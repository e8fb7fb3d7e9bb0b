#pragma once
// The image viewer's own record of its plug-in folder, which the program only reads.
#include <string>

// The image viewer's registry key (below HKEY_CURRENT_USER) and its value.
constexpr char ImageViewerKey[] = "Software\\Halvorn\\Susie\\Plug-in";
constexpr char ImageViewerValue[] = "Path";

// Reads the viewer's plug-in folder. False when the key cannot be opened (no viewer is
// installed). Otherwise true, with *folder the value in UTF-16 (the viewer stores it through
// the "A" functions; it reads as the same text): a REG_EXPAND_SZ value with its environment
// variables expanded; empty when the value is missing, of another type, or longer than a path
// (MaxWidePathLength units), since a cut path would name another folder.
bool ReadImageViewerFolder(std::wstring* folder);
