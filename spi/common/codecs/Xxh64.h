#pragma once
// XXH64, the 64-bit xxHash, fed in pieces (Zstandard's content checksum is its low 32 bits).
#include <cstddef>
#include <cstdint>

namespace codecs {

class Xxh64 {
public:
    explicit Xxh64(uint64_t seed = 0) { Reset(seed); }
    void Reset(uint64_t seed = 0);
    void Update(const uint8_t* data, size_t size);
    // The hash of everything fed so far; more may be fed afterwards.
    uint64_t Digest() const;

private:
    uint64_t lanes_[4];
    uint8_t stripe_[32];  // bytes of an unfinished 32-byte stripe
    size_t buffered_ = 0;
    uint64_t length_ = 0;
    uint64_t seed_ = 0;
};

}  // namespace codecs
