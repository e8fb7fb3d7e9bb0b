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
    // Whole bytes still buffered; Byte takes one of them (count must be > 0).
    unsigned BufferedBytes() const { return count_ / 8; }
    uint8_t TakeByte() {
        uint8_t byte = static_cast<uint8_t>(bits_);
        Drop(8);
        if (count_ == 0) bits_ = 0;  // what lay above now comes from the input directly
        return byte;
    }
    // True once the reader has used bytes from past the end of the input.
    bool Overran() const { return input_.Overrun() * 8 > count_; }

private:
    ByteInput& input_;
    uint64_t bits_ = 0;
    unsigned count_ = 0;
};

// A canonical Huffman code read least significant bit first: a table for codes of up to
// FastBits bits, and a walk over the code lengths for longer ones.
class LsbHuffman {
public:
    static constexpr unsigned MaxBits = 15;
    static constexpr unsigned FastBits = 10;
    static constexpr int Invalid = -1;

    // False when the lengths over-subscribe the code. An incomplete code is accepted; reading
    // one of its unused codes gives Invalid.
    bool Build(const uint8_t* lengths, unsigned count);

    // Decodes one symbol from the bits (at least MaxBits available) and drops its code.
    int Decode(LsbBitReader& bits) const {
        uint16_t entry = fast_[bits.Peek() & ((1u << FastBits) - 1)];
        if (entry & 0xF) {
            bits.Drop(entry & 0xF);
            return entry >> 4;
        }
        return DecodeLong(bits);
    }

private:
    int DecodeLong(LsbBitReader& bits) const;

    uint16_t fast_[1u << FastBits];  // symbol << 4 | code length; 0 for longer codes
    uint16_t counts_[MaxBits + 1];
    uint16_t symbols_[320];          // by code length, then by value
};

}  // namespace codecs
