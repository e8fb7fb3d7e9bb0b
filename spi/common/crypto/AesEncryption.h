#pragma once
// The AES block cipher's encryption (FIPS 197), computed here: the one use of AES that cannot
// go through CNG everywhere. Wine's bcrypt.dll (8.0) hands ECB to GnuTLS without an initial
// vector, and on processors without AES instructions GnuTLS's generic CBC code then divides by
// the vector's size, zero: the process dies. Counter mode needs nothing but this direction.
// Where the processor has AES instructions they do the rounds; elsewhere tables made here.
#include <cstddef>
#include <cstdint>

namespace crypto {

class AesEncryption {
public:
    // keySize 16, 24 or 32; any other size makes a cipher that is not ok().
    AesEncryption(const uint8_t* key, size_t keySize);
    ~AesEncryption();
    AesEncryption(const AesEncryption&) = delete;
    AesEncryption& operator=(const AesEncryption&) = delete;

    bool ok() const { return rounds_ != 0; }
    // Encrypts one 16-byte block; `in` and `out` may be the same.
    void EncryptBlock(const uint8_t in[16], uint8_t out[16]) const;
    // Encrypts `count` blocks in place: with the processor's AES instructions where it has
    // them, else block by block as EncryptBlock.
    void EncryptBlocks(uint8_t* data, size_t count) const;

private:
    static constexpr int kLargestRounds = 14;
    uint32_t roundKeys_[4 * (kLargestRounds + 1)] = {};
    uint8_t roundKeyBytes_[16 * (kLargestRounds + 1)] = {};  // the same, in the state's byte order
    int rounds_ = 0;
};

}  // namespace crypto
