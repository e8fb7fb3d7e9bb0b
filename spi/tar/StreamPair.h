#pragma once
// Two readers of one TAR stream. A compressed stream read behind its decoder starts again from
// the beginning, so a hard link (whose bytes are its target's, earlier in the stream) would
// cost the entries in archive order their place, and the next one its start again. With two
// decoders, each read goes to the one nearest behind it, and when both are past it, the one
// that did not serve the last read onward starts again: the entries in order keep theirs.
// Plain C++.
#include <cstdint>
#include <memory>
#include "spi/tar/TarStream.h"

namespace tar {

class StreamPair {
public:
    // Null when there is no memory for it.
    static std::unique_ptr<StreamPair> Make(ByteSource& file, Compression compression);

    // The reader that walks the members when the archive is listed.
    TarStream& First() { return *readers_[0]; }
    // The reader to read at `offset`: the one whose decoder is nearest behind it, or, when both
    // are past it, the other one than last read on (it starts again). Null when there is no memory.
    TarStream* For(uint64_t offset);

private:
    StreamPair(ByteSource& file, Compression compression) : file_(file), compression_(compression) {}

    ByteSource& file_;
    Compression compression_;
    std::unique_ptr<TarStream> readers_[2];
    size_t readOn_ = 0;  // the reader that last read on without starting again (the listing's, first)
};

}  // namespace tar
