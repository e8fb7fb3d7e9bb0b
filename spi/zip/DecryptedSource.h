#pragma once
// The decrypted bytes of an entry's encrypted data, as a source of their own that starts at 0.
// A stream cipher decrypts in order, so the bytes must be read in order, each once; a read
// elsewhere fails.
#include <functional>
#include "spi/common/ByteSource.h"

namespace zip {

class DecryptedSource : public ByteSource {
public:
    // Decrypts a piece in place, continuing the stream; false when it failed.
    using Decrypt = std::function<bool(uint8_t* data, size_t size)>;
    // The `size` encrypted bytes at `offset` of `source`.
    DecryptedSource(ByteSource& source, uint64_t offset, uint64_t size, Decrypt decrypt)
        : source_(source), offset_(offset), size_(size), decrypt_(std::move(decrypt)) {}

    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* buffer, size_t count) override {
        if (offset != next_ || !Contains(offset, count)) return false;
        auto bytes = static_cast<uint8_t*>(buffer);
        if (!source_.ReadAt(offset_ + offset, bytes, count) || !decrypt_(bytes, count)) return false;
        next_ += count;
        return true;
    }

private:
    ByteSource& source_;
    uint64_t offset_, size_;
    Decrypt decrypt_;
    uint64_t next_ = 0;
};

}  // namespace zip
