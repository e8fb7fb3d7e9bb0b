#pragma once
// The sliding dictionary of the LZ decoders. Output is written here first and handed to the
// caller from here, so the decoder never needs the caller's earlier buffers.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace codecs {

class Window {
public:
    // A window of `size` bytes, allocated now. False when memory runs out. The contents are
    // undefined until written: HasDistance keeps reads within what was written.
    bool Allocate(size_t size) { return Allocate(size, size); }
    // A window that starts with `initial` bytes and grows (Grow) up to `dictionary` bytes as
    // output arrives, so that a stream declaring a large dictionary for little data takes
    // little memory.
    bool Allocate(size_t initial, size_t dictionary) {
        limit_ = dictionary;
        bytes_.reset(new (std::nothrow) uint8_t[std::min(initial, dictionary)]);
        size_ = bytes_ ? std::min(initial, dictionary) : 0;
        pos_ = pending_ = 0;
        Reset();
        return bytes_ != nullptr;
    }
    // Makes room for `count` more bytes so that the write position does not wrap around
    // before the window has its full size. False when memory runs out.
    bool Grow(size_t count) {
        if (size_ == limit_ || count < size_ - pos_) return true;
        size_t needed = count < limit_ - pos_ ? pos_ + count + 1 : limit_;
        size_t wanted = std::max(needed, size_ <= limit_ / 2 ? 2 * size_ : limit_);
        std::unique_ptr<uint8_t[]> bigger(new (std::nothrow) uint8_t[wanted]);
        if (!bigger) return false;
        memcpy(bigger.get(), bytes_.get(), pos_);  // nothing has wrapped: the bytes are [0, pos_)
        bytes_ = std::move(bigger);
        size_ = wanted;
        return true;
    }
    // Right after Allocate(size): a history of `size` copies of `byte`, as if written before
    // the stream began (LHA's window starts as spaces).
    void Preset(uint8_t byte) {
        memset(bytes_.get(), byte, size_);
        filled_ = size_;
    }
    // Forgets the history (a new dictionary); bytes not yet handed out stay.
    void Reset() { filled_ = 0; }
    size_t Size() const { return size_; }

    // Whether a match `distance` bytes back (1 = the last byte) lies in written history.
    bool HasDistance(uint64_t distance) const { return distance != 0 && distance <= filled_; }
    uint8_t Back(size_t distance) const {
        size_t from = pos_ >= distance ? pos_ - distance : pos_ + size_ - distance;
        return bytes_[from];
    }
    void Put(uint8_t byte) {
        bytes_[pos_] = byte;
        if (++pos_ == size_) pos_ = 0;
        if (filled_ < size_) ++filled_;
        ++pending_;
    }
    // Copies `length` bytes from `distance` back (the caller checked HasDistance).
    void Copy(size_t distance, size_t length) {
        size_t from = pos_ >= distance ? pos_ - distance : pos_ + size_ - distance;
        pending_ += length;
        filled_ = std::min<uint64_t>(filled_ + length, size_);
        if (distance >= length && from + length <= size_ && pos_ + length <= size_) {
            memmove(&bytes_[pos_], &bytes_[from], length);
            pos_ += length;
            if (pos_ == size_) pos_ = 0;
            return;
        }
        uint8_t* bytes = bytes_.get();
        while (length-- > 0) {
            bytes[pos_] = bytes[from];
            if (++from == size_) from = 0;
            if (++pos_ == size_) pos_ = 0;
        }
    }
    // Appends bytes taken from elsewhere (stored blocks); at most Room() of them.
    void Append(const uint8_t* data, size_t length) {
        while (length > 0) {
            size_t count = std::min(length, size_ - pos_);
            memcpy(&bytes_[pos_], data, count);
            pos_ += count;
            if (pos_ == size_) pos_ = 0;
            filled_ = std::min<uint64_t>(filled_ + count, size_);
            pending_ += count;
            data += count;
            length -= count;
        }
    }
    // Contiguous room at the write position (for reading stored data straight in).
    uint8_t* WriteSpan(size_t* length) {
        *length = size_ - pos_;
        return &bytes_[pos_];
    }
    void Wrote(size_t count) {
        pos_ += count;
        if (pos_ == size_) pos_ = 0;
        filled_ = std::min<uint64_t>(filled_ + count, size_);
        pending_ += count;
    }

    // Direct access for a decoder's inner loop, which keeps the write position in registers
    // and reports back with Advance what it wrote.
    uint8_t* Data() { return bytes_.get(); }
    size_t Position() const { return pos_; }
    uint64_t Filled() const { return filled_; }
    void Advance(size_t position, size_t written) {
        pos_ = position;
        filled_ = std::min<uint64_t>(filled_ + written, size_);
        pending_ += written;
    }

    // Bytes written but not yet handed out; a decoder writes no more than Size() of them.
    size_t Pending() const { return pending_; }
    // Hands out up to `size` pending bytes, oldest first; returns how many.
    size_t Flush(uint8_t* out, size_t size) {
        size_t count = std::min(size, pending_);
        size_t start = pos_ >= pending_ ? pos_ - pending_ : pos_ + size_ - pending_;
        size_t first = std::min(count, size_ - start);
        memcpy(out, &bytes_[start], first);
        memcpy(out + first, &bytes_[0], count - first);
        pending_ -= count;
        return count;
    }

private:
    std::unique_ptr<uint8_t[]> bytes_;
    size_t size_ = 0;
    size_t limit_ = 0;  // the size the window grows to
    size_t pos_ = 0;
    uint64_t filled_ = 0;  // bytes of valid history, up to size_
    size_t pending_ = 0;
};

}  // namespace codecs
