// The building blocks against the test vectors of their standards (FIPS 197 and SP 800-38A for
// AES, FIPS 180-4 for SHA, RFC 2202 for HMAC-SHA1, RFC 6070 for PBKDF2-HMAC-SHA1), through the
// CNG of the Windows the tests run on.
#include <gtest/gtest.h>

#include <algorithm>

#include "spi/common/crypto/Aes.h"
#include "spi/common/crypto/AesCtr.h"
#include "spi/common/crypto/Hash.h"
#include "spi/common/crypto/Pbkdf2.h"
#include "tests/crypto/Bytes.h"

using cryptotest::Bytes;
using cryptotest::Hex;
using cryptotest::ToHex;

namespace {

std::string AesEcb(const std::string& key, const std::string& plain) {
    std::vector<uint8_t> keyBytes = Hex(key), block = Hex(plain);
    crypto::AesKey aes(keyBytes.data(), keyBytes.size(), crypto::AesKey::Mode::Ecb);
    if (!aes.ok() || !aes.EncryptBlocks(block.data(), block.size())) return "failed";
    return ToHex(block);
}

std::string Digest(crypto::HashKind kind, const std::string& message) {
    uint8_t digest[crypto::kLargestDigest];
    bool made = kind == crypto::HashKind::Sha1
                    ? crypto::Sha1(reinterpret_cast<const uint8_t*>(message.data()), message.size(), digest)
                    : crypto::Sha256(reinterpret_cast<const uint8_t*>(message.data()), message.size(), digest);
    return made ? ToHex(digest, kind == crypto::HashKind::Sha1 ? crypto::kSha1Size : crypto::kSha256Size) : "failed";
}

std::string Hmac(const std::vector<uint8_t>& key, const std::string& message) {
    uint8_t code[crypto::kSha1Size];
    if (!crypto::HmacSha1(key.data(), key.size(), reinterpret_cast<const uint8_t*>(message.data()), message.size(), code))
        return "failed";
    return ToHex(code, sizeof code);
}

std::string Pbkdf2(const std::string& password, const std::string& salt, uint32_t iterations, size_t size) {
    std::vector<uint8_t> key(size);
    if (!crypto::Pbkdf2HmacSha1(reinterpret_cast<const uint8_t*>(password.data()), password.size(),
                                reinterpret_cast<const uint8_t*>(salt.data()), salt.size(), iterations, key.data(),
                                size))
        return "failed";
    return ToHex(key);
}

TEST(Aes, EncryptsTheFips197ExamplesForEveryKeySize) {
    const std::string plain = "00112233445566778899aabbccddeeff";
    EXPECT_EQ(AesEcb("000102030405060708090a0b0c0d0e0f", plain), "69c4e0d86a7b0430d8cdb78070b4c55a");
    EXPECT_EQ(AesEcb("000102030405060708090a0b0c0d0e0f1011121314151617", plain), "dda97ca4864cdfe06eaf70a0ec0d7191");
    EXPECT_EQ(AesEcb("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", plain),
              "8ea2b7ca516745bfeafc49904b496089");
}

TEST(Aes, RefusesKeysOfOtherSizesAndPartialBlocks) {
    std::vector<uint8_t> key(20), block(15);
    EXPECT_FALSE(crypto::AesKey(key.data(), key.size(), crypto::AesKey::Mode::Ecb).ok());
    crypto::AesKey aes(key.data(), 16, crypto::AesKey::Mode::Ecb);
    EXPECT_FALSE(aes.EncryptBlocks(block.data(), block.size()));
}

TEST(Aes, CbcDecryptionCarriesTheChainFromOneCallToTheNext) {
    // SP 800-38A, F.2.6 (CBC-AES256 decryption), its first two blocks, one call each.
    std::vector<uint8_t> key = Hex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
    std::vector<uint8_t> iv = Hex("000102030405060708090a0b0c0d0e0f");
    std::vector<uint8_t> data = Hex("f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d");
    crypto::AesKey aes(key.data(), key.size(), crypto::AesKey::Mode::Cbc);
    ASSERT_TRUE(aes.DecryptBlocks(data.data(), 16, iv.data()));
    ASSERT_TRUE(aes.DecryptBlocks(data.data() + 16, 16, iv.data()));
    EXPECT_EQ(ToHex(data), "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51");
}

TEST(AesCtr, CountsOnPastOneBatchOfKeyStreamAndResumesInPiecesOfAnySize) {
    std::vector<uint8_t> key = Hex("000102030405060708090a0b0c0d0e0f");
    std::vector<uint8_t> whole(5000), pieces(5000);
    crypto::AesCtr once(key.data(), key.size()), inPieces(key.data(), key.size());
    ASSERT_TRUE(once.Apply(whole.data(), whole.size()));
    for (size_t at = 0, piece = 1; at < pieces.size(); at += piece, piece = piece * 3 + 1)
        ASSERT_TRUE(inPieces.Apply(pieces.data() + at, std::min(piece, pieces.size() - at)));
    EXPECT_EQ(whole, pieces);
    // Block 257 (counting from 1) sits past the first batch: AES of the counter, little-endian.
    std::vector<uint8_t> counter(16);
    counter[0] = 0x01;
    counter[1] = 0x01;
    crypto::AesKey aes(key.data(), key.size(), crypto::AesKey::Mode::Ecb);
    ASSERT_TRUE(aes.EncryptBlocks(counter.data(), counter.size()));
    EXPECT_EQ(ToHex(whole.data() + 256 * 16, 16), ToHex(counter));
}

TEST(Sha, DigestsTheFips180Examples) {
    const std::string twoBlocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    EXPECT_EQ(Digest(crypto::HashKind::Sha1, "abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(Digest(crypto::HashKind::Sha1, twoBlocks), "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    EXPECT_EQ(Digest(crypto::HashKind::Sha256, "abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Digest(crypto::HashKind::Sha256, twoBlocks),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

TEST(Sha, ARunningDigestFedInPiecesEqualsTheOneShot) {
    crypto::Hash hash(crypto::HashKind::Sha256);
    for (char c : std::string("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"))
        hash.Update(reinterpret_cast<const uint8_t*>(&c), 1);
    uint8_t digest[crypto::kSha256Size];
    ASSERT_TRUE(hash.Finish(digest));
    EXPECT_EQ(ToHex(digest, sizeof digest), "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_FALSE(hash.Finish(digest)) << "a finished digest is spent";
}

TEST(HmacSha1, MatchesRfc2202) {
    EXPECT_EQ(Hmac(std::vector<uint8_t>(20, 0x0b), "Hi There"), "b617318655057264e28bc0b6fb378c8ef146be00");
    EXPECT_EQ(Hmac(Bytes("Jefe"), "what do ya want for nothing?"), "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79");
    EXPECT_EQ(Hmac(std::vector<uint8_t>(80, 0xaa), "Test Using Larger Than Block-Size Key - Hash Key First"),
              "aa4ae5e15272d00e95705637ce8a3b55ed402112");
}

TEST(Pbkdf2HmacSha1, MatchesRfc6070) {
    EXPECT_EQ(Pbkdf2("password", "salt", 1, 20), "0c60c80f961f0e71f3a9b524af6012062fe037a6");
    EXPECT_EQ(Pbkdf2("password", "salt", 2, 20), "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957");
    EXPECT_EQ(Pbkdf2("password", "salt", 4096, 20), "4b007901b765489abead49d926f721d065a429c1");
    EXPECT_EQ(Pbkdf2("passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 25),
              "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038");
    EXPECT_EQ(Pbkdf2(std::string("pass\0word", 9), std::string("sa\0lt", 5), 4096, 16),
              "56fa6aa75548099dcc37d7f03425e0c3");
}

}  // namespace
