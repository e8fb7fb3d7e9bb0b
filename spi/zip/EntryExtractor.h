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

// An encrypted entry as its data is once decrypted: `entry` with the real method and the
// packed size without what the encryption adds in front of the data (a header, or a salt and
// a password verifier) and behind it (an authentication code).
struct DecryptedView {
    Entry entry;
    uint64_t headerBytes = 0;
    uint64_t trailerBytes = 0;
};
// SpiResult: SpiUnknownFormat for an encryption this plug-in does not read (PKWARE's strong
// encryption, an AES field it does not know), SpiBrokenData for packed data too short to hold
// what the encryption adds.
int ViewDecrypted(const Entry& entry, DecryptedView* view);

// Where the entry's packed bytes start in the source, behind its local header; sizes its
// writer cut to 32 bits are restored from there (RestoreCutSizes). SpiResult.
int FindEntryData(ByteSource& source, Entry* entry, uint64_t* dataOffset);

// Unpacks the packed bytes at `offset` of the source as ExtractEntry does, once they are found
// (and decrypted). checkCrc is false for data whose stored CRC-32 means nothing (WinZip's AE-2).
int ExtractEntryData(ByteSource& source, uint64_t offset, const Entry& entry, OutputSink& sink,
                     ProgressReport* progress, bool checkCrc);

// Writes exactly entry.unpackedSize bytes to the sink (once sizes cut to 32 bits are restored),
// or, when the sink can grow, the whole stream of a method that ends by itself whose size was
// cut. An encrypted entry is refused (SpiUnknownFormat): it needs a password
// (EncryptedEntry.h). SpiResult: SpiBrokenData for damaged data or a CRC mismatch,
// SpiUnknownFormat for a cut size the sink cannot take, SpiAborted when the progress report
// asks to stop.
int ExtractEntry(ByteSource& source, const Entry& entry, OutputSink& sink, ProgressReport* progress);

}  // namespace zip
