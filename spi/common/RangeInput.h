#pragma once
// The packed bytes of an entry or block: a range of the archive, read a piece at a time, as
// the codec library's Input.
#include <algorithm>
#include "spi/common/ByteSource.h"
#include "spi/common/codecs/Decoder.h"

class RangeInput : public codecs::Input {
public:
    RangeInput(ByteSource& source, uint64_t offset, uint64_t size) : source_(source), offset_(offset), left_(size) {}
    bool Read(uint8_t* buffer, size_t size, size_t* count) override {
        *count = static_cast<size_t>(std::min<uint64_t>(size, left_));
        if (*count > 0 && !source_.ReadAt(offset_, buffer, *count)) return false;
        offset_ += *count;
        left_ -= *count;
        return true;
    }

private:
    ByteSource& source_;
    uint64_t offset_, left_;
};
