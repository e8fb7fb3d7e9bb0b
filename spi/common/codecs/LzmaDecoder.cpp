// Raw LZMA streams, as ZIP (method 14) and 7z store them.
#include <algorithm>
#include "spi/common/codecs/ByteOrder.h"
#include "spi/common/codecs/LzmaCore.h"

namespace codecs {
namespace {

class LzmaDecoder : public Decoder {
public:
    LzmaDecoder(ByteInput& input, uint64_t unpackedSize, bool endMarker)
        : input_(input), left_(unpackedSize), endMarker_(endMarker || unpackedSize == UnknownSize) {}

    bool Start(const LzmaProperties& properties) {
        if (!core_.AllocateWindow(properties.dictionarySize, left_)) return false;
        if (!core_.SetProperties(properties.lc, properties.lp, properties.pb)) return false;
        core_.ResetState();
        status_ = core_.StartRange(input_) ? Status::Ok : Status::BadData;
        return true;
    }

    Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        *produced = 0;
        while (status_ == Status::Ok || core_.window().Pending() > 0) {
            *produced += core_.window().Flush(out + *produced, size - *produced);
            if (*produced == size || status_ != Status::Ok) break;
            status_ = Step(size - *produced);
        }
        return core_.window().Pending() > 0 ? Status::Ok : status_;
    }

private:
    Status Step(size_t room) {
        if (left_ == 0) return Finish();
        size_t limit = room;
        if (left_ != UnknownSize) limit = static_cast<size_t>(std::min<uint64_t>(limit, left_));
        if (!core_.window().Grow(limit)) return Status::NoMemory;
        limit = std::min(limit, core_.window().Size());
        LzmaCore::Outcome outcome = core_.Decode(input_, limit);
        if (input_.Failed()) return Status::ReadError;
        if (input_.Overrun() > 0 || outcome == LzmaCore::Outcome::BadData) return Status::BadData;
        if (left_ != UnknownSize) left_ -= core_.window().Pending();
        if (outcome == LzmaCore::Outcome::EndMarker)
            return (left_ == 0 || left_ == UnknownSize) && core_.RangeFinished() ? Status::End : Status::BadData;
        return Status::Ok;
    }

    // The declared size is reached: the stream may end here, or with an end marker.
    Status Finish() {
        if (core_.PendingMatch() > 0) return Status::BadData;
        if (!endMarker_ && core_.RangeFinished()) return Status::End;
        if (!core_.window().Grow(1)) return Status::NoMemory;
        LzmaCore::Outcome outcome = core_.Decode(input_, 1);
        if (input_.Failed()) return Status::ReadError;
        bool clean = outcome == LzmaCore::Outcome::EndMarker && core_.RangeFinished() && input_.Overrun() == 0;
        return clean ? Status::End : Status::BadData;
    }

    ByteInput& input_;
    LzmaCore core_;
    uint64_t left_;  // bytes still to come, or UnknownSize
    bool endMarker_;
    Status status_ = Status::Ok;
};

}  // namespace

bool ParseLzmaProperties(const uint8_t bytes[5], LzmaProperties* properties) {
    unsigned packed = bytes[0];
    if (packed >= 9 * 5 * 5) return false;
    properties->lc = packed % 9;
    properties->lp = (packed / 9) % 5;
    properties->pb = packed / 45;
    properties->dictionarySize = ReadLe32(bytes + 1);
    return true;
}

std::unique_ptr<Decoder> MakeLzmaDecoder(ByteInput& input, const LzmaProperties& properties,
                                         uint64_t unpackedSize, bool endMarker) {
    std::unique_ptr<LzmaDecoder> decoder(new (std::nothrow) LzmaDecoder(input, unpackedSize, endMarker));
    if (!decoder || !decoder->Start(properties)) return nullptr;
    return decoder;
}

}  // namespace codecs
