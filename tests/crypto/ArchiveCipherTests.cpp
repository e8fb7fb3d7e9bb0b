// The archive ciphers against entries that Debian's zip and 7z encrypted (the bytes below were
// cut out of archives they made of one 75-byte file, kPlain): ZipCrypto (`zip -0 -P`, the
// password in UTF-8), WinZip AES (`7z a -tzip -mx0 -mem=AES128|AES256`) and 7z's AES-256
// (`7z a -t7z -m0=Copy -mhc=off -p`).
#include <gtest/gtest.h>

#include <cstring>

#include "spi/common/crypto/SevenZipAes.h"
#include "spi/common/crypto/WinZipAes.h"
#include "spi/common/crypto/ZipCrypto.h"
#include "tests/crypto/Bytes.h"

using cryptotest::Bytes;

namespace {

const std::string kPlain = "Varnito test data: the quick brown fox jumps over the lazy dog 0123456789.\n";

std::vector<uint8_t> Raw(const char* bytes, size_t size) {
    return std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(bytes), reinterpret_cast<const uint8_t*>(bytes) + size);
}

// ---- ZipCrypto: password パス, sizes after the data (flag bit 3), so the check byte is the
// high byte of the DOS time 0x494D.
const char kZipCryptoEntry[] =
    "\xc5\xc8\xa3\x3c\x25\x03\xf9\xa8\xfb\xe5\x07\xca\x19\x55\x0a\x25\xdb\x89\x3c\xc5\x2a\x74\x7f\x37\x51\x72"
    "\xf5\x6b\x0b\xc0\x49\x03\xad\x2a\xec\xbd\xca\x70\x01\x6b\xaf\xe7\x16\x60\x25\xd4\x77\xde\xff\x60\x16\xb3"
    "\x55\x2e\xb1\x18\x02\x02\x37\x4b\xea\x0c\x15\x6d\xd7\xe9\x30\x74\x27\x62\x36\x99\x21\x0e\xa4\x63\x84\x26"
    "\xbd\x8b\xba\x8b\x08\x6d\x72\x62\xef";
const uint8_t kZipCryptoCheck = 0x49;
const std::string kZipCryptoPassword = "\xe3\x83\x91\xe3\x82\xb9";

TEST(ZipCrypto, DecryptsWhatZipEncryptedInPiecesOfAnySize) {
    std::vector<uint8_t> entry = Raw(kZipCryptoEntry, sizeof kZipCryptoEntry - 1);
    std::vector<uint8_t> password = Bytes(kZipCryptoPassword);
    crypto::ZipCrypto cipher(password.data(), password.size());
    ASSERT_TRUE(cipher.AcceptsHeader(entry.data(), kZipCryptoCheck));
    uint8_t* data = entry.data() + crypto::kZipCryptoHeaderSize;
    cipher.Decrypt(data, 1);
    cipher.Decrypt(data + 1, 40);
    cipher.Decrypt(data + 41, kPlain.size() - 41);
    EXPECT_EQ(std::string(data, data + kPlain.size()), kPlain);
}

TEST(ZipCrypto, AWrongPasswordFailsTheHeaderCheck) {
    // Passwords that differ from the right one in one byte, in length, and in case.
    for (std::string wrong : {std::string("\xe3\x83\x91\xe3\x82\xb8"), std::string("\xe3\x83\x91"), std::string("PASS")}) {
        std::vector<uint8_t> entry = Raw(kZipCryptoEntry, sizeof kZipCryptoEntry - 1);
        std::vector<uint8_t> password = Bytes(wrong);
        crypto::ZipCrypto cipher(password.data(), password.size());
        EXPECT_FALSE(cipher.AcceptsHeader(entry.data(), kZipCryptoCheck));
    }
}

TEST(ZipCrypto, EncryptionIsUndoneByDecryption) {
    std::vector<uint8_t> password = Bytes("pw"), data = Bytes(kPlain);
    crypto::ZipCrypto(password.data(), password.size()).Encrypt(data.data(), data.size());
    EXPECT_NE(std::string(data.begin(), data.end()), kPlain);
    crypto::ZipCrypto(password.data(), password.size()).Decrypt(data.data(), data.size());
    EXPECT_EQ(std::string(data.begin(), data.end()), kPlain);
}

// ---- WinZip AES (AE-2, stored), password Secret1: salt, verifier, data, authentication code.
struct WinZipEntry {
    crypto::WinZipAesStrength strength;
    std::vector<uint8_t> bytes;
};

