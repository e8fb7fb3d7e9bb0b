#pragma once
// The clock and the memory reading the benchmark programs share.
#include <windows.h>
#include <psapi.h>

namespace bench {

inline double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The most private memory the process has held so far. Wine reports the private memory of
// the moment instead, so under Wine read it where the peak is.
inline SIZE_T PeakBytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakPagefileUsage;
}

}  // namespace bench
