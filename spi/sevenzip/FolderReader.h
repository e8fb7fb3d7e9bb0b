#pragma once
// Unpacks the entries of a 7z archive one at a time. Most archives are solid: one folder's
// output holds many entries back to back, so unpacking the k-th from the folder's start on
// every call would cost the square of the folder's size over a whole extraction. The reader
// keeps the folder's decoders positioned after the last entry it handed out: entries fetched
// in archive order are decoded once in all; an entry behind that point, or in another folder,
// starts the folder again.
#include <cstdint>
#include <memory>
#include "spi/common/ByteSource.h"
#include "spi/common/OutputSink.h"
#include "spi/common/ProgressReport.h"
#include "spi/sevenzip/Contents.h"
#include "spi/sevenzip/FolderDecoder.h"

namespace sevenzip {

class FolderReader {
public:
    // Writes contents.entries[index] (exactly its size) to the sink and checks its CRC.
    // SpiResult: SpiBrokenData for damaged data or a CRC mismatch, SpiUnknownFormat for a
    // method this plug-in does not unpack, SpiAborted when the progress report asks to stop,
    // SpiInternalError when the sink refuses bytes, and the failures of `decryption` (see
    // FolderDecoder::Open). `source`, `contents` and `decryption` stay the same for the
    // reader's life.
    int Unpack(ByteSource& source, const Contents& contents, size_t index, OutputSink& sink,
               ProgressReport* progress, Decryption* decryption = nullptr);
    // Lets the folder's decoders go: the next entry starts its folder again (with a new key).
    void Forget() { decoder_.reset(); }

    // How many times a reader of this process started a folder from its beginning (for tests
    // and measurements).
    static uint64_t FolderStarts();

private:
    int Restart(ByteSource& source, const Contents& contents, uint32_t folder, Decryption* decryption);
    int Copy(const Entry& entry, OutputSink& sink, ProgressReport* progress);

    std::unique_ptr<FolderDecoder> decoder_;
    uint32_t folder_ = 0;
    uint64_t position_ = 0;  // bytes of the folder's output read so far
};

}  // namespace sevenzip
