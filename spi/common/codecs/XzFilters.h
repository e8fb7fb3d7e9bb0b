#pragma once
// Filters that undo a transformation on another decoder's output.
#include <memory>
#include "spi/common/codecs/Decoder.h"

namespace codecs {

// Delta: every byte was stored as its difference to the byte `distance` (1..256) before it.
// Borrows `inner`, which must outlive the filter. Null when memory runs out.
std::unique_ptr<Decoder> MakeDeltaFilter(Decoder& inner, unsigned distance);

}  // namespace codecs
