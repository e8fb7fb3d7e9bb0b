#pragma once
// Unpacks one entry (stored, deflated, or by a method of the codec library) into a sink, a
// piece at a time, checking its CRC.
#include <cstddef>
#include <cstdint>
#include "spi/common/ByteSource.h"
#include "spi/zip/ZipFormat.h"

namespace zip {

// Where unpacked bytes go. The extractor writes into the room the sink offers, so a memory
// block is filled without an intermediate copy.
class OutputSink {
public:
    virtual ~OutputSink() = default;
    // Room for the next bytes; *length receives its size (more than 0).
    virtual uint8_t* Room(size_t* length) = 0;
    // The first `length` bytes of the room now hold output; false when they cannot be kept.
    virtual bool Commit(size_t length) = 0;
    // Makes room for `total` bytes in all, more than the stated size the sink was made for (an
    // entry whose sizes were cut to 32 bits); false when the sink cannot take them.
    virtual bool Grow(uint64_t) { return false; }
};

class ProgressReport {
public:
    virtual ~ProgressReport() = default;
    // False asks the extraction to stop.
    virtual bool Continue(uint64_t done, uint64_t total) = 0;
};

// Whether the entry can be unpacked at all (method, encryption, plausible sizes). SpiResult.
int CheckExtractable(const Entry& entry);

// Writes exactly entry.unpackedSize bytes to the sink, or the whole stream of an entry whose
// sizes were cut to 32 bits when the sink can grow. SpiResult: SpiBrokenData for damaged data
// or a CRC mismatch, SpiUnknownFormat for a cut size the sink cannot take, SpiAborted when
// the progress report asks to stop.
int ExtractEntry(ByteSource& source, const Entry& entry, OutputSink& sink, ProgressReport* progress);

}  // namespace zip
