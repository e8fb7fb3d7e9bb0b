#include "spi/common/crypto/SevenZipAes.h"

#include <cstring>
#include <vector>

#include "spi/common/crypto/Hash.h"

namespace crypto {
namespace {

constexpr uint8_t kHasSalt = 0x80;
constexpr uint8_t kHasIv = 0x40;
constexpr uint8_t kCyclesMask = 0x3F;
// Rounds fed to the digest per CNG call: one call per round would cost more than the hashing.
constexpr size_t kRoundsPerCall = 256;
// A longer password is refused: the rounds of one call stay within a megabyte.
constexpr size_t kLongestPassword = 4096;  // bytes of UTF-16

bool CyclesAllowed(unsigned cycles) { return cycles <= kSevenZipLargestCycles || cycles == kSevenZipPlainKey; }

void PlainKey(const SevenZipAesProperties& properties, const uint8_t* password, size_t passwordSize,
              uint8_t key[kSevenZipKeySize]) {
    std::memset(key, 0, kSevenZipKeySize);
    size_t used = 0;
    for (size_t i = 0; i < properties.saltSize && used < kSevenZipKeySize; ++i) key[used++] = properties.salt[i];
    for (size_t i = 0; i < passwordSize && used < kSevenZipKeySize; ++i) key[used++] = password[i];
}

}  // namespace

bool ParseSevenZipAesProperties(const uint8_t* data, size_t size, SevenZipAesProperties* properties) {
    *properties = SevenZipAesProperties();
    if (size < 1) return false;
    properties->cycles = data[0] & kCyclesMask;
    if (!CyclesAllowed(properties->cycles)) return false;
    if ((data[0] & (kHasSalt | kHasIv)) == 0) return size == 1;
    if (size < 2) return false;
    const size_t saltSize = ((data[0] & kHasSalt) ? 1 : 0) + (data[1] >> 4);
    const size_t ivSize = ((data[0] & kHasIv) ? 1 : 0) + (data[1] & 0x0F);
    if (size != 2 + saltSize + ivSize) return false;
    std::memcpy(properties->salt, data + 2, saltSize);
    properties->saltSize = saltSize;
    std::memcpy(properties->iv, data + 2 + saltSize, ivSize);
    return true;
}

bool DeriveSevenZipKey(const SevenZipAesProperties& properties, const uint8_t* passwordUtf16, size_t passwordSize,
                       uint8_t key[kSevenZipKeySize]) {
    if (!CyclesAllowed(properties.cycles) || properties.saltSize > sizeof properties.salt) return false;
    if (properties.cycles == kSevenZipPlainKey) {
        PlainKey(properties, passwordUtf16, passwordSize, key);
        return true;
    }
    if (passwordSize > kLongestPassword) return false;
    const size_t roundSize = properties.saltSize + passwordSize + 8;
    std::vector<uint8_t> rounds(roundSize * kRoundsPerCall);
    Hash digest(HashKind::Sha256);
    const uint64_t total = uint64_t{1} << properties.cycles;
    for (uint64_t round = 0; round < total && digest.ok();) {
        size_t batch = 0;
        for (; batch < kRoundsPerCall && round < total; ++batch, ++round) {
            uint8_t* at = rounds.data() + batch * roundSize;
            std::memcpy(at, properties.salt, properties.saltSize);
            std::memcpy(at + properties.saltSize, passwordUtf16, passwordSize);
            for (int i = 0; i < 8; ++i) at[properties.saltSize + passwordSize + i] = static_cast<uint8_t>(round >> (8 * i));
        }
        digest.Update(rounds.data(), batch * roundSize);
    }
    return digest.Finish(key);
}

SevenZipAesDecryptor::SevenZipAesDecryptor(const uint8_t key[kSevenZipKeySize], const uint8_t iv[kAesBlock])
    : key_(key, kSevenZipKeySize, AesKey::Mode::Cbc) {
    std::memcpy(iv_, iv, kAesBlock);
}

}  // namespace crypto
