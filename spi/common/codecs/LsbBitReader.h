#pragma once
// Reads bits least significant first (the order of Deflate) through a 64-bit buffer.
#include <cstring>
#include "spi/common/codecs/Decoder.h"

namespace codecs {

class LsbBitReader {
public:
    explicit LsbBitReader(ByteInput& input) : input_(input) {}

    // Makes at least 56 bits available. Bits above the count are either 0 or the bits that
    // follow, so loading eight bytes at once and OR-ing them in is harmless.
    void Refill() {
        if (input_.Available() >= 8) {
            uint64_t next;
            memcpy(&next, input_.Peek(), 8);  // the machines we build for are little-endian
            bits_ |= next << count_;
            unsigned take = (63 - count_) >> 3;
            input_.Skip(take);
            count_ += take * 8;
            return;
        }
        while (count_ <= 56) {
            bits_ |= static_cast<uint64_t>(input_.Byte()) << count_;
            count_ += 8;
        }
    }
    uint64_t Peek() const { return bits_; }
    void Drop(unsigned count) {
        bits_ >>= count;
        count_ -= count;
    }
    // The next `count` (≤ 32) bits.
    uint32_t Bits(unsigned count) {
        if (count_ < count) Refill();
        uint32_t value = static_cast<uint32_t>(bits_ & ((uint64_t{1} << count) - 1));
        Drop(count);
        return value;
    }
    // Drops the bits up to the next byte boundary.
    void AlignToByte() { Drop(count_ & 7); }
    // Whole bytes still buffered; TakeByte takes one of them (count must be > 0).
    unsigned BufferedBytes() const { return count_ / 8; }
    uint8_t TakeByte() {
        uint8_t byte = static_cast<uint8_t>(bits_);
        Drop(8);
        return byte;
    }
    // Before the caller reads the input directly (no whole byte is buffered any more): the
    // bits above the count are input bytes looked at but not taken, which the caller is about
    // to read itself; left here, the next Refill would OR them into what follows.
    void ForgetLookahead() { bits_ = 0; }
    // True once the reader has used bytes from past the end of the input.
    bool Overran() const { return input_.Overrun() * 8 > count_; }

    // For HuffmanDecoder: the next `count` bits as a table index, where a code's first bit is
    // the index's lowest; the index of a code of `length` bits followed by the bits `rest`;
    // the code bit at `at` (1 = first) among the next bits.
    uint32_t PeekIndex(unsigned count) const { return static_cast<uint32_t>(bits_ & ((uint64_t{1} << count) - 1)); }
    static uint32_t Index(uint32_t code, unsigned length, uint32_t rest, unsigned) {
        uint32_t reversed = 0;
        for (unsigned bit = 0; bit < length; ++bit) reversed |= ((code >> bit) & 1) << (length - 1 - bit);
        return reversed | rest << length;
    }
    unsigned CodeBit(unsigned at) const { return static_cast<unsigned>((bits_ >> (at - 1)) & 1); }

private:
    ByteInput& input_;
    uint64_t bits_ = 0;
    unsigned count_ = 0;
};

}  // namespace codecs
