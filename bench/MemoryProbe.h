#pragma once
// Resident memory of this process, from /proc/self/status.

#include <cstddef>

namespace morvi::bench {

struct MemoryFigures {
    size_t residentBytes = 0;   // VmRSS
    size_t peakBytes = 0;       // VmHWM
};

MemoryFigures ReadMemory();
// Lowers the peak (VmHWM) to the present resident size; false where the kernel cannot.
bool ResetPeakMemory();

}  // namespace morvi::bench
