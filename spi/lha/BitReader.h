#pragma once
// Reads the packed bytes of one entry as a stream of bits, most significant bit first.
#include <cstddef>
#include <cstdint>
#include <vector>
#include "spi/common/ByteSource.h"

namespace lha {

class BitReader {
public:
    BitReader(ByteSource& source, uint64_t offset, uint64_t length);

    // The next `count` bits (0 to 16) without using them. Past the end of the packed bytes
    // the stream reads as zero bits.
    uint32_t Peek(int count);
    void Skip(int count);
    uint32_t Read(int count) {
        uint32_t value = Peek(count);
        Skip(count);
        return value;
    }
    // True once more bits were used than the packed bytes hold, or the source failed.
    bool Overrun() const { return used_ > length_ * 8 || readFailed_; }

private:
    void Refill();

    ByteSource& source_;
    uint64_t offset_;
    uint64_t length_;
    uint64_t fetched_ = 0;      // packed bytes taken from the source so far
    uint64_t used_ = 0;         // bits handed out so far
    std::vector<uint8_t> chunk_;
    size_t chunkAt_ = 0;
    uint64_t bits_ = 0;         // the next bitCount_ bits, right-aligned
    int bitCount_ = 0;
    bool readFailed_ = false;
};

}  // namespace lha
