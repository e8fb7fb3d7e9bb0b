#pragma once
// The ZIP methods unpacked by the shared codec library (see codecs/Methods.h): all but stored
// and deflated, which this plug-in reads itself.
#include <zlib.h>
#include <cstdint>
#include "spi/common/ByteSource.h"
#include "spi/zip/EntryExtractor.h"
#include "spi/zip/ZipFormat.h"

namespace zip {

bool IsCodecMethod(uint16_t method);

// Unpacks the entry whose packed bytes start at `offset` into the sink, exactly
// entry.unpackedSize bytes or the whole stream of a size cut to 32 bits (StreamBounds), and
// folds them into *crc. SpiResult: SpiBrokenData for damaged or truncated data and for more or
// less output than the entry states, SpiUnknownFormat for a stream feature the library does not
// decode or a cut size the sink cannot take, SpiAborted when the progress report asks to stop.
int DecodeCodecEntry(ByteSource& source, uint64_t offset, const Entry& entry, OutputSink& sink,
                     ProgressReport* progress, uLong* crc);

}  // namespace zip
