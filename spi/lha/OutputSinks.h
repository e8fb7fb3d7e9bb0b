#pragma once
// The two places GetFile unpacks to: a local-memory block and a file.
#include <windows.h>
#include "spi/lha/OutputSink.h"

namespace lha {

// Fills a locked memory block from its start; never writes past its capacity.
class MemorySink : public OutputSink {
public:
    MemorySink(uint8_t* block, size_t capacity) : block_(block), capacity_(capacity) {}
    bool Write(const uint8_t* data, size_t length) override;

private:
    uint8_t* block_;
    size_t capacity_;
    size_t written_ = 0;
};

// Appends to an open file.
class FileSink : public OutputSink {
public:
    explicit FileSink(HANDLE file) : file_(file) {}
    bool Write(const uint8_t* data, size_t length) override;

private:
    HANDLE file_;
};

}  // namespace lha
