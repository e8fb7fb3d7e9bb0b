#pragma once
// The integrity checks of the packed formats: CRC-32 (as ZIP and xz use it), the bit-reversed
// CRC-32 of bzip2, the CRC-16 of LHA, CRC-64 (ECMA-182, as xz uses it) and SHA-256.
#include <cstddef>
#include <cstdint>

namespace codecs {

// Running CRC-32 (start with 0, feed pieces in order).
uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size);

// bzip2's CRC: the same polynomial fed most significant bit first. Start with 0xFFFFFFFF and
// invert the result when done.
uint32_t Bzip2CrcUpdate(uint32_t crc, const uint8_t* data, size_t size);

// LHA's running CRC-16 (polynomial 0x8005, bits reflected; start with 0, feed pieces in order).
uint16_t Crc16(uint16_t crc, const uint8_t* data, size_t size);

// Running CRC-64 (start with 0, feed pieces in order).
uint64_t Crc64(uint64_t crc, const uint8_t* data, size_t size);

class Sha256 {
public:
    Sha256();
    void Update(const uint8_t* data, size_t size);
    // The 32-byte digest; the object is spent afterwards.
    void Finish(uint8_t digest[32]);

private:
    void Compress(const uint8_t block[64]);

    uint32_t state_[8];
    uint8_t block_[64];
    size_t used_ = 0;
    uint64_t length_ = 0;  // bytes fed so far
};

}  // namespace codecs
