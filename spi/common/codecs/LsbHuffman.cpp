#include "spi/common/codecs/CanonicalCode.h"
#include "spi/common/codecs/LsbBitReader.h"

namespace codecs {

bool LsbHuffman::Build(const uint8_t* lengths, unsigned count) {
    if (count > sizeof symbols_ / sizeof symbols_[0] || !SortByCodeLength(lengths, count, MaxBits, counts_, symbols_))
        return false;
    memset(fast_, 0, sizeof fast_);
    // Codes arrive first bit first, so the table is indexed by the code reversed.
    ForEachShortCode(counts_, symbols_, FastBits, [this](unsigned symbol, unsigned code, unsigned length) {
        unsigned reversed = 0;
        for (unsigned bit = 0; bit < length; ++bit) reversed |= ((code >> bit) & 1) << (length - 1 - bit);
        for (unsigned slot = reversed; slot < (1u << FastBits); slot += 1u << length)
            fast_[slot] = static_cast<uint16_t>(symbol << 4 | length);
    });
    return true;
}

int LsbHuffman::DecodeLong(LsbBitReader& bits) const {
    uint64_t stream = bits.Peek();
    unsigned length = 0;
    int symbol = WalkCode(counts_, symbols_, MaxBits, [stream](unsigned at) { return (stream >> (at - 1)) & 1; },
                          &length);
    if (symbol >= 0) bits.Drop(length);
    return symbol;
}

}  // namespace codecs
