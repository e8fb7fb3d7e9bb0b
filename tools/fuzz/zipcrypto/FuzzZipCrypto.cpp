// libFuzzer target: ZIP's traditional cipher with a fixed password, built natively. The input
// is a check byte, the 12-byte encryption header and the entry's data. When the header passes
// its check, the data is decrypted in pieces of changing size, and encrypting the result again
// with a fresh cipher must give back the input byte for byte.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "spi/common/crypto/ZipCrypto.h"

namespace {

const uint8_t kPassword[] = {'p', 'a', 's', 's', 0x83, 0x5C};  // パ's code page 932 bytes end in 0x5C

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 + crypto::kZipCryptoHeaderSize) return 0;
    const uint8_t check = data[0];
    std::vector<uint8_t> entry(data + 1, data + size);
    crypto::ZipCrypto cipher(kPassword, sizeof kPassword);
    if (!cipher.AcceptsHeader(entry.data(), check)) return 0;
    size_t at = crypto::kZipCryptoHeaderSize, piece = 1;
    while (at < entry.size()) {
        const size_t length = piece < entry.size() - at ? piece : entry.size() - at;
        cipher.Decrypt(entry.data() + at, length);
        at += length;
        piece = piece * 2 + 1;
    }
    crypto::ZipCrypto again(kPassword, sizeof kPassword);
    again.Encrypt(entry.data(), entry.size());
    if (std::memcmp(entry.data(), data + 1, entry.size()) != 0) std::abort();
    return 0;
}
