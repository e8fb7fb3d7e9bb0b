#pragma once
// Walks the member headers of an archive from its first one to the end marker.
#include <cstdint>
#include <functional>
#include "spi/common/ByteSource.h"
#include "spi/lha/LhaHeader.h"

namespace lha {

// Calls `visit` for each header from `start` on; `visit` returns false to stop early. The
// walk ends at the end marker, at the end of the file, or after the first member at bytes
// that do not begin like a header.
// Returns a SpiResult: SpiSuccess when the walk reached the end or was stopped,
// SpiBrokenData for a damaged header, SpiUnknownFormat for a header level it cannot read.
int WalkArchive(ByteSource& source, uint64_t start, const std::function<bool(const Header&)>& visit);

}  // namespace lha
