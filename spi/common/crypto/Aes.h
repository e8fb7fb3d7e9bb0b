#pragma once
// AES (FIPS 197) in the two uses our archives make of it: the block cipher alone (ECB), from
// which WinZip's counter mode is built (AesCtr.h), computed here (AesEncryption.h says why),
// and CBC decryption, as 7z encrypts, through Windows' CNG.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "spi/common/crypto/AesEncryption.h"
#include "spi/common/crypto/CngAlgorithm.h"

namespace crypto {

constexpr size_t kAesBlock = 16;

class AesKey {
public:
    enum class Mode { Ecb, Cbc };
    // keySize 16, 24 or 32; any other size makes a key that is not ok().
    AesKey(const uint8_t* key, size_t keySize, Mode mode);
    ~AesKey();
    AesKey(const AesKey&) = delete;
    AesKey& operator=(const AesKey&) = delete;

    bool ok() const { return key_ != nullptr || (forward_ && forward_->ok()); }
    // ECB: encrypts `size` bytes (whole blocks) in place. False when size is not whole blocks
    // or CNG failed.
    bool EncryptBlocks(uint8_t* data, size_t size);
    // CBC: decrypts whole blocks in place. iv holds the previous cipher block (at first the
    // archive's initial vector) and is moved on, so that the next call continues the stream.
    bool DecryptBlocks(uint8_t* data, size_t size, uint8_t iv[kAesBlock]);

private:
    std::unique_ptr<AesEncryption> forward_;  // ECB
    std::unique_ptr<CngAlgorithm> algorithm_;  // CBC
    BCRYPT_KEY_HANDLE key_ = nullptr;
};

}  // namespace crypto
