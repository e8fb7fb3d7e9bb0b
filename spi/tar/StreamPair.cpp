#include "spi/tar/StreamPair.h"
#include <new>
#include <utility>

namespace tar {

std::unique_ptr<StreamPair> StreamPair::Make(ByteSource& file, Compression compression) {
    std::unique_ptr<StreamPair> pair(new (std::nothrow) StreamPair(file, compression));
    if (!pair) return nullptr;
    pair->readers_[0].reset(new (std::nothrow) TarStream(file, compression));
    return pair->readers_[0] ? std::move(pair) : nullptr;
}

TarStream* StreamPair::For(uint64_t offset) {
    // A plain file reads anywhere at the same cost; the second reader is made when first needed.
    if (compression_ == Compression::None) return readers_[0].get();
    if (!readers_[1]) readers_[1].reset(new (std::nothrow) TarStream(file_, compression_));
    if (!readers_[1]) return nullptr;
    uint64_t positions[2] = {readers_[0]->Position(), readers_[1]->Position()};
    bool behind[2] = {positions[0] <= offset, positions[1] <= offset};
    if (!behind[0] && !behind[1]) return readers_[1 - readOn_].get();
    if (behind[0] && behind[1]) readOn_ = positions[0] >= positions[1] ? 0 : 1;
    else readOn_ = behind[0] ? 0 : 1;
    return readers_[readOn_].get();
}

}  // namespace tar
