#pragma once
// Random access to the bytes of an archive, wherever it lies.
#include <cstddef>
#include <cstdint>
#include <cstring>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads exactly `count` bytes at `offset`; false when they cannot all be read.
    virtual bool ReadAt(uint64_t offset, void* buffer, size_t count) = 0;

    bool Contains(uint64_t offset, uint64_t count) const {
        return offset <= Size() && count <= Size() - offset;
    }
};

// An archive held in memory.
class MemorySource : public ByteSource {
public:
    MemorySource(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* buffer, size_t count) override {
        if (!Contains(offset, count)) return false;
        if (count) memcpy(buffer, data_ + offset, count);
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
};
