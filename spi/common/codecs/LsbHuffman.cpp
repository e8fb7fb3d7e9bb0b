#include "spi/common/codecs/LsbBitReader.h"

namespace codecs {

bool LsbHuffman::Build(const uint8_t* lengths, unsigned count) {
    if (count > sizeof symbols_ / sizeof symbols_[0]) return false;
    memset(counts_, 0, sizeof counts_);
    for (unsigned i = 0; i < count; ++i) ++counts_[lengths[i]];
    counts_[0] = 0;
    int left = 1;  // codes still free at the current length
    uint16_t offsets[MaxBits + 2] = {};
    for (unsigned length = 1; length <= MaxBits; ++length) {
        left = left * 2 - counts_[length];
        if (left < 0) return false;
        offsets[length + 1] = static_cast<uint16_t>(offsets[length] + counts_[length]);
    }
    for (unsigned i = 0; i < count; ++i)
        if (lengths[i]) symbols_[offsets[lengths[i]]++] = static_cast<uint16_t>(i);

    memset(fast_, 0, sizeof fast_);
    unsigned code = 0, index = 0;
    for (unsigned length = 1; length <= FastBits; ++length) {
        for (unsigned n = 0; n < counts_[length]; ++n, ++code, ++index) {
            unsigned reversed = 0;
            for (unsigned bit = 0; bit < length; ++bit) reversed |= ((code >> bit) & 1) << (length - 1 - bit);
            for (unsigned slot = reversed; slot < (1u << FastBits); slot += 1u << length)
                fast_[slot] = static_cast<uint16_t>(symbols_[index] << 4 | length);
        }
        code <<= 1;
    }
    return true;
}

int LsbHuffman::DecodeLong(LsbBitReader& bits) const {
    uint64_t stream = bits.Peek();
    int code = 0, first = 0, index = 0;
    for (unsigned length = 1; length <= MaxBits; ++length) {
        code |= static_cast<int>(stream & 1);
        stream >>= 1;
        int count = counts_[length];
        if (code - first < count) {
            bits.Drop(length);
            return symbols_[index + code - first];
        }
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return Invalid;
}

}  // namespace codecs
