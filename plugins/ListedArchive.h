#pragma once
// An archive as the host listed it: which file it is, which plug-in of which table reads it,
// and its entries. Extraction and viewing take it as one value.
#include <string>
#include "plugins/ArchiveIdentity.h"
#include "plugins/EntryList.h"

class CPluginTable;

// The slot of a listing that chose no plug-in.
constexpr int NoSlot = -1;

struct ListedArchive {
    CPluginTable* host = nullptr;  // the table whose plug-in listed it
    int slot = NoSlot;
    std::wstring path;          // the archive file, as it was named
    std::string pluginPath;     // the code page 932 name an ANSI plug-in reads it by; "" for a wide one
    ArchiveIdentity identity;   // the file as it was listed, read before the plug-in was chosen
    EntryList entries;

    bool Listed() const { return host && slot != NoSlot; }
};
