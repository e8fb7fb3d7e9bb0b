#pragma once
// The records a host sees for the entries of a 7z archive.
#include <string>
#include <vector>
#include "plugins/SusiePlugin.h"
#include "spi/common/CompactRecords.h"
#include "spi/sevenzip/Contents.h"

namespace sevenzip {

// Appends a record for every entry a host can extract (not an update's deletion marks, nor
// names that clean away to nothing), and the index in contents.entries of each. Positions are
// the entry's index plus one. A solid folder's packed size is shared out among its entries by
// their sizes. An entry stored without a name (packed from a pipe) takes `unnamed` (as kept,
// NameText.h). SpiResult: SpiUnknownFormat for a number that does not fit the record.
int MakeRecords(const Contents& contents, const std::string& unnamed, CompactRecords* records,
                std::vector<size_t>* entryOfRecord);

}  // namespace sevenzip
