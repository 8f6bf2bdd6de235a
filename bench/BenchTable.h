#pragma once
// Timing of repeated runs and the table the benchmark prints.

#include <functional>
#include <string>
#include <vector>

namespace morvi::bench {

// Milliseconds of one call of `work`.
double TimeMs(const std::function<void()>& work);
double Median(std::vector<double> samples);

// A figure and its floor, each the median of the same number of interleaved runs.
struct Figure {
    std::string name;
    double ms = 0;             // the figure, in `unit`
    std::string floorName;
    double floorMs = 0;        // > 0: the floor, in milliseconds
    std::string target;        // e.g. "<= 1.3x floor", "<= 50 ms"; empty: shown for information
    double limitRatio = 0;     // > 0: target on the ratio to the floor
    double limitMs = 0;        // > 0: target on the figure itself (in `unit`)
    std::string unit = "ms";
    bool skipped = false;      // could not be measured here (the reason is in floorName)
    bool Met() const;
};

void PrintFigures(const std::vector<Figure>& figures, int runs);

}  // namespace morvi::bench
