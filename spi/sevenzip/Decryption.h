#pragma once
// How a folder's AES coder (method id 06 F1 07 01) is decoded: the plug-in hands the folder
// reader a Decryption, which finds the key (asking the user for the password behind it) and
// makes the decoder. Without one, an encrypted folder is an unknown format.
#include <cstdint>
#include <memory>
#include <vector>
#include "spi/common/codecs/Decoder.h"

namespace sevenzip {

constexpr uint64_t AesMethodId = 0x06F10701;

class Decryption {
public:
    virtual ~Decryption() = default;
    // The decoder of the first `size` bytes that `input` (borrowed, and outliving the decoder)
    // decrypts to, with the coder's properties. Null with *failure set: SpiAborted when the
    // user gave no password, SpiBrokenData for properties that make no sense, SpiNoMemory.
    virtual std::unique_ptr<codecs::Decoder> Open(const std::vector<uint8_t>& properties, codecs::ByteInput& input,
                                                  uint64_t size, int* failure) = 0;
};

}  // namespace sevenzip
