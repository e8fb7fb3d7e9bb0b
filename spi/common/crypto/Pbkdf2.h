#pragma once
// PBKDF2 (RFC 8018) with HMAC-SHA1 as its pseudo-random function, through Windows' CNG.
#include <cstddef>
#include <cstdint>

namespace crypto {

// Writes `size` bytes of key derived from the password and salt in `iterations` rounds.
// False when CNG failed or iterations is 0.
bool Pbkdf2HmacSha1(const uint8_t* password, size_t passwordSize, const uint8_t* salt, size_t saltSize,
                    uint32_t iterations, uint8_t* key, size_t size);

}  // namespace crypto
