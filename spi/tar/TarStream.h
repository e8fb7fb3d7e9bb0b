#pragma once
// The bytes of a TAR stream: the archive file itself, or what its decompressor (gzip, bzip2,
// xz, Zstandard, told apart by their first bytes) makes of it. A compressed stream can only be read
// forward, so the reader keeps its decoder where the last read ended: members read in
// archive order are decoded once in all; reading behind that point starts the stream again.
// Plain C++, so that the fuzzer builds it.
#include <cstdint>
#include <memory>
#include "spi/common/ByteSource.h"
#include "spi/common/codecs/Decoder.h"

namespace tar {

enum class Compression { None, Gzip, Bzip2, Xz, Zstd };

// The compression the first bytes of a file announce (None when they announce none).
Compression CompressionOf(const uint8_t* bytes, size_t size);
// Whether a file's first bytes begin what Tar.spi reads: a compressed stream, or a TAR header
// that holds together.
bool BeginsTarFile(const uint8_t* bytes, size_t size);

class TarStream {
public:
    TarStream(ByteSource& file, Compression compression) : file_(file), compression_(compression) {}
    TarStream(const TarStream&) = delete;
    TarStream& operator=(const TarStream&) = delete;

    Compression Kind() const { return compression_; }
    // Where the next read would decode from without starting again (0 before the first).
    uint64_t Position() const { return decoder_ ? position_ : 0; }
    // Reads up to `size` bytes at `offset` of the stream; *produced is less only at its end.
    // SpiResult: SpiBrokenData for damaged compressed data, SpiReadError, SpiNoMemory.
    int ReadAt(uint64_t offset, uint8_t* out, size_t size, size_t* produced);
    // Whether the stream is at least `offset` bytes long. SpiResult as ReadAt.
    int Covers(uint64_t offset, bool* covered);
    // Whether the stream ends at `offset` with every check of its compression passed.
    // SpiResult: SpiSuccess when it does, SpiBrokenData when more follows or a check fails.
    int EndsAt(uint64_t offset);
    // Reads on from `offset` to the end of the stream, so that every check of its compression
    // is passed (what lies behind a TAR's end marker is padding). SpiResult as ReadAt.
    int CheckFrom(uint64_t offset);

    // How many times a stream of this process started decompressing from the beginning (for
    // tests and measurements).
    static uint64_t Starts();

private:
    int Restart();
    int SkipTo(uint64_t offset);
    int Decode(uint8_t* out, size_t size, size_t* produced);

    ByteSource& file_;
    Compression compression_;
    std::unique_ptr<codecs::Input> input_;
    std::unique_ptr<codecs::ByteInput> bytes_;
    std::unique_ptr<codecs::Decoder> decoder_;
    uint64_t position_ = 0;   // of the decoder in the stream
    bool ended_ = false;      // the decoder has reported the end
};

}  // namespace tar
