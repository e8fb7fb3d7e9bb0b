#include "spi/lha/HuffmanTable.h"

namespace lha {

bool HuffmanTable::Build(const uint8_t* lengths, int symbolCount) {
    int countOfLength[MaxCodeLength + 1] = {};
    int longest = 0;
    for (int symbol = 0; symbol < symbolCount; ++symbol) {
        if (lengths[symbol] > MaxCodeLength) return false;
        ++countOfLength[lengths[symbol]];
        if (lengths[symbol] > longest) longest = lengths[symbol];
    }
    if (longest == 0) return false;

    // Each length takes its share of the code space; more than all of it is no code.
    uint32_t nextCode[MaxCodeLength + 2] = {};
    uint32_t code = 0;
    for (int length = 1; length <= MaxCodeLength; ++length) {
        code = (code + static_cast<uint32_t>(countOfLength[length - 1] * (length > 1))) << 1;
        nextCode[length] = code;
        if (code + static_cast<uint32_t>(countOfLength[length]) > (1u << length)) return false;
    }

    lookupBits_ = longest;
    slots_.assign(size_t{1} << longest, Slot{0, 0});
    for (int symbol = 0; symbol < symbolCount; ++symbol) {
        const int length = lengths[symbol];
        if (length == 0) continue;
        const int spare = longest - length;
        const uint32_t first = nextCode[length]++ << spare;
        for (uint32_t i = 0; i < (1u << spare); ++i) slots_[first + i] = Slot{static_cast<uint16_t>(symbol), static_cast<uint8_t>(length)};
    }
    return true;
}

void HuffmanTable::SetSingle(int symbol) {
    lookupBits_ = 0;
    single_ = symbol;
    slots_.clear();
}

int HuffmanTable::Decode(BitReader& bits) const {
    if (lookupBits_ == 0) return single_;
    const Slot& slot = slots_[bits.Peek(lookupBits_)];
    if (slot.length == 0) return -1;
    bits.Skip(slot.length);
    return slot.symbol;
}

}  // namespace lha
