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

private:
    ByteInput& input_;
    uint64_t bits_ = 0;
    unsigned count_ = 0;
};

// A canonical Huffman code read most significant bit first: a table for codes of up to
// FastBits bits, and a walk over the code lengths for longer ones.
class MsbHuffman {
public:
    static constexpr unsigned MaxBits = 20;
    static constexpr unsigned FastBits = 10;
    static constexpr int Invalid = -1;

    // False when the lengths (1..MaxBits, or 0 for unused) over-subscribe the code.
    bool Build(const uint8_t* lengths, unsigned count);

    // Decodes one symbol (at least MaxBits bits available) and drops its code.
    int Decode(MsbBitReader& bits) const {
        uint16_t entry = fast_[bits.Peek(FastBits)];
        if (entry & 0xF) {
            bits.Drop(entry & 0xF);
            return entry >> 4;
        }
        return DecodeLong(bits);
    }

private:
    int DecodeLong(MsbBitReader& bits) const;

    uint16_t fast_[1u << FastBits];  // symbol << 4 | code length; 0 for longer codes
    uint16_t counts_[MaxBits + 1];
    uint16_t symbols_[258];
};

}  // namespace codecs
