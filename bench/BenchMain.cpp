// morvi_bench: times loading, searching, saving, the command line and the map view on a large
// generated workload and prints each figure beside a floor measured in the same run (see
// README, "Benchmarks").
//   morvi_bench WORKLOAD_DIR [--runs N] [--only dialog|window|cli|bulk|find|view] [--files N]
//   morvi_bench --memory-child WORKLOAD_DIR FILES   (internal: one load in a fresh process)
// --only and --files (a smaller map, in its own WORKLOAD_DIR) are for profiling, e.g. under
// valgrind --tool=callgrind.

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "BenchTable.h"
#include "BulkFigures.h"
#include "CliFigures.h"
#include "FindFigures.h"
#include "Floors.h"
#include "LoadFigures.h"
#include "MapViewBench.h"
#include "Workload.h"
#include "data/platform/AtomicFile.h"
#include "data/region/RegionFile.h"
#include "document/MapDocument.h"

#ifndef MORVI_CLI_PATH
#error "MORVI_CLI_PATH names the morvinpc binary of the same build"
#endif

namespace morvi::bench {
namespace {

constexpr double kMaxWindowBytesPerRow = 80;

void Check(bool condition, const char* what) {
    if (!condition) throw std::runtime_error(std::string("benchmark check failed: ") + what);
}

// A draft that stores the record's script 40 bytes longer (a record without one gets one).
PlacementDraft Grown(const PlacementRecord& old) {
    std::string script = old.block.HasScript() ? old.script : std::string("\\script\\bench\\grown");
    script.resize(std::min<size_t>(script.size() + 40, kMaxScriptLength), 'g');
    PlacementDraft draft;
    draft.storedScript = script;
    return draft;
}

const PlacementRecord& RecordOf(const std::vector<PlacementRecord>& records, const PlacementKey& key) {
    for (const PlacementRecord& r : records)
        if (key.Matches(r.block)) return r;
    throw std::runtime_error("benchmark check failed: the save file holds its keys");
}

// The saves as the product makes them: through the map document, under the file's writer
// lock, recorded in the change history (made durable) and replaced crash-safely.
std::vector<Figure> SaveFigures(const Workload& w, int runs) {
    const std::string saveDir = w.saveFile.substr(0, w.saveFile.find_last_of('/'));
    const std::string historyDir = saveDir + "-history";
    std::filesystem::remove_all(historyDir);
    std::filesystem::remove(historyDir + "-floor-journal");
    MapDocument doc;
    doc.SetServerPath(saveDir);
    doc.SetHistoryDirectory(historyDir);
    doc.SetProgram("benchmark");
    std::vector<PlacementRecord> records;
    Check(ReadRegionPlacements(w.saveFile, records), "the save file reads");
    const PlacementDraft growFirst = Grown(RecordOf(records, w.firstKey));
    const PlacementDraft growLast = Grown(RecordOf(records, w.lastKey));
    auto removal = [&](const PlacementKey& key) {
        const Expected<RemoveReport, DocumentError> done = doc.Delete(std::vector<PlacementRef>{{w.saveFile, key}});
        return done && done->AllRemoved();
    };
    struct Op {
        const char* name;
        std::function<bool()> run;
    };
    const Op ops[] = {
        {"modify first record (script grows)", [&] { return doc.Modify(w.firstKey, w.saveFile, growFirst).has_value(); }},
        {"modify last record (script grows)", [&] { return doc.Modify(w.lastKey, w.saveFile, growLast).has_value(); }},
        {"delete first record", [&] { return removal(w.firstKey); }},
        {"delete last record", [&] { return removal(w.lastKey); }},
    };
    std::vector<Figure> figures;
    for (const Op& op : ops) {
        std::vector<double> times, floors;
        for (int run = 0; run < runs; ++run) {
            ReplaceFileContents(w.saveFile, w.saveImage, nullptr);   // restore, untimed
            std::string copy;
            // The product writes two files durably: the history's entry, then the region file.
            floors.push_back(TimeMs([&] {
                AppendWithFlush(historyDir + "-floor-journal", 1024);
                copy = CopyWithFlush(w.saveFile);
            }));
            RemoveCopy(copy);
            bool done = false;
            times.push_back(TimeMs([&] { done = op.run(); }));
            Check(done, op.name);
        }
        figures.push_back({op.name, Median(times), "journal line + copy file, each fsync", Median(floors), "<= 3x floor", 3, 0});
    }
    ReplaceFileContents(w.saveFile, w.saveImage, nullptr);
    return figures;
}

// Runs the window's memory measurement in a fresh process so nothing of the other figures is
// resident.
Figure WindowMemoryFigure(const std::string& self, const std::string& dir, int files, std::string& note) {
    const std::string command = "'" + self + "' --memory-child '" + dir + "' " + std::to_string(files);
    std::FILE* child = ::popen(command.c_str(), "r");
    Check(child != nullptr, "the memory child started");
    long rows = 0, reset = 0;
    unsigned long long baseRss = 0, peak = 0, rss = 0, storeBytes = 0;
    double loadMs = 0;
    const int got = std::fscanf(child, "%ld %llu %llu %llu %ld %lf %llu", &rows, &baseRss, &peak, &rss, &reset,
                                &loadMs, &storeBytes);
    Check(::pclose(child) == 0 && got == 7 && rows > 0, "the memory child reported");
    const double perRow = static_cast<double>(peak - baseRss) / static_cast<double>(rows);
    char text[480];
    std::snprintf(text, sizeof text,
                  "window memory: fresh child process, empty window %.1f MiB resident; after the load peak "
                  "%.1f MiB (VmHWM%s), resident %.1f MiB; %.0f bytes/row peak, %.0f bytes/row resident, of "
                  "which the row store holds %.0f bytes/row; that first load + paint in a fresh process took "
                  "%.1f ms (one run)",
                  baseRss / 1048576.0, peak / 1048576.0, reset ? ", reset to VmRSS before the load" : "",
                  rss / 1048576.0, perRow, static_cast<double>(rss - baseRss) / static_cast<double>(rows),
                  static_cast<double>(storeBytes) / static_cast<double>(rows), loadMs);
    note = text;
    Figure f{"window: peak RSS above empty window, per row", perRow, "", 0, "<= 80 B/row", 0, kMaxWindowBytesPerRow};
    f.unit = "B/row";
    return f;
}

int Run(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--memory-child") == 0) {
        QApplication app(argc, argv);
        return WindowMemoryChild(argv[2], std::max(1, std::atoi(argv[3])));
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s WORKLOAD_DIR [--runs N] [--only dialog|window|cli|bulk|find|view] [--files N]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    int runs = 7;
    std::string only;   // "dialog", "window", "cli", "bulk", "find" or "view": that part alone, for profiling
    int files = 2000;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
        if (std::strcmp(argv[i], "--files") == 0) files = std::max(1, std::atoi(argv[i + 1]));
    }

