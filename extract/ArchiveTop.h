#pragma once
// What an archive holds at its top: one folder that everything lies in, one file alone, or
// anything else. A whole-archive run that avoids a folder inside a folder of the same name
// writes the first two straight into the destination.
#include <string>
#include "plugins/EntryList.h"

enum class TopKind {
    Mixed,      // several things at the top, or nothing at all
    OneFolder,  // every entry lies in the same top folder (its own folder record included)
    OneFile,    // a single file at the top and nothing else
};

struct ArchiveTop {
    TopKind kind = TopKind::Mixed;
    std::wstring name;  // the top folder's or the file's name; empty for Mixed
};

// '\' and '/' both separate parts; empty parts (a leading or doubled separator) are passed over.
ArchiveTop TopOf(const EntryList& entries);
