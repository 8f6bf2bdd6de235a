#include "CliFigures.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "ChildProcess.h"
#include "Floors.h"

namespace morvi::bench {
namespace {

constexpr char kMapFloor[] = "walk map dirs + read every file";
constexpr double kMaxBytesPerRow = 100;

void Check(bool condition, const std::string& what) {
    if (!condition) throw std::runtime_error("benchmark check failed: " + what);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Command {
    const char* name;
    const char* memoryName;
    double ratio;              // target on the time against the floor
    bool memoryTarget;         // whether the peak memory per row has a target
    std::vector<std::string> args;       // after `morvinpc --server DIR`
    std::vector<std::string> emptyArgs;  // the same on the empty map
};

ChildRun Run(const std::string& cli, const std::string& server, const std::vector<std::string>& args,
             const std::string& out = "/dev/null", const std::string& err = "/dev/null") {
    std::vector<std::string> argv{cli, "--server", server};
    argv.insert(argv.end(), args.begin(), args.end());
    const ChildRun run = RunChild(argv, out, err);
    Check(run.exitStatus == 0, "morvinpc " + args.at(0) + " on " + server + " exited with " +
                                   std::to_string(run.exitStatus) + (err == "/dev/null" ? "" : ": " + ReadText(err)));
    return run;
}

// Untimed: the exports `import` reads, and a check that importing the unchanged export
// changes nothing.
void PrepareImports(const std::string& cli, const Workload& w) {
    const std::string err = w.exportFile + ".stderr";
    Run(cli, w.server, {"export", "0"}, w.exportFile, err);
    Run(cli, w.emptyServer, {"export", "0"}, w.emptyExportFile, err);
    const std::string plan = w.exportFile + ".plan";
    Run(cli, w.server, {"import", "0", w.exportFile, "--dry-run"}, plan, err);
    Check(ReadText(plan).rfind("nothing to import", 0) == 0, "an unchanged export imports nothing");
}

}  // namespace

std::vector<Figure> CliFigures(const std::string& cli, const Workload& w, int runs, int rows) {
    PrepareImports(cli, w);
    const Command commands[] = {
        {"morvinpc list 0 --format csv", "list csv: peak RSS/row over empty map", 4, true, {"list", "0", "--format", "csv"}, {"list", "0", "--format", "csv"}},
        {"morvinpc export 0", "export: peak RSS/row over empty map", 4, true, {"export", "0"}, {"export", "0"}},
        {"morvinpc list 0 --format json", "list json: peak RSS/row over empty map", 5, false, {"list", "0", "--format", "json"}, {"list", "0", "--format", "json"}},
        {"morvinpc import --dry-run, unchanged export", "import: peak RSS/row over empty map", 8, false, {"import", "0", w.exportFile, "--dry-run"},
         {"import", "0", w.emptyExportFile, "--dry-run"}},
    };
    std::vector<Figure> times, memory;
    for (const Command& c : commands) {
        std::vector<double> ms, floors, peaks, emptyPeaks;
        bool peaksAtExit = true;
        for (int run = 0; run < runs; ++run) {
            floors.push_back(TimeMs([&] { WalkAndReadMap(w.mapDir); }));
            const ChildRun full = Run(cli, w.server, c.args);
            ms.push_back(full.ms);
            const ChildRun empty = Run(cli, w.emptyServer, c.emptyArgs);
            peaks.push_back(static_cast<double>(full.peakRssBytes));
            emptyPeaks.push_back(static_cast<double>(empty.peakRssBytes));
            peaksAtExit = peaksAtExit && full.peakFromExit && empty.peakFromExit;
        }
        char ratio[32];
        std::snprintf(ratio, sizeof ratio, "<= %gx floor", c.ratio);
        times.push_back({c.name, Median(ms), kMapFloor, Median(floors), ratio, c.ratio, 0});

        char floorName[80];
        std::snprintf(floorName, sizeof floorName, "peak %.1f MiB, empty map %.1f MiB%s", Median(peaks) / 1048576.0,
                      Median(emptyPeaks) / 1048576.0, peaksAtExit ? "" : " (ru_maxrss)");
        Figure f{c.memoryName, (Median(peaks) - Median(emptyPeaks)) / rows, floorName, 0,
                 c.memoryTarget ? "<= 100 B/row" : "", 0, c.memoryTarget ? kMaxBytesPerRow : 0};
        f.unit = "B/row";
        memory.push_back(f);
    }
    times.insert(times.end(), memory.begin(), memory.end());
    return times;
}

}  // namespace morvi::bench
