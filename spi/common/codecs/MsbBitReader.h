#pragma once
// Reads bits most significant first (the order of bzip2) through a 64-bit buffer.
#include <cstring>
#include "spi/common/codecs/Decoder.h"

namespace codecs {

class MsbBitReader {
public:
    explicit MsbBitReader(ByteInput& input) : input_(input) {}

    // Makes at least 57 bits available.
    void Refill() {
        if (count_ > 56) return;
        if (input_.Available() >= 8) {
            const uint8_t* p = input_.Peek();
            uint64_t next = 0;
            for (int i = 0; i < 8; ++i) next = (next << 8) | p[i];
            unsigned take = (64 - count_) >> 3;  // 1 to 8 bytes
            bits_ = (take == 8 ? 0 : bits_ << (8 * take)) | (next >> (64 - 8 * take));
            input_.Skip(take);
            count_ += 8 * take;
            return;
        }
        while (count_ <= 56) {
            bits_ = (bits_ << 8) | input_.Byte();
            count_ += 8;
        }
    }
    // The next `count` (≤ 32, ≤ what is available) bits, left in place.
    uint32_t Peek(unsigned count) const {
        return static_cast<uint32_t>((bits_ >> (count_ - count)) & ((uint64_t{1} << count) - 1));
    }
    void Drop(unsigned count) { count_ -= count; }
    uint32_t Bits(unsigned count) {
        if (count_ < count) Refill();
        uint32_t value = Peek(count);
        Drop(count);
        return value;
    }
    void AlignToByte() { count_ &= ~7u; }
    // Whole bytes buffered that came from the input (not made up past its end).
    uint64_t RealBufferedBytes() const { return count_ / 8 > input_.Overrun() ? count_ / 8 - input_.Overrun() : 0; }
    // True once the reader has used bytes from past the end of the input.
    bool Overran() const { return input_.Overrun() * 8 > count_; }

    // For HuffmanDecoder: the next `count` bits as a table index, where a code's first bit is
    // the index's highest; the index of a code of `length` bits followed by the bits `rest`;
    // the code bit at `at` (1 = first) among the next bits.
    uint32_t PeekIndex(unsigned count) const { return Peek(count); }
    static uint32_t Index(uint32_t code, unsigned length, uint32_t rest, unsigned indexBits) {
        return code << (indexBits - length) | rest;
    }
    unsigned CodeBit(unsigned at) const { return static_cast<unsigned>((bits_ >> (count_ - at)) & 1); }

private:
    ByteInput& input_;
    uint64_t bits_ = 0;
    unsigned count_ = 0;
};

}  // namespace codecs
