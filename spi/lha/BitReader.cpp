#include "spi/lha/BitReader.h"
#include <algorithm>

namespace lha {
namespace {
constexpr size_t ChunkSize = 64 * 1024;
}

BitReader::BitReader(ByteSource& source, uint64_t offset, uint64_t length)
    : source_(source), offset_(offset), length_(length) {}

void BitReader::Refill() {
    while (bitCount_ <= 56) {
        uint8_t byte = 0;
        if (chunkAt_ < chunk_.size()) {
            byte = chunk_[chunkAt_++];
        } else if (fetched_ < length_ && !readFailed_) {
            size_t count = static_cast<size_t>(std::min<uint64_t>(ChunkSize, length_ - fetched_));
            chunk_.resize(count);
            readFailed_ = !source_.ReadAt(offset_ + fetched_, chunk_.data(), count);
            fetched_ += count;
            chunkAt_ = 0;
            continue;
        }
        bits_ = (bits_ << 8) | byte;
        bitCount_ += 8;
    }
}

uint32_t BitReader::Peek(int count) {
    if (count == 0) return 0;
    if (bitCount_ < count) Refill();
    return static_cast<uint32_t>((bits_ >> (bitCount_ - count)) & ((1u << count) - 1));
}

void BitReader::Skip(int count) {
    if (bitCount_ < count) Refill();
    bitCount_ -= count;
    used_ += static_cast<uint64_t>(count);
}

}  // namespace lha
