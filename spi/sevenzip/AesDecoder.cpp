#include "spi/sevenzip/AesDecoder.h"
#include <algorithm>
#include <cstring>
#include <new>

namespace sevenzip {
namespace {

constexpr size_t ChunkSize = 1 << 16;  // bytes decrypted per call of CNG; whole blocks

class AesDecoder : public codecs::Decoder {
public:
    AesDecoder(codecs::ByteInput& input, const uint8_t* key, const uint8_t* iv, uint64_t size)
        : input_(input), decryptor_(key, iv), left_(size) {}
    bool ok() const { return decryptor_.ok(); }

    codecs::Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        *produced = 0;
        while (status_ == codecs::Status::Ok && *produced < size) {
            if (left_ == 0) return status_ = codecs::Status::End;
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
    // Decrypts the next chunk of whole blocks; false with status_ set when there is none.
    bool Refill() {
        const uint64_t wanted = (left_ + crypto::kAesBlock - 1) / crypto::kAesBlock * crypto::kAesBlock;
        const size_t count = input_.Read(chunk_, static_cast<size_t>(std::min<uint64_t>(sizeof chunk_, wanted)));
        if (input_.Failed()) status_ = codecs::Status::ReadError;
        else if (count == 0 || count % crypto::kAesBlock != 0) status_ = codecs::Status::BadData;
        else if (!decryptor_.Decrypt(chunk_, count)) status_ = codecs::Status::BadData;
        if (status_ != codecs::Status::Ok) return false;
        next_ = chunk_;
        end_ = chunk_ + count;
        return true;
    }

    codecs::ByteInput& input_;
    crypto::SevenZipAesDecryptor decryptor_;
    uint64_t left_;
    codecs::Status status_ = codecs::Status::Ok;
    uint8_t chunk_[ChunkSize];
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
