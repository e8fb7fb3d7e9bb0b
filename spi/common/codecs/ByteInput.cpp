#include <algorithm>
#include <cstring>
#include "spi/common/codecs/Decoder.h"

namespace codecs {

bool MemoryInput::Read(uint8_t* buffer, size_t size, size_t* count) {
    *count = std::min(size, left_);
    if (*count) memcpy(buffer, data_, *count);
    data_ += *count;
    left_ -= *count;
    return true;
}

bool DecoderInput::Read(uint8_t* buffer, size_t size, size_t* count) {
    *count = 0;
    if (status_ == Status::Ok) status_ = decoder_.Decode(buffer, size, count);
    return true;
}

bool ByteInput::Fill() {
    consumed_ += static_cast<uint64_t>(end_ - buffer_);
    next_ = end_ = buffer_;
    if (ended_) return false;
    size_t count = 0;
    if (!input_.Read(buffer_, BufferSize, &count)) {
        failed_ = ended_ = true;
        return false;
    }
    if (count == 0) {
        ended_ = true;
        return false;
    }
    end_ = buffer_ + count;
    return true;
}

uint8_t ByteInput::Refill() {
    if (!Fill()) {
        ++overrun_;
        return 0;
    }
    return *next_++;
}

size_t ByteInput::Read(uint8_t* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        if (next_ == end_ && !Fill()) break;
        size_t count = std::min(size - done, Available());
        memcpy(buffer + done, next_, count);
        next_ += count;
        done += count;
    }
    return done;
}

bool ByteInput::AtEnd() { return next_ == end_ && !Fill(); }

}  // namespace codecs
