// LZMA2: LZMA data cut into chunks, some stored, each saying what it resets.
#include <algorithm>
#include "spi/common/codecs/LzmaCore.h"

namespace codecs {
namespace {

class Lzma2Decoder : public Decoder {
public:
    explicit Lzma2Decoder(ByteInput& input) : input_(input) {}

    bool Allocate(uint32_t dictionarySize, uint64_t unpackedSize) {
        return core_.AllocateWindow(dictionarySize, unpackedSize);
    }

    Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        *produced = 0;
        while (status_ == Status::Ok || core_.window().Pending() > 0) {
            *produced += core_.window().Flush(out + *produced, size - *produced);
            if (*produced == size || status_ != Status::Ok) break;
            status_ = chunkLeft_ == 0 ? NextChunk() : Step(size - *produced);
            if (status_ == Status::Ok && input_.Failed()) status_ = Status::ReadError;
        }
        return core_.window().Pending() > 0 ? Status::Ok : status_;
    }

private:
    uint32_t Read16() {
        uint32_t high = input_.Byte();
        return (high << 8) | input_.Byte();
    }

    Status NextChunk() {
        if (compressed_ && !ChunkEndedCleanly()) return Status::BadData;
        unsigned control = input_.Byte();
        if (input_.Overrun() > 0) return Status::BadData;
        if (control == 0x00) return Status::End;
        bool dictionaryReset = control == 0x01 || control >= 0xE0;
        if (dictionaryReset) {
            core_.ResetDictionary();
            needDictionaryReset_ = false;
            needProperties_ = needProperties_ || control == 0x01;
        } else if (needDictionaryReset_) {
            return Status::BadData;
        }
        if (control < 0x80) {
            if (control > 0x02) return Status::BadData;
            compressed_ = false;
            chunkLeft_ = Read16() + 1;
            return Status::Ok;
        }
        chunkLeft_ = (((control & 0x1F) << 16) | Read16()) + 1;
        packedSize_ = Read16() + 1;
        unsigned reset = (control >> 5) & 3;
        if (reset >= 2) {
            unsigned packed = input_.Byte();
            unsigned lc = packed % 9, lp = (packed / 9) % 5, pb = packed / 45;
            if (packed >= 9 * 5 * 5 || lc + lp > 4 || !core_.SetProperties(lc, lp, pb)) return Status::BadData;
            needProperties_ = false;
        } else if (needProperties_) {
            return Status::BadData;
        }
        if (reset >= 1) core_.ResetState();
        compressed_ = true;
        packedStart_ = input_.Consumed();
        if (!core_.StartRange(input_) || input_.Overrun() > 0) return Status::BadData;
        return Status::Ok;
    }

    bool ChunkEndedCleanly() const {
        return core_.PendingMatch() == 0 && core_.RangeFinished() && input_.Consumed() - packedStart_ == packedSize_;
    }

    Status Step(size_t room) {
        size_t limit = std::min(room, static_cast<size_t>(chunkLeft_));
        if (!core_.window().Grow(limit)) return Status::NoMemory;
        limit = std::min(limit, core_.window().Size());
        size_t before = core_.window().Pending();
        if (compressed_) {
            if (core_.Decode(input_, limit) != LzmaCore::Outcome::Ran) return Status::BadData;
            if (input_.Consumed() - packedStart_ > packedSize_) return Status::BadData;
        } else {
            size_t span = 0;
            uint8_t* to = core_.window().WriteSpan(&span);
            size_t count = input_.Read(to, std::min(limit, span));
            if (count < std::min(limit, span)) return input_.Failed() ? Status::ReadError : Status::BadData;
            core_.window().Wrote(count);
            core_.AddUncompressed(count);
        }
        if (input_.Overrun() > 0) return Status::BadData;
        chunkLeft_ -= static_cast<uint32_t>(core_.window().Pending() - before);
        return Status::Ok;
    }

    ByteInput& input_;
    LzmaCore core_;
    uint32_t chunkLeft_ = 0;  // unpacked bytes of the current chunk still to come
    uint32_t packedSize_ = 0;
    uint64_t packedStart_ = 0;
    bool compressed_ = false;
    bool needDictionaryReset_ = true;
    bool needProperties_ = true;
    Status status_ = Status::Ok;
};

}  // namespace

bool ParseLzma2Dictionary(uint8_t property, uint32_t* dictionarySize) {
    constexpr uint8_t Largest = 40;  // 4 GiB - 1
    if (property > Largest) return false;
    *dictionarySize = property == Largest ? 0xFFFFFFFFu : (2u | (property & 1)) << (property / 2 + 11);
    return true;
}

std::unique_ptr<Decoder> MakeLzma2Decoder(ByteInput& input, uint32_t dictionarySize, uint64_t unpackedSize) {
    std::unique_ptr<Lzma2Decoder> decoder(new (std::nothrow) Lzma2Decoder(input));
    if (!decoder || !decoder->Allocate(dictionarySize, unpackedSize)) return nullptr;
    return decoder;
}

}  // namespace codecs
