#include "BenchTable.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace morvi::bench {

double TimeMs(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> samples) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const size_t mid = samples.size() / 2;
    return samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2;
}

bool Figure::Met() const {
    if (limitRatio > 0) return floorMs > 0 && ms / floorMs <= limitRatio;
    if (limitMs > 0) return ms <= limitMs;
    return true;
}

void PrintFigures(const std::vector<Figure>& figures, int runs) {
    std::printf("\nmedian of %d runs; every floor measured in the same run, interleaved with its figure\n\n", runs);
    const char* row = "%-46s %13s  %-34s %9s %7s  %-15s %s\n";
    std::printf(row, "figure", "median", "floor", "floor ms", "ratio", "target", "");
    std::printf("%s\n", std::string(138, '-').c_str());
    for (const Figure& f : figures) {
        char ratio[32] = "-";
        char floorMs[32] = "-";
        char value[32] = "-";
        if (f.floorMs > 0) std::snprintf(floorMs, sizeof floorMs, "%.2f", f.floorMs);
        if (!f.skipped) {
            std::snprintf(value, sizeof value, "%.2f %s", f.ms, f.unit.c_str());
            if (f.floorMs > 0) std::snprintf(ratio, sizeof ratio, "%.2fx", f.ms / f.floorMs);
        }
        const char* verdict = f.skipped ? "skipped" : f.target.empty() ? "-" : f.Met() ? "ok" : "MISSED";
        std::printf(row, f.name.c_str(), value, f.floorName.c_str(), floorMs, ratio,
                    f.target.empty() ? "-" : f.target.c_str(), verdict);
    }
}

}  // namespace morvi::bench
