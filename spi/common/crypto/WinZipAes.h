#pragma once
// WinZip's AES encryption of ZIP entries (AE-1 and AE-2; the two differ only in whether the
// entry's CRC-32 is also stored, which is the archive reader's concern). The entry's data
// starts with a salt (8, 12 or 16 bytes for 128, 192 and 256-bit keys) and a 2-byte password
// verifier, and ends with a 10-byte authentication code: the first 10 bytes of HMAC-SHA1 over
// the encrypted data.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "spi/common/crypto/AesCtr.h"
#include "spi/common/crypto/Hash.h"

namespace crypto {

// The strength byte of the AES extra field (0x9901).
enum class WinZipAesStrength : uint8_t { Aes128 = 1, Aes192 = 2, Aes256 = 3 };

constexpr size_t kWinZipVerifierSize = 2;
constexpr size_t kWinZipCodeSize = 10;
constexpr size_t kWinZipLargestSalt = 16;

// False for a strength byte other than 1, 2 and 3.
bool IsWinZipAesStrength(uint8_t strength);
size_t WinZipSaltSize(WinZipAesStrength strength);
size_t WinZipKeySize(WinZipAesStrength strength);

// Decrypts one entry: Begin with the password and the stored salt and verifier, then
// Decrypt the data in pieces, then compare the stored authentication code.
class WinZipAesDecryptor {
public:
    enum class Start { Ready, WrongPassword, Failed };
    // salt holds WinZipSaltSize(strength) bytes. WrongPassword when the verifier does not match
    // (a wrong password, with a 1 in 65536 chance of passing here and failing at the code).
    Start Begin(WinZipAesStrength strength, const uint8_t* password, size_t passwordSize, const uint8_t* salt,
                const uint8_t verifier[kWinZipVerifierSize]);
    // Decrypts a piece of the data in place. False when CNG failed.
    bool Decrypt(uint8_t* data, size_t size);
    // True when the stored code matches the data decrypted (or digested) so far: all of it, at
    // the end.
    bool Authenticates(const uint8_t code[kWinZipCodeSize]);

    // The same two steps apart, so that the code is checked before any decrypted byte is
    // handed over: Digest all the encrypted data, check it with Authenticates, then
    // DecryptAfterCheck it from the start. False when CNG failed.
    bool Digest(const uint8_t* data, size_t size);
    bool DecryptAfterCheck(uint8_t* data, size_t size);

private:
    std::unique_ptr<AesCtr> cipher_;
    std::unique_ptr<Hash> mac_;
};

}  // namespace crypto
