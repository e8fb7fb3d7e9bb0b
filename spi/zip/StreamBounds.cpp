#include "spi/zip/StreamBounds.h"

namespace zip {
namespace {

constexpr uint64_t FourGiB = uint64_t{1} << 32;
// A deflated stream cannot produce more than about 1032 bytes per packed byte.
constexpr uint64_t MaxDeflateRatio = 1032;

}  // namespace

StreamBounds::StreamBounds(const Entry& entry, uint64_t available)
    : mayBeCut_(entry.method == MethodDeflated && !entry.hasZip64Field),
      available_(available),
      packed_(entry.packedSize),
      unpacked_(entry.unpackedSize) {}

bool StreamBounds::ExtendPacked() {
    if (!mayBeCut_ || packed_ > available_ || available_ - packed_ < FourGiB) return false;
    packed_ += FourGiB;
    return true;
}

bool StreamBounds::ExtendUnpacked() {
    // Only as much output as the packed bytes the source holds can give.
    if (!mayBeCut_ || unpacked_ + FourGiB > available_ * MaxDeflateRatio) return false;
    unpacked_ += FourGiB;
    return true;
}

}  // namespace zip
