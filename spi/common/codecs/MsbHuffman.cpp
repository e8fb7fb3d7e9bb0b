#include "spi/common/codecs/CanonicalCode.h"
#include "spi/common/codecs/MsbBitReader.h"

namespace codecs {

bool MsbHuffman::Build(const uint8_t* lengths, unsigned count) {
    if (count > sizeof symbols_ / sizeof symbols_[0] || !SortByCodeLength(lengths, count, MaxBits, counts_, symbols_))
        return false;
    memset(fast_, 0, sizeof fast_);
    ForEachShortCode(counts_, symbols_, FastBits, [this](unsigned symbol, unsigned code, unsigned length) {
        for (unsigned slot = code << (FastBits - length); slot < (code + 1) << (FastBits - length); ++slot)
            fast_[slot] = static_cast<uint16_t>(symbol << 4 | length);
    });
    return true;
}

int MsbHuffman::DecodeLong(MsbBitReader& bits) const {
    uint32_t stream = bits.Peek(MaxBits);
    unsigned length = 0;
    int symbol = WalkCode(counts_, symbols_, MaxBits,
                          [stream](unsigned at) { return (stream >> (MaxBits - at)) & 1; }, &length);
    if (symbol >= 0) bits.Drop(length);
    return symbol;
}

}  // namespace codecs
