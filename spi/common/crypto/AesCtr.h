#pragma once
// AES in counter mode as WinZip's AE-1 and AE-2 encryption uses it: the counter block is a
// 128-bit little-endian number starting at 1, and each block of data is XORed with the
// block cipher's output for the counter. Encryption and decryption are the same operation.
#include <cstddef>
#include <cstdint>

#include "spi/common/crypto/Aes.h"

namespace crypto {

class AesCtr {
public:
    AesCtr(const uint8_t* key, size_t keySize);
    bool ok() const { return key_.ok() && !failed_; }
    // XORs the next `size` bytes of the key stream into data; pieces of any size continue
    // one stream. False (and spent) when CNG failed.
    bool Apply(uint8_t* data, size_t size);

private:
    bool Refill();

    static constexpr size_t kBatchBlocks = 256;  // counter blocks encrypted per CNG call
    AesKey key_;
    uint64_t counter_ = 1;  // the next block's; 2^64 blocks are more than any entry holds
    uint8_t stream_[kBatchBlocks * kAesBlock];
    size_t used_ = sizeof stream_;
    bool failed_ = false;
};

}  // namespace crypto
