#include "spi/common/codecs/CanonicalCode.h"
#include <cstring>

namespace codecs {

bool SortByCodeLength(const uint8_t* lengths, unsigned count, unsigned maxBits, uint16_t* counts,
                      uint16_t* symbols) {
    memset(counts, 0, (maxBits + 1) * sizeof counts[0]);
    for (unsigned i = 0; i < count; ++i) {
        if (lengths[i] > maxBits) return false;
        ++counts[lengths[i]];
    }
    counts[0] = 0;
    int64_t left = 1;  // codes still free at the current length
    uint16_t offsets[32] = {};
    for (unsigned length = 1; length <= maxBits; ++length) {
        left = left * 2 - counts[length];
        if (left < 0) return false;
        offsets[length + 1] = static_cast<uint16_t>(offsets[length] + counts[length]);
    }
    for (unsigned i = 0; i < count; ++i)
        if (lengths[i]) symbols[offsets[lengths[i]]++] = static_cast<uint16_t>(i);
    return true;
}

}  // namespace codecs
