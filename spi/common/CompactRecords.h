#pragma once
// The records of a listed archive as a plug-in keeps them between calls: each record's fixed
// fields with its two names cut at their ends. Most of a record is the room of its two
// 200-byte names, so a large archive kept as whole records would hold a second copy of the
// host's list in the plug-in (107 MB for 250,000 entries). A plug-in adds each record as it
// makes it, so no list of whole records is ever held.
#include <string>
#include <vector>
#include "plugins/SusiePlugin.h"

class CompactRecords {
public:
    void Add(const ArchiveEntry& record);
    // Gives back the room kept for more records: called after the last Add.
    void Trim();
    void Clear();
    size_t Count() const { return starts_.size(); }
    // The index-th record as it was given, with zeros after the end of each name.
    void Get(size_t index, ArchiveEntry* record) const;

private:
    std::string bytes_;
    std::vector<size_t> starts_;
};
