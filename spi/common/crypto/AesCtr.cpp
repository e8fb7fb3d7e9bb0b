#include "spi/common/crypto/AesCtr.h"

#include <algorithm>
#include <cstring>

namespace crypto {

AesCtr::AesCtr(const uint8_t* key, size_t keySize) : key_(key, keySize, AesKey::Mode::Ecb) {}

bool AesCtr::Refill() {
    std::memset(stream_, 0, sizeof stream_);
    for (size_t block = 0; block < kBatchBlocks; ++block, ++counter_) {
        for (int i = 0; i < 8; ++i) stream_[block * kAesBlock + i] = static_cast<uint8_t>(counter_ >> (8 * i));
    }
    used_ = 0;
    failed_ = !key_.EncryptBlocks(stream_, sizeof stream_);
    return !failed_;
}

bool AesCtr::Apply(uint8_t* data, size_t size) {
    if (!ok()) return false;
    while (size > 0) {
        if (used_ == sizeof stream_ && !Refill()) return false;
        const size_t count = std::min(size, sizeof stream_ - used_);
        const uint8_t* stream = stream_ + used_;
        for (size_t i = 0; i < count; ++i) data[i] ^= stream[i];  // a loop the compiler widens
        data += count;
        size -= count;
        used_ += count;
    }
    return true;
}

}  // namespace crypto
