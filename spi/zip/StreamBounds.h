#pragma once
// How far an entry's packed data and its output may run. Normally exactly the stated sizes.
// Writers without ZIP64 fields stored sizes of 4 GiB and more cut to their low 32 bits. The
// packed size is found again from what follows the entry (and a stored entry's size with it);
// a stream that ends by itself is read past its stated size to its real end, as long as its
// real size can still differ from the stated one by whole multiples of 4 GiB and the packed
// bytes can give that much.
#include <cstdint>
#include "spi/common/OutputSink.h"
#include "spi/zip/ZipFormat.h"

namespace zip {

// Adds back to the packed size (and to a stored entry's size, the same number) the multiples
// of 4 GiB that a writer cut from it, when the bytes from `dataOffset` to entry->nextStart hold
// the data with that much more: an entry's data ends right before what follows it, but for a
// data descriptor. An entry with a ZIP64 field keeps its sizes.
void RestoreCutSizes(Entry* entry, uint64_t dataOffset);

class StreamBounds {
public:
    explicit StreamBounds(const Entry& entry);

    uint64_t Unpacked() const { return unpacked_; }

    // The stream gave `byte` past Unpacked(). When the stated size may have been cut, raises
    // Unpacked() by 4 GiB, grows the sink to it and puts the byte first in its room (*out).
    // SpiResult: SpiBrokenData when the entry is damaged, SpiUnknownFormat when the sink
    // cannot grow.
    int PlaceOverflow(OutputSink& sink, uint8_t byte, uint8_t** out);

private:
    bool mayBeCut_;
    uint64_t most_;  // what the packed bytes can give at most
    uint64_t unpacked_;
};

}  // namespace zip
