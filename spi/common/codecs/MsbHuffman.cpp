#include "spi/common/codecs/MsbBitReader.h"

namespace codecs {

bool MsbHuffman::Build(const uint8_t* lengths, unsigned count) {
    if (count > sizeof symbols_ / sizeof symbols_[0]) return false;
    memset(counts_, 0, sizeof counts_);
    for (unsigned i = 0; i < count; ++i) {
        if (lengths[i] > MaxBits) return false;
        ++counts_[lengths[i]];
    }
    counts_[0] = 0;
    int64_t left = 1;  // codes still free at the current length
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
            unsigned first = code << (FastBits - length), last = (code + 1) << (FastBits - length);
            for (unsigned slot = first; slot < last; ++slot)
                fast_[slot] = static_cast<uint16_t>(symbols_[index] << 4 | length);
        }
        code <<= 1;
    }
    return true;
}

int MsbHuffman::DecodeLong(MsbBitReader& bits) const {
    uint32_t stream = bits.Peek(MaxBits);
    int code = 0, first = 0, index = 0;
    for (unsigned length = 1; length <= MaxBits; ++length) {
        code |= static_cast<int>((stream >> (MaxBits - length)) & 1);
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
