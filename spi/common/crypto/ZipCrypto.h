#pragma once
// The traditional PKWARE encryption of ZIP entries ("ZipCrypto"): a stream cipher of three
// 32-bit keys updated through the CRC-32 table. An entry's data starts with a 12-byte header
// whose last byte, once decrypted, must equal a check byte: the high byte of the entry's
// CRC-32, or of its DOS modification time when the sizes follow the data (flag bit 3).
#include <cstddef>
#include <cstdint>

namespace crypto {

constexpr size_t kZipCryptoHeaderSize = 12;

class ZipCrypto {
public:
    // Starts the keys from the password bytes (as typed, without a terminator).
    ZipCrypto(const uint8_t* password, size_t size);
    // Decrypts the header in place; false when its check byte does not match (a wrong
    // password, with a 1 in 256 chance of passing here and failing at the CRC-32).
    bool AcceptsHeader(uint8_t header[kZipCryptoHeaderSize], uint8_t checkByte);
    // Decrypts the data after the header in place, in pieces of any size.
    void Decrypt(uint8_t* data, size_t size);
    // Encrypts in place: how the test and fuzzing tools make encrypted entries.
    void Encrypt(uint8_t* data, size_t size);

private:
    uint8_t KeyStreamByte() const;
    void UpdateKeys(uint8_t plain);

    uint32_t keys_[3];
};

}  // namespace crypto
