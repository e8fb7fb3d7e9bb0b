#pragma once
// Reading the property bytes of 7z headers, bounded by the bytes at hand. A read past the end
// marks the reader failed and yields zeros, so a parser checks Failed() once per structure
// rather than after every number.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sevenzip {

class PropertyReader {
public:
    PropertyReader(const uint8_t* data, size_t size) : at_(data), end_(data + size) {}

    bool Failed() const { return failed_; }
    size_t Left() const { return static_cast<size_t>(end_ - at_); }
    const uint8_t* Here() const { return at_; }

    uint8_t Byte();
    uint32_t Read32();
    uint64_t Read64();
    // The variable-length NUMBER: the first byte's leading one bits count the bytes that follow.
    uint64_t Number();
    // A NUMBER that counts things of at least `bytesEach` bytes still to come (a count larger
    // than that cannot be right and would only allocate memory), or that is at most `limit`.
    size_t Count(size_t bytesEach);
    size_t Count(size_t bytesEach, size_t limit);
    void Skip(uint64_t count);
    // `count` bits, most significant bit of each byte first.
    std::vector<bool> Bits(size_t count);
    // A "defined" vector: one byte that says all are, or the bits.
    std::vector<bool> DefinedBits(size_t count);
    // Fails the reader (for a value the caller finds wrong).
    void Fail() { failed_ = true; at_ = end_; }

private:
    const uint8_t* at_;
    const uint8_t* end_;
    bool failed_ = false;
};

}  // namespace sevenzip
