#include "spi/common/codecs/Checks.h"
#include <zlib.h>
#include <cmath>
#include <cstring>

namespace codecs {
namespace {

struct Bzip2CrcTable {
    uint32_t entries[256];
    Bzip2CrcTable() {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t value = i << 24;
            for (int bit = 0; bit < 8; ++bit) value = (value & 0x80000000u) ? (value << 1) ^ 0x04C11DB7u : value << 1;
            entries[i] = value;
        }
    }
};

struct Crc16Table {
    uint16_t entries[256];
    Crc16Table() {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned value = i;
            for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? (value >> 1) ^ 0xA001 : value >> 1;
            entries[i] = static_cast<uint16_t>(value);
        }
    }
};

struct Crc64Table {
    uint64_t entries[256];
    Crc64Table() {
        for (uint64_t i = 0; i < 256; ++i) {
            uint64_t value = i;
            for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? (value >> 1) ^ 0xC96C5795D7870F42ull : value >> 1;
            entries[i] = value;
        }
    }
};

// SHA-256's constants are the first 32 bits of the fractional parts of the cube roots (K)
// and square roots (initial state) of the first primes; computing them avoids a table of
// 72 magic numbers. Double precision leaves 49 fractional bits for roots below 8.
uint32_t FractionBits(double root) { return static_cast<uint32_t>((root - std::floor(root)) * 4294967296.0); }

struct Sha256Constants {
    uint32_t k[64];
    uint32_t initial[8];
    Sha256Constants() {
        int found = 0;
        for (int candidate = 2; found < 64; ++candidate) {
            bool prime = true;
            for (int d = 2; d * d <= candidate; ++d) prime = prime && candidate % d != 0;
            if (!prime) continue;
            if (found < 8) initial[found] = FractionBits(std::sqrt(static_cast<double>(candidate)));
            k[found++] = FractionBits(std::cbrt(static_cast<double>(candidate)));
        }
    }
};

const Sha256Constants& Sha256Values() {
    static const Sha256Constants values;
    return values;
}

inline uint32_t Rotate(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }
inline uint32_t BigEndian32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

}  // namespace

uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size) {
    while (size > 0) {  // zlib counts in 32-bit pieces
        uInt piece = size > 0x40000000 ? 0x40000000 : static_cast<uInt>(size);
        crc = static_cast<uint32_t>(crc32(crc, data, piece));
        data += piece;
        size -= piece;
    }
    return crc;
}

uint32_t Bzip2CrcUpdate(uint32_t crc, const uint8_t* data, size_t size) {
    static const Bzip2CrcTable table;
    for (size_t i = 0; i < size; ++i) crc = (crc << 8) ^ table.entries[(crc >> 24) ^ data[i]];
    return crc;
}

uint16_t Crc16(uint16_t crc, const uint8_t* data, size_t size) {
    static const Crc16Table table;
    for (size_t i = 0; i < size; ++i) crc = static_cast<uint16_t>(table.entries[(crc ^ data[i]) & 0xFF] ^ (crc >> 8));
    return crc;
}

uint64_t Crc64(uint64_t crc, const uint8_t* data, size_t size) {
    static const Crc64Table table;
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table.entries[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

Sha256::Sha256() { memcpy(state_, Sha256Values().initial, sizeof state_); }

void Sha256::Compress(const uint8_t block[64]) {
    const uint32_t* k = Sha256Values().k;
    uint32_t w[64];
    for (int i = 0; i < 16; ++i) w[i] = BigEndian32(block + 4 * i);
    for (int i = 16; i < 64; ++i) {
        uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
        uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    uint32_t e = state_[4], f = state_[5], g = state_[6], h = state_[7];
    for (int i = 0; i < 64; ++i) {
        uint32_t t1 = h + (Rotate(e, 6) ^ Rotate(e, 11) ^ Rotate(e, 25)) + ((e & f) ^ (~e & g)) + k[i] + w[i];
        uint32_t t2 = (Rotate(a, 2) ^ Rotate(a, 13) ^ Rotate(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    state_[0] += a; state_[1] += b; state_[2] += c; state_[3] += d;
    state_[4] += e; state_[5] += f; state_[6] += g; state_[7] += h;
}

void Sha256::Update(const uint8_t* data, size_t size) {
    length_ += size;
    while (size > 0) {
        size_t count = 64 - used_ < size ? 64 - used_ : size;
        memcpy(block_ + used_, data, count);
        used_ += count;
        data += count;
        size -= count;
        if (used_ == 64) {
            Compress(block_);
            used_ = 0;
        }
    }
}

void Sha256::Finish(uint8_t digest[32]) {
    uint64_t bits = length_ * 8;
    uint8_t padding[72] = {0x80};
    size_t padLength = (used_ < 56 ? 56 : 120) - used_;
    for (int i = 0; i < 8; ++i) padding[padLength + i] = static_cast<uint8_t>(bits >> (56 - 8 * i));
    Update(padding, padLength + 8);
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<uint8_t>(state_[i] >> (24 - 8 * j));
}

}  // namespace codecs
