#pragma once
// Where a plug-in's unpacking code puts the bytes it unpacks. Plain C++, so that the fuzzers
// build the code that writes to it.
#include <cstddef>
#include <cstdint>

// Where unpacked bytes go. The extractor writes into the room the sink offers, so a memory
// block is filled without an intermediate copy.
class OutputSink {
public:
    virtual ~OutputSink() = default;
    // Room for the next bytes; *length receives its size (more than 0).
    virtual uint8_t* Room(size_t* length) = 0;
    // The first `length` bytes of the room now hold output; false when they cannot be kept.
    virtual bool Commit(size_t length) = 0;
    // Makes room for `total` bytes in all, more than the stated size the sink was made for (an
    // entry whose sizes were cut to 32 bits); false when the sink cannot take them.
    virtual bool Grow(uint64_t) { return false; }
    // Drops every byte committed so far, so that the entry can be unpacked again from its start
    // (after a wrong password); false when the sink cannot.
    virtual bool Rewind() { return false; }
};
