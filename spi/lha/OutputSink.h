#pragma once
// Where unpacked bytes go: a memory block, a file, or (when fuzzing) nowhere.
#include <cstddef>
#include <cstdint>

namespace lha {

class OutputSink {
public:
    virtual ~OutputSink() = default;
    // Takes the next `length` bytes of output; false stops the unpacking (the reason is
    // the sink's to report).
    virtual bool Write(const uint8_t* data, size_t length) = 0;
};

}  // namespace lha
