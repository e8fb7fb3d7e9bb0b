#pragma once
// SHA-1 and SHA-256 digests and their HMACs, through Windows' CNG.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "spi/common/crypto/CngAlgorithm.h"

namespace crypto {

enum class HashKind { Sha1, Sha256 };

constexpr size_t kSha1Size = 20;
constexpr size_t kSha256Size = 32;
constexpr size_t kLargestDigest = kSha256Size;

// One running digest: feed pieces in order, then Finish once.
class Hash {
public:
    explicit Hash(HashKind kind);
    // HMAC under `key` (any length).
    Hash(HashKind kind, const uint8_t* key, size_t keySize);
    ~Hash();
    Hash(const Hash&) = delete;
    Hash& operator=(const Hash&) = delete;

    // False when CNG could not make the digest; Update and Finish then fail too.
    bool ok() const { return handle_ != nullptr && !failed_; }
    size_t size() const { return kind_ == HashKind::Sha1 ? kSha1Size : kSha256Size; }
    void Update(const uint8_t* data, size_t size);
    // Writes size() bytes; false when any step failed. The object is spent afterwards.
    bool Finish(uint8_t* digest);

private:
    void Open(const uint8_t* key, size_t keySize, ULONG flags);

    HashKind kind_;
    std::unique_ptr<CngAlgorithm> algorithm_;
    BCRYPT_HASH_HANDLE handle_ = nullptr;
    bool failed_ = false;
};

// One-shot digests; false when CNG failed.
bool Sha1(const uint8_t* data, size_t size, uint8_t digest[kSha1Size]);
bool Sha256(const uint8_t* data, size_t size, uint8_t digest[kSha256Size]);
bool HmacSha1(const uint8_t* key, size_t keySize, const uint8_t* data, size_t size, uint8_t code[kSha1Size]);

}  // namespace crypto
