#pragma once
// Unpacks one entry (stored, deflated, or by a method of the codec library) into a sink, a
// piece at a time, checking its CRC.
#include <cstddef>
#include <cstdint>
#include "spi/common/ByteSource.h"
#include "spi/common/OutputSink.h"
#include "spi/common/ProgressReport.h"
#include "spi/zip/ZipFormat.h"

namespace zip {

// Whether the entry can be unpacked at all (method, encryption, plausible sizes). SpiResult.
int CheckExtractable(const Entry& entry);

// Writes exactly entry.unpackedSize bytes to the sink, or the whole stream of an entry whose
// sizes were cut to 32 bits when the sink can grow. SpiResult: SpiBrokenData for damaged data
// or a CRC mismatch, SpiUnknownFormat for a cut size the sink cannot take, SpiAborted when
// the progress report asks to stop.
int ExtractEntry(ByteSource& source, const Entry& entry, OutputSink& sink, ProgressReport* progress);

}  // namespace zip
