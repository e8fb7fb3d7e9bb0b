#include "spi/common/crypto/Aes.h"

namespace crypto {
namespace {

const wchar_t* ChainingMode(AesKey::Mode mode) {
    return mode == AesKey::Mode::Ecb ? BCRYPT_CHAIN_MODE_ECB : BCRYPT_CHAIN_MODE_CBC;
}

bool WholeBlocks(size_t size) { return size % kAesBlock == 0 && size <= 0x7FFFFFF0; }

}  // namespace

AesKey::AesKey(const uint8_t* key, size_t keySize, Mode mode)
    : algorithm_(BCRYPT_AES_ALGORITHM, 0, ChainingMode(mode)) {
    if (!algorithm_.ok() || (keySize != 16 && keySize != 24 && keySize != 32)) return;
    if (!BCRYPT_SUCCESS(BCryptGenerateSymmetricKey(algorithm_.handle(), &key_, nullptr, 0,
                                                   const_cast<PUCHAR>(key), static_cast<ULONG>(keySize), 0)))
        key_ = nullptr;
}

AesKey::~AesKey() {
    if (key_) BCryptDestroyKey(key_);
}

bool AesKey::EncryptBlocks(uint8_t* data, size_t size) {
    if (!ok() || !WholeBlocks(size)) return false;
    ULONG done = 0;
    ULONG bytes = static_cast<ULONG>(size);
    return BCRYPT_SUCCESS(BCryptEncrypt(key_, data, bytes, nullptr, nullptr, 0, data, bytes, &done, 0)) &&
           done == bytes;
}

bool AesKey::DecryptBlocks(uint8_t* data, size_t size, uint8_t iv[kAesBlock]) {
    if (!ok() || !WholeBlocks(size)) return false;
    if (size == 0) return true;
    ULONG done = 0;
    ULONG bytes = static_cast<ULONG>(size);
    return BCRYPT_SUCCESS(BCryptDecrypt(key_, data, bytes, nullptr, iv, kAesBlock, data, bytes, &done, 0)) &&
           done == bytes;
}

}  // namespace crypto
