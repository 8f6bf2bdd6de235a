#include "MemoryProbe.h"

#include <cstdio>
#include <cstring>

namespace morvi::bench {

MemoryFigures ReadMemory() {
    MemoryFigures m;
    if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f)) {
            unsigned long kb = 0;
            if (std::sscanf(line, "VmRSS: %lu kB", &kb) == 1) m.residentBytes = kb * 1024;
            if (std::sscanf(line, "VmHWM: %lu kB", &kb) == 1) m.peakBytes = kb * 1024;
        }
        std::fclose(f);
    }
    return m;
}

bool ResetPeakMemory() {
    // Writing 5 to clear_refs resets the peak resident size to the present one.
    std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (!f) return false;
    const bool ok = std::fputs("5", f) >= 0;
    return std::fclose(f) == 0 && ok;
}

}  // namespace morvi::bench
