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
    std::printf("%-44s %14s  %-22s %10s %7s  %-16s %s\n", "figure", "median", "floor", "floor ms",
                "ratio", "target", "");
    std::printf("%s\n", std::string(122, '-').c_str());
    for (const Figure& f : figures) {
        char ratio[32] = "-";
        char floorMs[32] = "-";
        if (f.floorMs > 0) {
            std::snprintf(ratio, sizeof ratio, "%.2fx", f.ms / f.floorMs);
            std::snprintf(floorMs, sizeof floorMs, "%.2f", f.floorMs);
        }
        char value[32];
        std::snprintf(value, sizeof value, "%.2f %s", f.ms, f.unit.c_str());
        std::printf("%-44s %14s  %-22s %10s %7s  %-16s %s\n", f.name.c_str(), value, f.floorName.c_str(),
                    floorMs, ratio, f.target.c_str(), f.Met() ? "ok" : "MISSED");
    }
}

}  // namespace morvi::bench
