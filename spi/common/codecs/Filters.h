#pragma once
// Filters that undo a transformation on another decoder's output. Each borrows `inner`, which
// must outlive it, and returns null only when memory runs out.
#include <cstdint>
#include <memory>
#include "spi/common/codecs/Decoder.h"

namespace codecs {

// Delta: every byte was stored as its difference to the byte `distance` (1..256) before it.
std::unique_ptr<Decoder> MakeDeltaFilter(Decoder& inner, unsigned distance);

// Branch converters: executable code whose relative branch targets were made absolute (so
// that the same target repeats and packs better) gets them made relative again. `start` is
// the address the first byte had when it was converted (0 unless the packer says otherwise).
// x86 (32- and 64-bit): the 32-bit displacements of CALL (E8) and JMP (E9).
std::unique_ptr<Decoder> MakeX86Filter(Decoder& inner, uint32_t start = 0);
// 32-bit ARM: BL instructions, little-endian.
std::unique_ptr<Decoder> MakeArmFilter(Decoder& inner, uint32_t start = 0);
// ARM64: BL and ADRP instructions.
std::unique_ptr<Decoder> MakeArm64Filter(Decoder& inner, uint32_t start = 0);

}  // namespace codecs