const char kAes128Entry[] =
    "\x4c\xe6\x7e\xbd\xe1\x22\x95\x6d\xbc\x7e\x0e\x6f\xf5\x4d\x09\xd1\xfd\x29\xa6\x09\x0e\x34\x70\xf8\x83\xc7"
    "\x96\x34\x5f\x5e\xdc\x6d\x38\xc9\x8a\xc6\xae\x57\xac\x92\x8b\xef\xac\xda\x58\xa7\x75\x63\x72\xa4\x1f\xc0"
    "\xb0\x84\xc5\x25\x64\x67\x27\xf9\xe2\xb8\x19\x14\x9d\x97\xaf\x5a\x76\xe2\xcc\x04\x7f\xc1\x50\x00\x51\x4a"
    "\xc1\xfd\x43\x7f\x07\x4c\x51\x84\x6d\xe5\xa1\xbe\x34\x77\xb0\x38\x24";

const char kAes256Entry[] =
    "\x3d\xc8\x86\x34\x5a\x59\x69\xf6\x03\x50\x1c\x53\x74\x41\xd7\x21\x17\x10\xa8\x74\x9b\x04\xec\xae\x0c\xf8"
    "\x51\x9f\x21\xb6\x6a\x31\x65\x3b\x6e\x71\x17\xc5\x66\x40\x30\xb9\x45\xd7\x4d\x33\x55\x40\xd5\x50\x7d\x73"
    "\xba\x37\x6d\x71\xf2\xe9\xef\xce\xc3\x19\x92\x80\x7d\x50\xb3\x2a\x2e\x45\x79\xbe\x33\x54\x90\xe6\x6e\x4f"
    "\x37\x09\xb0\xd9\x29\x2b\x84\x95\xea\xc8\xb0\x7d\xbb\x76\xaf\x1c\xeb\x5a\x20\xb4\x2c\xb9\x2b\xe1\x39";

template <size_t N>
WinZipEntry Entry(crypto::WinZipAesStrength strength, const char (&bytes)[N]) {
    return {strength, Raw(bytes, N - 1)};
}

WinZipEntry Aes128Entry() { return Entry(crypto::WinZipAesStrength::Aes128, kAes128Entry); }
WinZipEntry Aes256Entry() { return Entry(crypto::WinZipAesStrength::Aes256, kAes256Entry); }

struct WinZipResult {
    crypto::WinZipAesDecryptor::Start start;
    std::string plain;
    bool authentic = false;
};

WinZipResult OpenWinZip(WinZipEntry entry, const std::string& password) {
    std::vector<uint8_t> typed = Bytes(password);
    const size_t saltSize = crypto::WinZipSaltSize(entry.strength);
    uint8_t* verifier = entry.bytes.data() + saltSize;
    uint8_t* data = verifier + crypto::kWinZipVerifierSize;
    const size_t dataSize = entry.bytes.size() - saltSize - crypto::kWinZipVerifierSize - crypto::kWinZipCodeSize;
    crypto::WinZipAesDecryptor decryptor;
    WinZipResult result;
    result.start = decryptor.Begin(entry.strength, typed.data(), typed.size(), entry.bytes.data(), verifier);
    if (result.start != crypto::WinZipAesDecryptor::Start::Ready) return result;
    EXPECT_TRUE(decryptor.Decrypt(data, 10));
    EXPECT_TRUE(decryptor.Decrypt(data + 10, dataSize - 10));
    result.plain.assign(data, data + dataSize);
    result.authentic = decryptor.Authenticates(data + dataSize);
    return result;
}

TEST(WinZipAes, Decrypts128And256BitEntriesAndChecksTheirCodes) {
    for (const WinZipEntry& entry : {Aes128Entry(), Aes256Entry()}) {
        WinZipResult result = OpenWinZip(entry, "Secret1");
        ASSERT_EQ(result.start, crypto::WinZipAesDecryptor::Start::Ready);
        EXPECT_EQ(result.plain, kPlain);
        EXPECT_TRUE(result.authentic);
    }
}

TEST(WinZipAes, AWrongPasswordIsToldByTheVerifier) {
    EXPECT_EQ(OpenWinZip(Aes128Entry(), "Secret2").start, crypto::WinZipAesDecryptor::Start::WrongPassword);
    EXPECT_EQ(OpenWinZip(Aes256Entry(), "secret1").start, crypto::WinZipAesDecryptor::Start::WrongPassword);
}

TEST(WinZipAes, DamagedDataOrCodeFailsAuthentication) {
    WinZipEntry damagedData = Aes256Entry();
    damagedData.bytes[16 + 2 + 40] ^= 0x01;
    EXPECT_FALSE(OpenWinZip(damagedData, "Secret1").authentic);
    WinZipEntry damagedCode = Aes128Entry();
    damagedCode.bytes.back() ^= 0x80;
    EXPECT_FALSE(OpenWinZip(damagedCode, "Secret1").authentic);
}

