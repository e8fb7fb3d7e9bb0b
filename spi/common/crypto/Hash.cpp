#include "spi/common/crypto/Hash.h"

namespace crypto {
namespace {

const wchar_t* AlgorithmId(HashKind kind) {
    return kind == HashKind::Sha1 ? BCRYPT_SHA1_ALGORITHM : BCRYPT_SHA256_ALGORITHM;
}

// CNG takes sizes as ULONG: larger pieces go in several calls.
constexpr size_t kLargestPiece = 0x40000000;

bool Digest(Hash& hash, const uint8_t* data, size_t size, uint8_t* digest) {
    hash.Update(data, size);
    return hash.Finish(digest);
}

}  // namespace

Hash::Hash(HashKind kind) : kind_(kind) { Open(nullptr, 0, 0); }

Hash::Hash(HashKind kind, const uint8_t* key, size_t keySize) : kind_(kind) {
    Open(key, keySize, BCRYPT_ALG_HANDLE_HMAC_FLAG);
}

void Hash::Open(const uint8_t* key, size_t keySize, ULONG flags) {
    if (keySize > kLargestPiece) return;
    algorithm_ = std::make_unique<CngAlgorithm>(AlgorithmId(kind_), flags);
    if (!algorithm_->ok()) return;
    // An empty HMAC key is still a key: CNG is given a valid pointer for it.
    static const UCHAR kNoKey = 0;
    PUCHAR secret = flags ? const_cast<PUCHAR>(key ? key : &kNoKey) : nullptr;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm_->handle(), &handle_, nullptr, 0, secret,
                                         static_cast<ULONG>(keySize), 0)))
        handle_ = nullptr;
}

Hash::~Hash() {
    if (handle_) BCryptDestroyHash(handle_);
}

void Hash::Update(const uint8_t* data, size_t size) {
    while (ok() && size > 0) {
        size_t piece = size < kLargestPiece ? size : kLargestPiece;
        if (!BCRYPT_SUCCESS(BCryptHashData(handle_, const_cast<PUCHAR>(data), static_cast<ULONG>(piece), 0)))
            failed_ = true;
        data += piece;
        size -= piece;
    }
}

bool Hash::Finish(uint8_t* digest) {
    if (!ok()) return false;
    failed_ = true;  // spent
    return BCRYPT_SUCCESS(BCryptFinishHash(handle_, digest, static_cast<ULONG>(size()), 0));
}

bool Sha1(const uint8_t* data, size_t size, uint8_t digest[kSha1Size]) {
    Hash hash(HashKind::Sha1);
    return Digest(hash, data, size, digest);
}

bool Sha256(const uint8_t* data, size_t size, uint8_t digest[kSha256Size]) {
    Hash hash(HashKind::Sha256);
    return Digest(hash, data, size, digest);
}

bool HmacSha1(const uint8_t* key, size_t keySize, const uint8_t* data, size_t size, uint8_t code[kSha1Size]) {
    Hash hash(HashKind::Sha1, key, keySize);
    return Digest(hash, data, size, code);
}

}  // namespace crypto