    QApplication app(argc, argv);
    const Workload w = PrepareWorkload(dir, files);
    char self[4096] = {};
    Check(::readlink("/proc/self/exe", self, sizeof self - 1) > 0, "own path");
    const MapReadFloor map = WalkAndReadMap(w.mapDir);
    Check(map.files == w.regionFiles.size(), "the floor reads every region file the map lists");

    std::vector<Figure> figures;
    int rows = 0;
    std::string split, memoryNote;
    // Every part runs the window logic's load as often as its other figures: a single run is
    // the process's first load (all of its memory faulted in), no figure to hold to a target.
    figures.push_back(DialogLoadFigure(w, runs, rows));
    if (only.empty() || only == "dialog") figures.push_back(ColdDialogLoadFigure(w, runs));
    if (only.empty() || only == "window")
        for (Figure& f : WindowFigures(w, runs, rows, split)) figures.push_back(f);
    if (only.empty() || only == "cli")
        for (Figure& f : CliFigures(MORVI_CLI_PATH, w, runs, rows)) figures.push_back(f);
    if (only.empty() || only == "bulk")
        for (Figure& f : BulkFigures(w, runs)) figures.push_back(f);
    if (only.empty() || only == "find")
        for (Figure& f : FindFigures(dir, runs)) figures.push_back(f);
    if (only.empty()) {
        figures.push_back(WindowMemoryFigure(self, dir, files, memoryNote));
        for (Figure& f : SaveFigures(w, runs)) figures.push_back(f);
    }
    if (only.empty() || only == "view") {
        figures.push_back(MapViewRedrawFigure(runs));
        figures.push_back(MapViewDragFigure(runs));
    }

    std::printf("workload: %zu region files, %zu bytes, %d rows listed; save file %zu bytes\n", map.files,
                map.bytes, rows, w.saveImage.size());
    PrintFigures(figures, runs);
    if (!split.empty()) std::printf("\n%s\n", split.c_str());
    if (!memoryNote.empty()) std::printf("%s\n", memoryNote.c_str());
    return 0;
}

}  // namespace
}  // namespace morvi::bench

int main(int argc, char** argv) {
    try {
        return morvi::bench::Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
