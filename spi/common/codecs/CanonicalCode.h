#pragma once
// What both bit orders of Huffman decoding share: a canonical code given by its code lengths
// (shorter codes first, equal lengths in symbol order), as Deflate and bzip2 define it.
#include <cstdint>

namespace codecs {

// Counts the codes of each length (counts[1..maxBits]) and lists the used symbols by code
// length, then by value. False when a length exceeds maxBits or the lengths over-subscribe
// the code; an incomplete code is accepted.
bool SortByCodeLength(const uint8_t* lengths, unsigned count, unsigned maxBits, uint16_t* counts,
                      uint16_t* symbols);

// Calls place(symbol, code, length) for every code of up to `maxLength` bits, in code order.
template <typename Place>
void ForEachShortCode(const uint16_t* counts, const uint16_t* symbols, unsigned maxLength, Place place) {
    unsigned code = 0, index = 0;
    for (unsigned length = 1; length <= maxLength; ++length, code <<= 1)
        for (unsigned n = 0; n < counts[length]; ++n) place(symbols[index++], code++, length);
}

// Decodes one symbol bit by bit; bit(length) gives the code's bit at that length (1-based).
// Sets *length to the code's length; -1 when the bits form no code.
template <typename Bit>
int WalkCode(const uint16_t* counts, const uint16_t* symbols, unsigned maxBits, Bit bit, unsigned* length) {
    int code = 0, first = 0, index = 0;
    for (*length = 1; *length <= maxBits; ++*length) {
        code |= static_cast<int>(bit(*length));
        int count = counts[*length];
        if (code - first < count) return symbols[index + code - first];
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return -1;
}

}  // namespace codecs
