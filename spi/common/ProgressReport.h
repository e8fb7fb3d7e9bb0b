#pragma once
// How unpacking code tells the caller how far it has come, and learns whether to go on.
// Plain C++, so that the fuzzers build the code that reports.
#include <cstdint>

class ProgressReport {
public:
    virtual ~ProgressReport() = default;
    // `done` of `total` bytes are unpacked. False asks the unpacking to stop.
    virtual bool Continue(uint64_t done, uint64_t total) = 0;
};
