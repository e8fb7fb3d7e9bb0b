#include "spi/common/crypto/AesEncryption.h"

#include <windows.h>
#include <wmmintrin.h>

namespace crypto {
namespace {

// Multiplication in GF(2^8) modulo x^8 + x^4 + x^3 + x + 1 (FIPS 197, 4.2).
uint8_t Times2(uint8_t a) { return static_cast<uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1B : 0)); }

uint8_t Multiply(uint8_t a, uint8_t b) {
    uint8_t product = 0;
    for (; b; b >>= 1, a = Times2(a))
        if (b & 1) product ^= a;
    return product;
}

// The multiplicative inverse: a^254, as a^255 = 1 for every non-zero a; 0 for 0.
uint8_t Inverse(uint8_t a) {
    uint8_t result = 1;
    for (int bit = 7; bit >= 0; --bit) {
        result = Multiply(result, result);
        if ((254 >> bit) & 1) result = Multiply(result, a);
    }
    return result;
}

uint8_t RotateByte(uint8_t a, int by) { return static_cast<uint8_t>((a << by) | (a >> (8 - by))); }

uint32_t RotateWord(uint32_t w, int by) { return (w >> by) | (w << (32 - by)); }

// The S-box (FIPS 197, 5.1.1) and the round tables: the table for the first row holds, for
// each byte, the column that SubBytes and MixColumns make of it in that row; the other rows'
// tables are the same columns rotated.
struct Tables {
    uint8_t sbox[256];
    uint32_t round[4][256];

    Tables() {
        for (int x = 0; x < 256; ++x) {
            const uint8_t b = Inverse(static_cast<uint8_t>(x));
            const uint8_t s = static_cast<uint8_t>(b ^ RotateByte(b, 1) ^ RotateByte(b, 2) ^ RotateByte(b, 3) ^
                                                   RotateByte(b, 4) ^ 0x63);
            sbox[x] = s;
            const uint32_t column = (uint32_t{Times2(s)} << 24) | (uint32_t{s} << 16) | (uint32_t{s} << 8) |
                                    uint32_t{static_cast<uint8_t>(Times2(s) ^ s)};
            for (int row = 0; row < 4; ++row) round[row][x] = RotateWord(column, 8 * row);
        }
    }
};

const Tables& TheTables() {
    static const Tables tables;
    return tables;
}

uint32_t SubWord(const Tables& t, uint32_t w) {
    return (uint32_t{t.sbox[w >> 24]} << 24) | (uint32_t{t.sbox[(w >> 16) & 0xFF]} << 16) |
           (uint32_t{t.sbox[(w >> 8) & 0xFF]} << 8) | t.sbox[w & 0xFF];
}

uint32_t LoadBigEndian(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void StoreBigEndian(uint32_t w, uint8_t* p) {
    p[0] = static_cast<uint8_t>(w >> 24);
    p[1] = static_cast<uint8_t>(w >> 16);
    p[2] = static_cast<uint8_t>(w >> 8);
    p[3] = static_cast<uint8_t>(w);
}

uint8_t ByteOf(uint32_t w, int index) { return static_cast<uint8_t>(w >> (24 - 8 * index)); }

// The rounds of EncryptBlock in the processor's AES instructions.
__attribute__((target("aes,sse2"))) void EncryptWithAesInstructions(const uint8_t* roundKeyBytes, int rounds,
                                                                     uint8_t* data, size_t count) {
    __m128i keys[15];
    for (int r = 0; r <= rounds; ++r)
        keys[r] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(roundKeyBytes + 16 * r));
    for (size_t block = 0; block < count; ++block, data += 16) {
        __m128i state = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data)), keys[0]);
        for (int r = 1; r < rounds; ++r) state = _mm_aesenc_si128(state, keys[r]);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(data), _mm_aesenclast_si128(state, keys[rounds]));
    }
}

bool HasAesInstructions() {
    static const bool has = __builtin_cpu_supports("aes") != 0;
    return has;
}

}  // namespace

// KeyExpansion (FIPS 197, 5.2).
AesEncryption::AesEncryption(const uint8_t* key, size_t keySize) {
    if (keySize != 16 && keySize != 24 && keySize != 32) return;
    const Tables& t = TheTables();
    const int nk = static_cast<int>(keySize / 4);
    const int rounds = nk + 6;
    uint8_t rcon = 1;
    for (int i = 0; i < 4 * (rounds + 1); ++i) {
        if (i < nk) {
            roundKeys_[i] = LoadBigEndian(key + 4 * i);
            continue;
        }
        uint32_t temp = roundKeys_[i - 1];
        if (i % nk == 0) {
            temp = SubWord(t, (temp << 8) | (temp >> 24)) ^ (uint32_t{rcon} << 24);
            rcon = Times2(rcon);
        } else if (nk > 6 && i % nk == 4) {
            temp = SubWord(t, temp);
        }
        roundKeys_[i] = roundKeys_[i - nk] ^ temp;
    }
    for (int i = 0; i < 4 * (rounds + 1); ++i) StoreBigEndian(roundKeys_[i], roundKeyBytes_ + 4 * i);
    rounds_ = rounds;
}

AesEncryption::~AesEncryption() {
    SecureZeroMemory(roundKeys_, sizeof roundKeys_);
    SecureZeroMemory(roundKeyBytes_, sizeof roundKeyBytes_);
}

void AesEncryption::EncryptBlocks(uint8_t* data, size_t count) const {
    if (HasAesInstructions()) {
        EncryptWithAesInstructions(roundKeyBytes_, rounds_, data, count);
        return;
    }
    for (size_t block = 0; block < count; ++block) EncryptBlock(data + 16 * block, data + 16 * block);
}

// Cipher (FIPS 197, 5.1): the state is four columns; ShiftRows makes column c of the next
// round from row r of column c + r.
void AesEncryption::EncryptBlock(const uint8_t in[16], uint8_t out[16]) const {
    const Tables& t = TheTables();
    const uint32_t* key = roundKeys_;
    uint32_t s[4], next[4];
    for (int c = 0; c < 4; ++c) s[c] = LoadBigEndian(in + 4 * c) ^ key[c];
    for (int round = 1; round < rounds_; ++round) {
        key += 4;
        for (int c = 0; c < 4; ++c)
            next[c] = t.round[0][ByteOf(s[c], 0)] ^ t.round[1][ByteOf(s[(c + 1) & 3], 1)] ^
                      t.round[2][ByteOf(s[(c + 2) & 3], 2)] ^ t.round[3][ByteOf(s[(c + 3) & 3], 3)] ^ key[c];
        for (int c = 0; c < 4; ++c) s[c] = next[c];
    }
    key += 4;
    for (int c = 0; c < 4; ++c) {
        const uint32_t w = (uint32_t{t.sbox[ByteOf(s[c], 0)]} << 24) |
                           (uint32_t{t.sbox[ByteOf(s[(c + 1) & 3], 1)]} << 16) |
                           (uint32_t{t.sbox[ByteOf(s[(c + 2) & 3], 2)]} << 8) | t.sbox[ByteOf(s[(c + 3) & 3], 3)];
        StoreBigEndian(w ^ key[c], out + 4 * c);
    }
}

}  // namespace crypto
