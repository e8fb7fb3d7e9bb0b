#pragma once
// How far an entry's packed stream and its output may run. Normally exactly the stated sizes.
// Old writers without ZIP64 fields store sizes of 4 GiB and more cut to 32 bits; a stream
// that ends by itself (deflate) is then read to its real end, as long as its real sizes can
// still differ from the stated ones by whole multiples of 4 GiB.
#include <cstdint>
#include "spi/zip/ZipFormat.h"

namespace zip {

class StreamBounds {
public:
    // `available`: the bytes the source holds from the start of the entry's packed data.
    StreamBounds(const Entry& entry, uint64_t available);

    uint64_t Packed() const { return packed_; }
    uint64_t Unpacked() const { return unpacked_; }

    // The stream goes on past Packed() (or Unpacked()): raises that bound by 4 GiB and returns
    // true when the stated size may have been cut, false when the entry is damaged.
    bool ExtendPacked();
    bool ExtendUnpacked();

private:
    bool mayBeCut_;
    uint64_t available_;
    uint64_t packed_;
    uint64_t unpacked_;
};

}  // namespace zip
