#include "spi/common/crypto/Pbkdf2.h"

#include "spi/common/crypto/CngAlgorithm.h"

namespace crypto {

bool Pbkdf2HmacSha1(const uint8_t* password, size_t passwordSize, const uint8_t* salt, size_t saltSize,
                    uint32_t iterations, uint8_t* key, size_t size) {
    constexpr size_t kLargest = 0x10000000;
    if (iterations == 0 || passwordSize > kLargest || saltSize > kLargest || size > kLargest) return false;
    CngAlgorithm hmac(BCRYPT_SHA1_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG);
    if (!hmac.ok()) return false;
    // CNG wants valid pointers even for empty inputs.
    static UCHAR kEmpty = 0;
    PUCHAR secret = passwordSize ? const_cast<PUCHAR>(password) : &kEmpty;
    PUCHAR saltBytes = saltSize ? const_cast<PUCHAR>(salt) : &kEmpty;
    return BCRYPT_SUCCESS(BCryptDeriveKeyPBKDF2(hmac.handle(), secret, static_cast<ULONG>(passwordSize),
                                                saltBytes, static_cast<ULONG>(saltSize), iterations, key,
                                                static_cast<ULONG>(size), 0));
}

}  // namespace crypto
