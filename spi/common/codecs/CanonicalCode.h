#pragma once
// Huffman decoding of a canonical code given by its code lengths (shorter codes first, equal
// lengths in symbol order), as Deflate and bzip2 define it, in either bit order.
#include <cstdint>
#include <cstring>

namespace codecs {

// Counts the codes of each length (counts[1..maxBits]) and lists the used symbols by code
// length, then by value. False when a length exceeds maxBits or the lengths over-subscribe
// the code; an incomplete code is accepted.
bool SortByCodeLength(const uint8_t* lengths, unsigned count, unsigned maxBits, uint16_t* counts,
                      uint16_t* symbols);

// A table for codes of up to FastBits bits, and a walk over the code lengths for longer ones.
// `Reader` (LsbBitReader or MsbBitReader) says how codes lie in its bits.
template <typename Reader, unsigned MaxBits, unsigned MaxSymbols>
class HuffmanDecoder {
public:
    static constexpr unsigned FastBits = 10;
    static constexpr int Invalid = -1;

    // False when the lengths over-subscribe the code. An incomplete code is accepted; reading
    // one of its unused codes gives Invalid.
    bool Build(const uint8_t* lengths, unsigned count) {
        if (count > MaxSymbols || !SortByCodeLength(lengths, count, MaxBits, counts_, symbols_)) return false;
        memset(fast_, 0, sizeof fast_);
        uint32_t code = 0;
        unsigned index = 0;
        for (unsigned length = 1; length <= FastBits; ++length, code <<= 1) {
            for (unsigned n = 0; n < counts_[length]; ++n, ++code, ++index) {
                for (uint32_t rest = 0; rest < (1u << (FastBits - length)); ++rest)
                    fast_[Reader::Index(code, length, rest, FastBits)] =
                        static_cast<uint16_t>(symbols_[index] << 4 | length);
            }
        }
        return true;
    }

    // Decodes one symbol (at least MaxBits bits available) and drops its code.
    int Decode(Reader& bits) const {
        uint16_t entry = fast_[bits.PeekIndex(FastBits)];
        if (entry & 0xF) {
            bits.Drop(entry & 0xF);
            return entry >> 4;
        }
        int code = 0, first = 0, index = 0;
        for (unsigned length = 1; length <= MaxBits; ++length) {
            code |= static_cast<int>(bits.CodeBit(length));
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

private:
    uint16_t fast_[1u << FastBits];  // symbol << 4 | code length; 0 for longer codes
    uint16_t counts_[MaxBits + 1];
    uint16_t symbols_[MaxSymbols];   // by code length, then by value
};

}  // namespace codecs
