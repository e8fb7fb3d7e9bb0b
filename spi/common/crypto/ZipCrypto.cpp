#include "spi/common/crypto/ZipCrypto.h"

#include <zlib.h>

namespace crypto {
namespace {

// One step of CRC-32 without the pre- and post-inversion, on zlib's table.
uint32_t CrcStep(uint32_t value, uint8_t byte) {
    static const z_crc_t* const table = get_crc_table();
    return (value >> 8) ^ static_cast<uint32_t>(table[(value ^ byte) & 0xFF]);
}

}  // namespace

ZipCrypto::ZipCrypto(const uint8_t* password, size_t size) : keys_{0x12345678, 0x23456789, 0x34567890} {
    for (size_t i = 0; i < size; ++i) UpdateKeys(password[i]);
}

uint8_t ZipCrypto::KeyStreamByte() const {
    // In 32 bits unsigned: the 16-bit product overflows an int.
    const uint32_t temp = (keys_[2] | 2) & 0xFFFF;
    return static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
}

void ZipCrypto::UpdateKeys(uint8_t plain) {
    keys_[0] = CrcStep(keys_[0], plain);
    keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
    keys_[2] = CrcStep(keys_[2], static_cast<uint8_t>(keys_[1] >> 24));
}

bool ZipCrypto::AcceptsHeader(uint8_t header[kZipCryptoHeaderSize], uint8_t checkByte) {
    Decrypt(header, kZipCryptoHeaderSize);
    return header[kZipCryptoHeaderSize - 1] == checkByte;
}

void ZipCrypto::Decrypt(uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        data[i] = static_cast<uint8_t>(data[i] ^ KeyStreamByte());
        UpdateKeys(data[i]);
    }
}

void ZipCrypto::Encrypt(uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const uint8_t plain = data[i];
        data[i] = static_cast<uint8_t>(plain ^ KeyStreamByte());
        UpdateKeys(plain);
    }
}

}  // namespace crypto
