#include "spi/sevenzip/AesDecoder.h"
#include <algorithm>
#include <cstring>
#include <new>

namespace sevenzip {
namespace {

constexpr size_t ChunkSize = 1 << 20;  // the most bytes decrypted per call of CNG; whole blocks

class AesDecoder : public codecs::Decoder {
public:
    AesDecoder(codecs::ByteInput& input, const uint8_t* key, const uint8_t* iv, uint64_t size)
        : input_(input), decryptor_(key, iv), left_(size) {}
    bool ok() const { return decryptor_.ok(); }

    codecs::Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        *produced = 0;
        while (status_ == codecs::Status::Ok && *produced < size && left_ > 0) {
            if (next_ == end_ && size - *produced >= crypto::kAesBlock && left_ >= crypto::kAesBlock) {
                DecryptInto(out + *produced, size - *produced, produced);
                continue;
            }
            if (next_ == end_ && !Refill()) break;
            size_t piece = std::min<uint64_t>({static_cast<uint64_t>(end_ - next_), size - *produced, left_});
            std::memcpy(out + *produced, next_, piece);
            next_ += piece;
            left_ -= piece;
            *produced += piece;
        }
        if (status_ == codecs::Status::Ok && left_ == 0) status_ = codecs::Status::End;
        return status_;
    }

private:
    // Decrypts whole blocks of the output straight into the caller's room (no more than the
    // room, the bytes left or a chunk).
    void DecryptInto(uint8_t* room, size_t roomSize, size_t* produced) {
        const size_t wanted = std::min<uint64_t>({roomSize, left_, ChunkSize}) / crypto::kAesBlock * crypto::kAesBlock;
        const size_t count = Decrypt(room, wanted);
        left_ -= count;
        *produced += count;
    }

    // Reads up to `size` bytes (whole blocks) of the packed stream into `bytes` and decrypts
    // them; the count, 0 with status_ set when there are none or the stream is not whole blocks.
    size_t Decrypt(uint8_t* bytes, size_t size) {
        const size_t count = input_.Read(bytes, size);
        if (input_.Failed()) status_ = codecs::Status::ReadError;
        else if (count == 0 || count % crypto::kAesBlock != 0) status_ = codecs::Status::BadData;
        else if (!decryptor_.Decrypt(bytes, count)) status_ = codecs::Status::BadData;
        return status_ == codecs::Status::Ok ? count : 0;
    }

    // Decrypts the next chunk of whole blocks into the decoder's own buffer, for an output that
    // ends inside a block; false with status_ set when there is none.
    bool Refill() {
        const uint64_t wanted = (left_ + crypto::kAesBlock - 1) / crypto::kAesBlock * crypto::kAesBlock;
        const size_t count = Decrypt(chunk_, static_cast<size_t>(std::min<uint64_t>(sizeof chunk_, wanted)));
        next_ = chunk_;
        end_ = chunk_ + count;
        return count > 0;
    }

    codecs::ByteInput& input_;
    crypto::SevenZipAesDecryptor decryptor_;
    uint64_t left_;
    codecs::Status status_ = codecs::Status::Ok;
    uint8_t chunk_[crypto::kAesBlock];
    const uint8_t* next_ = chunk_;
    const uint8_t* end_ = chunk_;
};

}  // namespace

std::unique_ptr<codecs::Decoder> MakeAesDecoder(codecs::ByteInput& input, const uint8_t key[crypto::kSevenZipKeySize],
                                                const uint8_t iv[crypto::kAesBlock], uint64_t size) {
    std::unique_ptr<AesDecoder> decoder(new (std::nothrow) AesDecoder(input, key, iv, size));
    if (!decoder || !decoder->ok()) return nullptr;
    return decoder;
}

}  // namespace sevenzip
