#include "spi/common/crypto/Aes.h"

namespace crypto {
namespace {

bool WholeBlocks(size_t size) { return size % kAesBlock == 0 && size <= 0x7FFFFFF0; }

bool KnownKeySize(size_t keySize) { return keySize == 16 || keySize == 24 || keySize == 32; }

}  // namespace

AesKey::AesKey(const uint8_t* key, size_t keySize, Mode mode) {
    if (!KnownKeySize(keySize)) return;
    if (mode == Mode::Ecb) {
        forward_ = std::make_unique<AesEncryption>(key, keySize);
        return;
    }
    algorithm_ = std::make_unique<CngAlgorithm>(BCRYPT_AES_ALGORITHM, 0, BCRYPT_CHAIN_MODE_CBC);
    if (!algorithm_->ok()) return;
    if (!BCRYPT_SUCCESS(BCryptGenerateSymmetricKey(algorithm_->handle(), &key_, nullptr, 0,
                                                   const_cast<PUCHAR>(key), static_cast<ULONG>(keySize), 0)))
        key_ = nullptr;
}

AesKey::~AesKey() {
    if (key_) BCryptDestroyKey(key_);
}

bool AesKey::EncryptBlocks(uint8_t* data, size_t size) {
    if (!forward_ || !forward_->ok() || !WholeBlocks(size)) return false;
    forward_->EncryptBlocks(data, size / kAesBlock);
    return true;
}

bool AesKey::DecryptBlocks(uint8_t* data, size_t size, uint8_t iv[kAesBlock]) {
    if (!key_ || !WholeBlocks(size)) return false;
    if (size == 0) return true;
    ULONG done = 0;
    ULONG bytes = static_cast<ULONG>(size);
    return BCRYPT_SUCCESS(BCryptDecrypt(key_, data, bytes, nullptr, iv, kAesBlock, data, bytes, &done, 0)) &&
           done == bytes;
}

}  // namespace crypto
