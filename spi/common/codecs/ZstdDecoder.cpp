// Zstandard frames one after another (and skippable frames between them): the frame header,
// its blocks (raw, one repeated byte, or compressed), the content size and checksum when the
// header announces them. Each block is written in one piece into the output ring and handed out
// from there.
#include <algorithm>
#include <cstring>
#include <new>
#include "spi/common/codecs/Decoder.h"
#include "spi/common/codecs/Xxh64.h"
#include "spi/common/codecs/ZstdBlock.h"

namespace codecs {
namespace {

using zstd::BlockOutput;
using zstd::CopySlack;
using zstd::MaxBlockSize;

constexpr uint32_t FrameMagic = 0xFD2FB528;
constexpr uint32_t SkippableMagic = 0x184D2A50;  // the low 4 bits may be anything
constexpr uint32_t SkippableMask = 0xFFFFFFF0;
enum BlockType { RawBlock = 0, RleBlock = 1, CompressedBlock = 2 };
// The largest window the 32-bit product decodes: its address space holds no more.
constexpr uint64_t MaxWindow32 = uint64_t{1} << 31;
constexpr size_t FirstRingSize = 1 << 20;
constexpr size_t BlockPadding = 16;  // before and after a packed block, for the bit readers

uint32_t LittleEndian(const uint8_t* p, unsigned bytes) {
    uint32_t value = 0;
    for (unsigned i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(p[i]) << (8 * i);
    return value;
}

struct FrameHeader {
    uint64_t window = 0;
    uint64_t contentSize = UnknownSize;
    bool checksum = false;
};

class ZstdDecoder : public Decoder {
public:
    ZstdDecoder(ByteInput& input, std::unique_ptr<zstd::BlockDecoder> blocks, std::unique_ptr<uint8_t[]> packed)
        : input_(input), blocks_(std::move(blocks)), packed_(std::move(packed)) {}

    Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        *produced = 0;
        while (status_ == Status::Ok && *produced < size) {
            if (pendingSize_ > 0) {
                size_t count = std::min(size - *produced, pendingSize_);
                memcpy(out + *produced, pending_, count);
                pending_ += count;
                pendingSize_ -= count;
                *produced += count;
            } else if (inFrame_) {
                status_ = ReadBlock();
            } else {
                status_ = ReadFrameStart();
            }
        }
        return status_;
    }

private:
    Status Truncated() const { return input_.Failed() ? Status::ReadError : Status::BadData; }

    Status ReadFrameStart() {
        if (frames_ > 0 && input_.AtEnd()) return input_.Failed() ? Status::ReadError : Status::End;
        uint8_t magic[4];
        if (input_.Read(magic, 4) != 4) return Truncated();
        ++frames_;
        uint32_t number = LittleEndian(magic, 4);
        if ((number & SkippableMask) == SkippableMagic) return SkipFrame();
        if (number != FrameMagic) return Status::BadData;
        FrameHeader header;
        Status status = ReadFrameHeader(&header);
        return status == Status::Ok ? StartFrame(header) : status;
    }

    Status SkipFrame() {
        uint8_t length[4];
        if (input_.Read(length, 4) != 4) return Truncated();
        uint64_t left = LittleEndian(length, 4);
        while (left > 0) {
            size_t count = static_cast<size_t>(std::min<uint64_t>(left, MaxBlockSize));
            if (input_.Read(packed_.get() + BlockPadding, count) != count) return Truncated();
            left -= count;
        }
        return Status::Ok;
    }

    Status ReadFrameHeader(FrameHeader* header) {
        uint8_t descriptor = input_.Byte();
        unsigned sizeFlag = descriptor >> 6, dictionaryFlag = descriptor & 3;
        bool singleSegment = (descriptor >> 5) & 1;
        if (descriptor & 0x08) return Status::BadData;  // the reserved bit
        header->checksum = (descriptor >> 2) & 1;
        if (!singleSegment) {
            uint8_t window = input_.Byte();
            uint64_t base = uint64_t{1} << (10 + (window >> 3));
            header->window = base + (base / 8) * (window & 7);
        }
        const unsigned dictionaryBytes = dictionaryFlag == 3 ? 4 : dictionaryFlag;
        uint8_t field[8];
        for (unsigned i = 0; i < dictionaryBytes; ++i) field[i] = input_.Byte();
        bool namesDictionary = dictionaryBytes > 0 && LittleEndian(field, dictionaryBytes) != 0;
        const unsigned sizeBytes = sizeFlag == 0 ? (singleSegment ? 1 : 0) : 1u << sizeFlag;
        for (unsigned i = 0; i < sizeBytes; ++i) field[i] = input_.Byte();
        if (input_.Overrun() > 0) return Truncated();
        if (namesDictionary) return Status::Unsupported;
        if (sizeBytes > 0) {
            uint64_t value = LittleEndian(field, std::min(sizeBytes, 4u));
            if (sizeBytes == 8) value |= static_cast<uint64_t>(LittleEndian(field + 4, 4)) << 32;
            header->contentSize = sizeBytes == 2 ? value + 256 : value;
        }
        if (singleSegment) header->window = header->contentSize;
        return Status::Ok;
    }

    Status StartFrame(const FrameHeader& header) {
        window_ = header.window;
        if (header.contentSize != UnknownSize) window_ = std::min(window_, header.contentSize);
        if (sizeof(size_t) < 8 && window_ > MaxWindow32) return Status::NoMemory;
        blockLimit_ = static_cast<size_t>(std::min<uint64_t>(window_, MaxBlockSize));
        capacity_ = static_cast<size_t>(window_) + 2 * (blockLimit_ + CopySlack);
        contentSize_ = header.contentSize;
        checksum_ = header.checksum;
        position_ = wrapEnd_ = 0;
        frameOutput_ = 0;
        hash_.Reset();
        blocks_->StartFrame();
        inFrame_ = true;
        return Status::Ok;
    }

    // Room for a whole block at the write position: the ring grows until it has its full size
    // (it wraps only then, so that a window's history stays whole behind every block).
    bool MakeRoom() {
        const size_t needed = blockLimit_ + CopySlack;
        if (position_ + needed <= ringSize_) return true;
        if (ringSize_ < capacity_ && !Grow(position_ + needed)) return false;
        if (position_ + needed <= ringSize_) return true;
        wrapEnd_ = position_;
        position_ = 0;
        return true;
    }

    // Doubles the ring (at least to `wanted` bytes), up to the size the window needs.
    bool Grow(size_t wanted) {
        size_t doubled = ringSize_ <= capacity_ / 2 ? 2 * ringSize_ : capacity_;
        size_t size = std::min(capacity_, std::max({doubled, wanted, FirstRingSize}));
        std::unique_ptr<uint8_t[]> bigger(new (std::nothrow) uint8_t[size]);
        if (!bigger) return false;
        if (position_ > 0) memcpy(bigger.get(), ring_.get(), position_);  // nothing has wrapped yet
        ring_ = std::move(bigger);
        ringSize_ = size;
        return true;
    }

    Status ReadBlock() {
        uint8_t bytes[3];
        if (input_.Read(bytes, 3) != 3) return Truncated();
        uint32_t header = LittleEndian(bytes, 3);
        unsigned type = (header >> 1) & 3;
        size_t size = header >> 3;
        if (type == 3 || size > blockLimit_) return Status::BadData;
        if (!MakeRoom()) return Status::NoMemory;
        uint8_t* at = ring_.get() + position_;
        size_t produced = size;
        if (type == RawBlock) {
            if (input_.Read(at, size) != size) return Truncated();
        } else if (type == RleBlock) {
            uint8_t byte = input_.Byte();
            if (input_.Overrun() > 0) return Truncated();
            memset(at, byte, size);
        } else {
            uint8_t* packed = packed_.get() + BlockPadding;
            if (input_.Read(packed, size) != size) return Truncated();
            memset(packed + size, 0, BlockPadding);
            BlockOutput out{ring_.get(), position_, blockLimit_, wrapEnd_, std::min(frameOutput_, window_), window_};
            if (!blocks_->Decode(packed, size, out, &produced)) return Status::BadData;
        }
        if (checksum_) hash_.Update(at, produced);
        position_ += produced;
        frameOutput_ += produced;
        pending_ = at;
        pendingSize_ = produced;
        if (contentSize_ != UnknownSize && frameOutput_ > contentSize_) return Status::BadData;
        return header & 1 ? FinishFrame() : Status::Ok;
    }

    Status FinishFrame() {
        inFrame_ = false;
        if (contentSize_ != UnknownSize && frameOutput_ != contentSize_) return Status::BadData;
        if (!checksum_) return Status::Ok;
        uint8_t stored[4];
        if (input_.Read(stored, 4) != 4) return Truncated();
        uint32_t expected = static_cast<uint32_t>(hash_.Digest());
        return LittleEndian(stored, 4) == expected ? Status::Ok : Status::BadData;
    }

    ByteInput& input_;
    std::unique_ptr<zstd::BlockDecoder> blocks_;
    std::unique_ptr<uint8_t[]> packed_;  // one packed block, with padding before and after
    Status status_ = Status::Ok;
    uint64_t frames_ = 0;
    bool inFrame_ = false;
    // The frame being decoded.
    uint64_t window_ = 0;
    uint64_t contentSize_ = UnknownSize;
    bool checksum_ = false;
    size_t blockLimit_ = 0;
    size_t capacity_ = 0;  // the ring size the window needs
    uint64_t frameOutput_ = 0;
    Xxh64 hash_;
    // The output ring.
    std::unique_ptr<uint8_t[]> ring_;
    size_t ringSize_ = 0;
    size_t position_ = 0;
    size_t wrapEnd_ = 0;
    // Decoded bytes not yet handed out.
    const uint8_t* pending_ = nullptr;
    size_t pendingSize_ = 0;
};

}  // namespace

std::unique_ptr<Decoder> MakeZstdDecoder(ByteInput& input) {
    std::unique_ptr<zstd::BlockDecoder> blocks(new (std::nothrow) zstd::BlockDecoder);
    std::unique_ptr<uint8_t[]> packed(new (std::nothrow) uint8_t[MaxBlockSize + 2 * BlockPadding]());
    if (!blocks || !packed) return nullptr;
    return std::unique_ptr<Decoder>(new (std::nothrow) ZstdDecoder(input, std::move(blocks), std::move(packed)));
}

}  // namespace codecs
