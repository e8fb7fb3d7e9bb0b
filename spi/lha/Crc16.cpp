#include "spi/lha/Crc16.h"

namespace lha {
namespace {

struct Crc16Table {
    uint16_t entries[256];
    Crc16Table() {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned value = i;
            for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? (value >> 1) ^ 0xA001 : value >> 1;
            entries[i] = static_cast<uint16_t>(value);
        }
    }
};

const Crc16Table table;

}  // namespace

uint16_t UpdateCrc16(uint16_t crc, const uint8_t* data, size_t length) {
    for (size_t i = 0; i < length; ++i) crc = static_cast<uint16_t>(table.entries[(crc ^ data[i]) & 0xFF] ^ (crc >> 8));
    return crc;
}

}  // namespace lha
