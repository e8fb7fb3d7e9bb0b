#include "spi/sevenzip/PropertyReader.h"

namespace sevenzip {

uint8_t PropertyReader::Byte() {
    if (at_ == end_) {
        Fail();
        return 0;
    }
    return *at_++;
}

uint32_t PropertyReader::Read32() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(Byte()) << (8 * i);
    return value;
}

uint64_t PropertyReader::Read64() {
    uint64_t low = Read32();
    return low | (static_cast<uint64_t>(Read32()) << 32);
}

uint64_t PropertyReader::Number() {
    uint8_t first = Byte();
    uint64_t value = 0;
    for (unsigned extra = 0; extra < 8; ++extra) {
        uint8_t mask = static_cast<uint8_t>(0x80 >> extra);
        if (!(first & mask)) return value | (static_cast<uint64_t>(first & (mask - 1)) << (8 * extra));
        value |= static_cast<uint64_t>(Byte()) << (8 * extra);
    }
    return value;
}

size_t PropertyReader::Count(size_t bytesEach) { return Count(bytesEach, Left() / (bytesEach ? bytesEach : 1)); }

size_t PropertyReader::Count(size_t bytesEach, size_t limit) {
    uint64_t count = Number();
    if (count > limit || (bytesEach && count > Left() / bytesEach)) {
        Fail();
        return 0;
    }
    return static_cast<size_t>(count);
}

void PropertyReader::Skip(uint64_t count) {
    if (count > Left()) Fail();
    else at_ += count;
}

std::vector<bool> PropertyReader::Bits(size_t count) {
    if ((count + 7) / 8 > Left()) {
        Fail();
        return std::vector<bool>(count, false);
    }
    std::vector<bool> bits(count);
    for (size_t i = 0; i < count; ++i) bits[i] = (at_[i / 8] >> (7 - i % 8)) & 1;
    at_ += (count + 7) / 8;
    return bits;
}

std::vector<bool> PropertyReader::DefinedBits(size_t count) {
    if (Byte() != 0) return std::vector<bool>(count, true);
    return Bits(count);
}

}  // namespace sevenzip
