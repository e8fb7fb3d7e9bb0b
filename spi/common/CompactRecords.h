#pragma once
// The records of a listed archive as a plug-in keeps them between calls: each record's numbers
// and its two names, once, in UTF-8 (NameText.h). The host's lists are made from them when it
// asks: a GetArchiveInfo list would be 448 bytes a record, most of it the room of two names, so
// a large archive kept as such records would hold a second copy of it in the plug-in (107 MB
// for 250,000 entries). A plug-in adds each record as it makes it, so no list of whole records
// is ever held.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include "plugins/SusiePlugin.h"

#pragma pack(push, 1)
// A record's numbers, as this build's ArchiveEntry holds them.
struct RecordNumbers {
    unsigned char method[8];  // NUL-padded; all 8 bytes may be used
    EntrySize position, packedSize, unpackedSize;
    EntryTime timestamp;
    uint32_t crc;
};
#pragma pack(pop)

// One kept record; its names stay valid as long as the records.
struct KeptRecord {
    RecordNumbers numbers;
    std::string_view path;      // folder part with its trailing '\', empty at the top
    std::string_view fileName;  // empty for a folder entry
};

class CompactRecords {
public:
    void Add(const RecordNumbers& numbers, const std::string& path, const std::string& fileName);
    // Gives back the room kept for more records: called after the last Add.
    void Trim();
    void Clear();
    size_t Count() const { return starts_.size(); }
    KeptRecord Get(size_t index) const;

private:
    std::string bytes_;  // each record: its numbers, then its two names (PackedText.h)
    std::vector<size_t> starts_;
};
