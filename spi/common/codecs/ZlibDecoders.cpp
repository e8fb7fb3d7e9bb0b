// Deflate and gzip through zlib, behind the library's Decoder interface.
#include <zlib.h>
#include <new>
#include "spi/common/codecs/Decoder.h"

namespace codecs {
namespace {

constexpr uint8_t GzipMagic[2] = {0x1F, 0x8B};

class InflateDecoder : public Decoder {
public:
    InflateDecoder(ByteInput& input, bool gzip) : input_(input), gzip_(gzip) {}
    ~InflateDecoder() override {
        if (ready_) inflateEnd(&stream_);
    }

    bool Start() { return ready_ = inflateInit2(&stream_, gzip_ ? 16 + MAX_WBITS : -MAX_WBITS) == Z_OK; }

    Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        *produced = 0;
        while (status_ == Status::Ok && *produced < size) {
            if (input_.Available() == 0) input_.AtEnd();  // fills the buffer when input is left
            size_t room = size - *produced;
            stream_.next_in = const_cast<Bytef*>(input_.Peek());
            stream_.avail_in = static_cast<uInt>(input_.Available());
            stream_.next_out = out + *produced;
            stream_.avail_out = room > 1u << 30 ? 1u << 30 : static_cast<uInt>(room);
            uInt offered = stream_.avail_in, roomGiven = stream_.avail_out;
            int result = inflate(&stream_, Z_NO_FLUSH);
            input_.Skip(offered - stream_.avail_in);
            *produced += roomGiven - stream_.avail_out;
            if (result == Z_STREAM_END) {
                status_ = gzip_ && NextMember() ? Status::Ok : Status::End;
            } else if (result == Z_MEM_ERROR) {
                status_ = Status::NoMemory;
            } else if (result != Z_OK && !(result == Z_BUF_ERROR && offered > 0)) {
                // Z_BUF_ERROR without input offered: the input ended before the stream did.
                status_ = input_.Failed() ? Status::ReadError : Status::BadData;
            }
        }
        return status_;
    }

private:
    // After a gzip member: another member follows, or the file ends. Bytes that are not a
    // member (the zeros a tape writer pads with, say) end the data, as gzip treats them.
    bool NextMember() {
        if (input_.AtEnd() || input_.Peek()[0] != GzipMagic[0]) return false;
        input_.Skip(1);
        if (input_.AtEnd() || input_.Peek()[0] != GzipMagic[1]) return false;
        input_.Skip(1);
        if (inflateReset(&stream_) != Z_OK) return false;
        // The magic read here goes to zlib, which parses the member's header.
        uint8_t magic[2] = {GzipMagic[0], GzipMagic[1]};
        uint8_t none = 0;
        stream_.next_in = magic;
        stream_.avail_in = sizeof magic;
        stream_.next_out = &none;
        stream_.avail_out = 0;
        inflate(&stream_, Z_NO_FLUSH);
        return stream_.avail_in == 0;
    }

    ByteInput& input_;
    bool gzip_;
    z_stream stream_{};
    bool ready_ = false;
    Status status_ = Status::Ok;
};

std::unique_ptr<Decoder> MakeInflate(ByteInput& input, bool gzip) {
    std::unique_ptr<InflateDecoder> decoder(new (std::nothrow) InflateDecoder(input, gzip));
    if (!decoder || !decoder->Start()) return nullptr;
    return decoder;
}

// Stored data: the input as it is.
class CopyDecoder : public Decoder {
public:
    explicit CopyDecoder(ByteInput& input) : input_(input) {}
    Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        *produced = status_ == Status::Ok ? input_.Read(out, size) : 0;
        if (status_ == Status::Ok && *produced < size) status_ = input_.Failed() ? Status::ReadError : Status::End;
        return status_;
    }

private:
    ByteInput& input_;
    Status status_ = Status::Ok;
};

}  // namespace

std::unique_ptr<Decoder> MakeDeflateDecoder(ByteInput& input) { return MakeInflate(input, false); }
std::unique_ptr<Decoder> MakeGzipDecoder(ByteInput& input) { return MakeInflate(input, true); }
std::unique_ptr<Decoder> MakeCopyDecoder(ByteInput& input) {
    return std::unique_ptr<Decoder>(new (std::nothrow) CopyDecoder(input));
}

}  // namespace codecs
