#include "spi/tar/TarStream.h"
#include <atomic>
#include <cstring>
#include <new>
#include "spi/common/CodecResult.h"
#include "spi/common/RangeInput.h"
#include "spi/common/SpiResult.h"
#include "spi/tar/TarHeader.h"

namespace tar {
namespace {

std::atomic<uint64_t> starts{0};

bool Begins(const uint8_t* bytes, size_t size, const char* magic, size_t length) {
    return size >= length && memcmp(bytes, magic, length) == 0;
}


}  // namespace

Compression CompressionOf(const uint8_t* bytes, size_t size) {
    if (Begins(bytes, size, "\x1F\x8B\x08", 3)) return Compression::Gzip;
    if (Begins(bytes, size, "\xFD" "7zXZ\0", 6)) return Compression::Xz;
    if (Begins(bytes, size, "\x28\xB5\x2F\xFD", 4)) return Compression::Zstd;
    // "BZh", the block size 1-9, then a block's or the end's magic number.
    if (Begins(bytes, size, "BZh", 3) && size >= 10 && bytes[3] >= '1' && bytes[3] <= '9' &&
        (Begins(bytes + 4, size - 4, "\x31\x41\x59\x26\x53\x59", 6) ||
         Begins(bytes + 4, size - 4, "\x17\x72\x45\x38\x50\x90", 6)))
        return Compression::Bzip2;
    return Compression::None;
}

bool BeginsTarFile(const uint8_t* bytes, size_t size) {
    if (CompressionOf(bytes, size) != Compression::None) return true;
    HeaderBlock block;
    return size >= BlockSize && ReadHeaderBlock(bytes, &block) == BlockKind::Header;
}

uint64_t TarStream::Starts() { return starts.load(); }

int TarStream::Restart() {
    decoder_.reset();
    bytes_.reset();
    input_.reset(new (std::nothrow) RangeInput(file_, 0, file_.Size()));
    if (input_) bytes_.reset(new (std::nothrow) codecs::ByteInput(*input_));
    if (!bytes_) return SpiNoMemory;
    switch (compression_) {
        case Compression::Gzip: decoder_ = codecs::MakeGzipDecoder(*bytes_); break;
        case Compression::Bzip2: decoder_ = codecs::MakeBzip2Decoder(*bytes_); break;
        case Compression::Zstd: decoder_ = codecs::MakeZstdDecoder(*bytes_); break;
        default: decoder_ = codecs::MakeXzDecoder(*bytes_); break;
    }
    if (!decoder_) return SpiNoMemory;
    ++starts;
    position_ = 0;
    ended_ = false;
    return SpiSuccess;
}

int TarStream::Decode(uint8_t* out, size_t size, size_t* produced) {
    *produced = 0;
    while (*produced < size && !ended_) {
        size_t count = 0;
        codecs::Status status = decoder_->Decode(out + *produced, size - *produced, &count);
        *produced += count;
        position_ += count;
        if (status == codecs::Status::End) ended_ = true;
        else if (status != codecs::Status::Ok) {
            decoder_.reset();  // not worth keeping: the next read starts again
            return SpiResultOf(status);
        }
    }
    return SpiSuccess;
}

int TarStream::SkipTo(uint64_t offset) {
    if (!decoder_ || position_ > offset) {
        int result = Restart();
        if (result != SpiSuccess) return result;
    }
    uint8_t scratch[1 << 15];
    while (position_ < offset && !ended_) {
        uint64_t left = offset - position_;
        size_t produced = 0;
        int result = Decode(scratch, left < sizeof scratch ? static_cast<size_t>(left) : sizeof scratch, &produced);
        if (result != SpiSuccess) return result;
    }
    return SpiSuccess;
}

int TarStream::ReadAt(uint64_t offset, uint8_t* out, size_t size, size_t* produced) {
    *produced = 0;
    if (compression_ == Compression::None) {
        if (offset >= file_.Size()) return SpiSuccess;
        uint64_t left = file_.Size() - offset;
        size_t count = left < size ? static_cast<size_t>(left) : size;
        if (!file_.ReadAt(offset, out, count)) return SpiReadError;
        *produced = count;
        return SpiSuccess;
    }
    int result = SkipTo(offset);
    if (result != SpiSuccess || position_ < offset) return result;
    return Decode(out, size, produced);
}

int TarStream::Covers(uint64_t offset, bool* covered) {
    *covered = false;
    if (compression_ == Compression::None) {
        *covered = offset <= file_.Size();
        return SpiSuccess;
    }
    int result = SkipTo(offset);
    *covered = result == SpiSuccess && position_ == offset;
    return result;
}

int TarStream::CheckFrom(uint64_t offset) {
    if (compression_ == Compression::None) return SpiSuccess;
    // A decoder already past `offset` (the walk read the end marker) simply reads on.
    int result = decoder_ && position_ >= offset ? SpiSuccess : SkipTo(offset);
    uint8_t scratch[1 << 15];
    for (size_t produced = sizeof scratch; result == SpiSuccess && produced == sizeof scratch;)
        result = Decode(scratch, sizeof scratch, &produced);
    return result;
}

int TarStream::EndsAt(uint64_t offset) {
    if (compression_ == Compression::None) return offset == file_.Size() ? SpiSuccess : SpiBrokenData;
    int result = SkipTo(offset);
    if (result != SpiSuccess) return result;
    uint8_t byte = 0;
    size_t produced = 0;
    result = Decode(&byte, 1, &produced);
    if (result != SpiSuccess) return result;
    return produced == 0 && position_ == offset ? SpiSuccess : SpiBrokenData;
}

}  // namespace tar
