#pragma once
#include <string>
#include <vector>
#include "plugins/PluginTable.h"

// The standing overwrite policy of one run: the index of the radio button chosen in the
// overwrite dialog.
enum OverwriteMode {
    Overwrite = 0,      // ask
    DontOverwrite = 1,  // ask
    OverwriteAll = 2,   // overwrite without asking
    IgnoreAll = 3,      // skip existing files without asking
};

// What the overwrite dialog shows about an output file that already exists.
struct OverwriteQuestion {
    std::wstring folderText;      // the output folder, with its trailing separator
    std::wstring fileLine;        // " " followed by the entry's file name
    std::string diskSizeText;     // size of the existing file, digits grouped
    std::string diskTimeText;     // its last-modification time, local
    std::string archiveSizeText;  // the entry's unpacked size, digits grouped
    std::string archiveTimeText;  // the entry's timestamp, local
    OverwriteMode preselected = Overwrite;
};

// The parameters of one run of the entry loop.
struct ExtractionPlan {
    const ListedArchive* archive = nullptr;  // no entry is fetched from another file than it names
    std::vector<const ListedEntry*> entries;  // of archive, in the order they are extracted
    std::wstring destination;  // ends with a separator, or is empty (the current folder)
    bool keepPaths = true;    // write each entry under its stored folder
    OverwriteMode firstMode = Overwrite;
    // The bar shows the 1-based count of the entry (selection) or its 0-based index.
    bool countFromOne = false;
};

// How a run ended. Normal: every entry done, or the user aborted (also by cancelling a
// plug-in's password dialog). Failure: a message was shown, or the user stopped at the
// overwrite question.
enum class ExtractionEnd { Normal, Failure };
