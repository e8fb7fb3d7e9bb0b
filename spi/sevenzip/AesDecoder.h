#pragma once
// The decoder of 7z's AES coder: the packed stream, whole AES blocks, decrypted in CBC mode
// (through Windows' CNG) and cut to the coder's stated size (the padding of the last block
// dropped).
#include <cstdint>
#include <memory>
#include "spi/common/codecs/Decoder.h"
#include "spi/common/crypto/SevenZipAes.h"

namespace sevenzip {

// Null when memory runs out or CNG refuses the key. A stream that is not whole blocks or ends
// before `size` bytes is BadData.
std::unique_ptr<codecs::Decoder> MakeAesDecoder(codecs::ByteInput& input, const uint8_t key[crypto::kSevenZipKeySize],
                                                const uint8_t iv[crypto::kAesBlock], uint64_t size);

}  // namespace sevenzip
