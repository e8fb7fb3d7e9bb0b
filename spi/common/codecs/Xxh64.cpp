// XXH64 as its public description defines it: four lanes over 32-byte stripes, then the rest
// of the input folded in 8, 4 and 1 bytes at a time, then the final mixing.
#include "spi/common/codecs/Xxh64.h"
#include <cstring>

namespace codecs {
namespace {

constexpr uint64_t Prime1 = 0x9E3779B185EBCA87ULL;
constexpr uint64_t Prime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr uint64_t Prime3 = 0x165667B19E3779F9ULL;
constexpr uint64_t Prime4 = 0x85EBCA77C2B2AE63ULL;
constexpr uint64_t Prime5 = 0x27D4EB2F165667C5ULL;

uint64_t RotateLeft(uint64_t value, unsigned count) { return (value << count) | (value >> (64 - count)); }

uint64_t Load64(const uint8_t* p) {
    uint64_t value;
    memcpy(&value, p, 8);  // the machines we build for are little-endian
    return value;
}

uint32_t Load32(const uint8_t* p) {
    uint32_t value;
    memcpy(&value, p, 4);
    return value;
}

uint64_t Round(uint64_t lane, uint64_t input) { return RotateLeft(lane + input * Prime2, 31) * Prime1; }

uint64_t MergeLane(uint64_t hash, uint64_t lane) { return (hash ^ Round(0, lane)) * Prime1 + Prime4; }

void ConsumeStripe(uint64_t lanes[4], const uint8_t* stripe) {
    for (int i = 0; i < 4; ++i) lanes[i] = Round(lanes[i], Load64(stripe + 8 * i));
}

}  // namespace

void Xxh64::Reset(uint64_t seed) {
    seed_ = seed;
    lanes_[0] = seed + Prime1 + Prime2;
    lanes_[1] = seed + Prime2;
    lanes_[2] = seed;
    lanes_[3] = seed - Prime1;
    buffered_ = 0;
    length_ = 0;
}

void Xxh64::Update(const uint8_t* data, size_t size) {
    length_ += size;
    if (buffered_ > 0) {
        size_t take = size < 32 - buffered_ ? size : 32 - buffered_;
        memcpy(stripe_ + buffered_, data, take);
        buffered_ += take;
        data += take;
        size -= take;
        if (buffered_ < 32) return;
        ConsumeStripe(lanes_, stripe_);
        buffered_ = 0;
    }
    uint64_t lanes[4] = {lanes_[0], lanes_[1], lanes_[2], lanes_[3]};
    for (; size >= 32; data += 32, size -= 32) ConsumeStripe(lanes, data);
    memcpy(lanes_, lanes, sizeof lanes);
    memcpy(stripe_, data, size);
    buffered_ = size;
}

uint64_t Xxh64::Digest() const {
    uint64_t hash;
    if (length_ >= 32) {
        hash = RotateLeft(lanes_[0], 1) + RotateLeft(lanes_[1], 7) + RotateLeft(lanes_[2], 12) +
               RotateLeft(lanes_[3], 18);
        for (int i = 0; i < 4; ++i) hash = MergeLane(hash, lanes_[i]);
    } else {
        hash = seed_ + Prime5;
    }
    hash += length_;
    const uint8_t* p = stripe_;
    size_t left = buffered_;
    for (; left >= 8; p += 8, left -= 8) hash = RotateLeft(hash ^ Round(0, Load64(p)), 27) * Prime1 + Prime4;
    if (left >= 4) {
        hash = RotateLeft(hash ^ (Load32(p) * Prime1), 23) * Prime2 + Prime3;
        p += 4;
        left -= 4;
    }
    for (; left > 0; ++p, --left) hash = RotateLeft(hash ^ (*p * Prime5), 11) * Prime1;
    hash ^= hash >> 33;
    hash *= Prime2;
    hash ^= hash >> 29;
    hash *= Prime3;
    hash ^= hash >> 32;
    return hash;
}

}  // namespace codecs
