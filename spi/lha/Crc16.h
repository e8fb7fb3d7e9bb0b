#pragma once
// The CRC-16 of LHA archives (polynomial 0x8005, bits reflected, starting at 0).
#include <cstddef>
#include <cstdint>

namespace lha {

uint16_t UpdateCrc16(uint16_t crc, const uint8_t* data, size_t length);

}  // namespace lha
