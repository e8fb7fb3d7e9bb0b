#pragma once
// A large entry unpacked by its plug-in straight into a file, never held whole in memory: the
// plug-in writes into a private work folder beside the output file, and the file it wrote
// takes the output's place only once it is complete and checked.
#include <cstdint>
#include <string>
#include "extract/OutputFile.h"
#include "plugins/PluginTable.h"

// Entries of this many bytes or more go through the plug-in's file output; smaller ones are
// fetched into memory, which is what makes many small files fast.
constexpr uint64_t LargeEntryBytes = 16u << 20;

enum class PluginFileEnd {
    Written,
    NotOffered,  // the plug-in writes no files: nothing was touched, fetch it into memory
    NotFetched,  // the plug-in failed or was stopped (*pluginCode); nothing is left behind
    NotWritten,  // the work folder or the output file could not be made or put in place
};

// Unpacks the entry through the plug-in into a work folder beside `path` and puts the file
// in place as PutFileInPlace does; `existing` is what stands at path now. The work folder,
// and anything in it, is gone when the call returns.
PluginFileEnd WriteThroughPlugin(const ListedArchive& archive, const ListedEntry& entry, const std::wstring& path,
                                 const OutputFileState& existing, int64_t timestamp, EntryProgress* progress,
                                 int* pluginCode);
