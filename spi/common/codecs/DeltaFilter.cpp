#include <new>
#include "spi/common/codecs/Filters.h"

namespace codecs {
namespace {

class DeltaFilter : public Decoder {
public:
    DeltaFilter(Decoder& inner, unsigned distance) : inner_(inner), distance_(distance) {}

    Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        Status status = inner_.Decode(out, size, produced);
        for (size_t i = 0; i < *produced; ++i) {
            out[i] = static_cast<uint8_t>(out[i] + history_[(position_ - distance_) & 0xFF]);
            history_[position_++ & 0xFF] = out[i];
        }
        return status;
    }

private:
    Decoder& inner_;
    unsigned distance_;
    uint8_t history_[256] = {};
    unsigned position_ = 0;
};

}  // namespace

std::unique_ptr<Decoder> MakeDeltaFilter(Decoder& inner, unsigned distance) {
    return std::unique_ptr<Decoder>(new (std::nothrow) DeltaFilter(inner, distance));
}

}  // namespace codecs