TEST(WinZipAes, AnUnknownStrengthIsRefused) {
    uint8_t salt[16] = {}, verifier[2] = {};
    crypto::WinZipAesDecryptor decryptor;
    EXPECT_EQ(decryptor.Begin(static_cast<crypto::WinZipAesStrength>(4), salt, 0, salt, verifier),
              crypto::WinZipAesDecryptor::Start::Failed);
    EXPECT_FALSE(crypto::IsWinZipAesStrength(0));
}

// ---- 7z AES-256, password Secret1: the coder's properties (19 cycles, a 16-byte IV, no salt)
// and the packed stream (75 bytes padded to 80).
const char kSevenZipProperties[] = "\x53\x0f\x8a\x87\x6a\xee\x6f\x6e\x69\xad\x6c\x43\x1c\xab\x38\xc7\x30\x7b";
const char kSevenZipStream[] =
    "\xf6\x71\x3c\x5f\x9f\x83\xa1\x88\x18\xd4\xfc\xad\xc4\x87\xdb\x47\x16\x1e\x91\xd3\xf5\xc2\xb7\x18\x60\xa6"
    "\x5e\x0d\x99\x65\xa0\xff\xa7\x11\x96\x0d\xdc\xc2\x50\x2c\xf6\x2c\xdf\x82\x63\xb4\x4e\xaa\x15\x4e\x85\xf4"
    "\x57\x34\x02\x60\x89\x65\x68\x30\xf8\x89\x85\xfe\xb3\x15\x85\xae\x15\x8e\x6f\xaf\xe6\xbd\x15\x05\xee\x20"
    "\x0f\xb9";

std::vector<uint8_t> Utf16(const std::string& ascii) {
    std::vector<uint8_t> bytes;
    for (char c : ascii) {
        bytes.push_back(static_cast<uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}

std::string DecryptSevenZip(const std::string& password) {
    crypto::SevenZipAesProperties properties;
    const auto* raw = reinterpret_cast<const uint8_t*>(kSevenZipProperties);
    if (!crypto::ParseSevenZipAesProperties(raw, sizeof kSevenZipProperties - 1, &properties)) return "unparsed";
    std::vector<uint8_t> typed = Utf16(password);
    uint8_t key[crypto::kSevenZipKeySize];
    if (!crypto::DeriveSevenZipKey(properties, typed.data(), typed.size(), key)) return "no key";
    std::vector<uint8_t> stream = Raw(kSevenZipStream, sizeof kSevenZipStream - 1);
    crypto::SevenZipAesDecryptor decryptor(key, properties.iv);
    if (!decryptor.Decrypt(stream.data(), 32) || !decryptor.Decrypt(stream.data() + 32, stream.size() - 32))
        return "failed";
    return std::string(stream.begin(), stream.begin() + kPlain.size());
}

TEST(SevenZipAes, DecryptsWhat7zEncrypted) {
    EXPECT_EQ(DecryptSevenZip("Secret1"), kPlain);
    EXPECT_NE(DecryptSevenZip("Secret2"), kPlain);
}

TEST(SevenZipAes, ASaltAndAShortInitialVectorAreRead) {
    // Both flags count one byte each, the second byte's halves the bytes beyond that.
    const uint8_t props[] = {0xC0 | 19, 0x31, 's', 'a', 'l', 't', 0xA1, 0xA2};
    crypto::SevenZipAesProperties properties;
    ASSERT_TRUE(crypto::ParseSevenZipAesProperties(props, sizeof props, &properties));
    EXPECT_EQ(properties.cycles, 19u);
    EXPECT_EQ(std::string(properties.salt, properties.salt + properties.saltSize), "salt");
    EXPECT_EQ(cryptotest::ToHex(properties.iv, sizeof properties.iv), "a1a20000000000000000000000000000");
    EXPECT_FALSE(crypto::ParseSevenZipAesProperties(props, sizeof props - 1, &properties));
}

TEST(SevenZipAes, PropertiesBeyondTheirBoundsAreRefused) {
    crypto::SevenZipAesProperties properties;
    std::vector<uint8_t> props = Raw(kSevenZipProperties, sizeof kSevenZipProperties - 1);
    EXPECT_FALSE(crypto::ParseSevenZipAesProperties(props.data(), props.size() - 1, &properties)) << "IV cut short";
    props[0] = 0x40 | 25;  // 2^25 rounds
    EXPECT_FALSE(crypto::ParseSevenZipAesProperties(props.data(), props.size(), &properties));
    properties.cycles = 40;
    uint8_t key[crypto::kSevenZipKeySize];
    EXPECT_FALSE(crypto::DeriveSevenZipKey(properties, props.data(), 2, key)) << "checked again at derivation";
}

}  // namespace
