#include "spi/common/crypto/WinZipAes.h"

#include "spi/common/crypto/Pbkdf2.h"

namespace crypto {
namespace {
constexpr uint32_t kIterations = 1000;
}  // namespace

bool IsWinZipAesStrength(uint8_t strength) { return strength >= 1 && strength <= 3; }

size_t WinZipSaltSize(WinZipAesStrength strength) { return 4 + 4 * static_cast<size_t>(strength); }

size_t WinZipKeySize(WinZipAesStrength strength) { return 8 + 8 * static_cast<size_t>(strength); }

WinZipAesDecryptor::Start WinZipAesDecryptor::Begin(WinZipAesStrength strength, const uint8_t* password,
                                                    size_t passwordSize, const uint8_t* salt,
                                                    const uint8_t verifier[kWinZipVerifierSize]) {
    cipher_.reset();
    mac_.reset();
    if (!IsWinZipAesStrength(static_cast<uint8_t>(strength))) return Start::Failed;
    // The derived bytes: the AES key, the HMAC key (as long), then the verifier.
    const size_t keySize = WinZipKeySize(strength);
    uint8_t derived[2 * 32 + kWinZipVerifierSize];
    const size_t derivedSize = 2 * keySize + kWinZipVerifierSize;
    if (!Pbkdf2HmacSha1(password, passwordSize, salt, WinZipSaltSize(strength), kIterations, derived, derivedSize))
        return Start::Failed;
    if (derived[2 * keySize] != verifier[0] || derived[2 * keySize + 1] != verifier[1]) return Start::WrongPassword;
    cipher_ = std::make_unique<AesCtr>(derived, keySize);
    mac_ = std::make_unique<Hash>(HashKind::Sha1, derived + keySize, keySize);
    if (!cipher_->ok() || !mac_->ok()) return Start::Failed;
    return Start::Ready;
}

bool WinZipAesDecryptor::Decrypt(uint8_t* data, size_t size) {
    if (!cipher_ || !mac_) return false;
    mac_->Update(data, size);  // the code covers the encrypted bytes
    return mac_->ok() && cipher_->Apply(data, size);
}

bool WinZipAesDecryptor::Digest(const uint8_t* data, size_t size) {
    if (!mac_) return false;
    mac_->Update(data, size);
    return mac_->ok();
}

bool WinZipAesDecryptor::DecryptAfterCheck(uint8_t* data, size_t size) {
    return cipher_ && cipher_->Apply(data, size);
}

bool WinZipAesDecryptor::Authenticates(const uint8_t code[kWinZipCodeSize]) {
    uint8_t full[kSha1Size];
    if (!mac_ || !mac_->Finish(full)) return false;
    unsigned difference = 0;
    for (size_t i = 0; i < kWinZipCodeSize; ++i) difference |= full[i] ^ code[i];
    return difference == 0;
}

}  // namespace crypto
