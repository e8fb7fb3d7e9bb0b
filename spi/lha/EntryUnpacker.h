#pragma once
// Unpacks one entry into a sink and checks its CRC-16.
#include <cstdint>
#include "spi/common/ByteSource.h"
#include "spi/common/ProgressReport.h"
#include "spi/lha/LhaHeader.h"
#include "spi/common/OutputSink.h"

namespace lha {

// Whether this plug-in knows the entry's method: -lh0-, -lz4-, -lh4- to -lh7- and -lhd-
// (folders and symbolic links).
bool IsKnownMethod(const Header& header);

// Writes exactly header.unpackedSize bytes to the sink. Returns a SpiResult: SpiUnknownFormat
// for an unknown method, SpiBrokenData for damaged data or a CRC mismatch, SpiAborted when the
// progress report asks to stop, SpiInternalError when the sink refuses bytes.
int UnpackEntry(ByteSource& source, const Header& header, OutputSink& sink, ProgressReport* progress);

}  // namespace lha
