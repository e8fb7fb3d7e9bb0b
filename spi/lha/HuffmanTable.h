#pragma once
// A canonical Huffman code as LHA stores it: code lengths per symbol, shorter codes first,
// equal lengths in symbol order. Decoding looks the next bits up in one table.
#include <cstdint>
#include <vector>
#include "spi/lha/BitReader.h"

namespace lha {

constexpr int MaxCodeLength = 16;

class HuffmanTable {
public:
    // Builds the code from `lengths` (0 = symbol unused). False when the lengths do not form
    // a usable code (none used, longer than 16 bits, or more codes than bits allow).
    bool Build(const uint8_t* lengths, int symbolCount);
    // A code of one symbol that takes no bits at all.
    void SetSingle(int symbol);
    // The next symbol; -1 when the bits match no code.
    int Decode(BitReader& bits) const;

private:
    struct Slot {
        uint16_t symbol;
        uint8_t length;   // 0: no code starts with these bits
    };
    int lookupBits_ = 0;
    int single_ = 0;
    std::vector<Slot> slots_;
};

}  // namespace lha
