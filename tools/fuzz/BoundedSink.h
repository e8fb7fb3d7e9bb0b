#pragma once
// For the fuzzers: an output sink that keeps at most `size` bytes, like a memory block of an
// entry's size, and traps when the code under test writes past the room it was given.
#include <cstddef>
#include <cstdint>
#include <vector>
#include "spi/common/OutputSink.h"

class BoundedSink : public OutputSink {
public:
    explicit BoundedSink(size_t size) : bytes_(size) {}
    uint8_t* Room(size_t* length) override {
        *length = bytes_.size() - used_;
        return bytes_.data() + used_;
    }
    bool Commit(size_t length) override {
        if (length > bytes_.size() - used_) __builtin_trap();  // the code overran its room
        used_ += length;
        return true;
    }
    size_t Used() const { return used_; }

private:
    std::vector<uint8_t> bytes_;
    size_t used_ = 0;
};
