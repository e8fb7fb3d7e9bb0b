#pragma once
// 7z's AES-256 coder (method id 06 F1 07 01): its properties, its key derivation (SHA-256
// over salt, UTF-16LE password and a 64-bit round counter, repeated 2^cycles times), and CBC
// decryption of the packed stream, which is padded to whole blocks.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "spi/common/crypto/Aes.h"

namespace crypto {

constexpr size_t kSevenZipKeySize = 32;
// 7-Zip writes 19 (half a million rounds). More than 2^24 rounds is refused: an archive's
// header must not make a plug-in hash for hours.
constexpr unsigned kSevenZipLargestCycles = 24;
// Cycles 0x3F means no hashing: the key is salt and password side by side.
constexpr unsigned kSevenZipPlainKey = 0x3F;

struct SevenZipAesProperties {
    unsigned cycles = 0;
    uint8_t salt[16] = {};
    size_t saltSize = 0;
    uint8_t iv[kAesBlock] = {};  // zero-padded to a whole block
};

// Reads the coder's properties; false when they are malformed or the cycle count is beyond
// kSevenZipLargestCycles (and not kSevenZipPlainKey).
bool ParseSevenZipAesProperties(const uint8_t* data, size_t size, SevenZipAesProperties* properties);

// passwordUtf16 is the password in UTF-16LE bytes, without a terminator (4096 bytes at the
// most). False when CNG failed, the password is longer or the cycles are out of bounds.
bool DeriveSevenZipKey(const SevenZipAesProperties& properties, const uint8_t* passwordUtf16, size_t passwordSize,
                       uint8_t key[kSevenZipKeySize]);

// Decrypts the packed stream in whole blocks, in pieces of any number of blocks.
class SevenZipAesDecryptor {
public:
    SevenZipAesDecryptor(const uint8_t key[kSevenZipKeySize], const uint8_t iv[kAesBlock]);
    bool ok() const { return key_.ok(); }
    bool Decrypt(uint8_t* data, size_t size) { return key_.DecryptBlocks(data, size, iv_); }

private:
    AesKey key_;
    uint8_t iv_[kAesBlock];
};

}  // namespace crypto
