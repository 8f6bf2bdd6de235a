// morvi_bench: times loading, searching and saving on a large generated workload and prints
// each figure beside a floor measured in the same run (see README, "Benchmarks").
//   morvi_bench WORKLOAD_DIR [--runs N] [--only dialog|window] [--files N]
//   morvi_bench --memory-child WORKLOAD_DIR     (internal: one load in a fresh process)
// --only and --files (a smaller map, in its own WORKLOAD_DIR) are for profiling, e.g. under
// valgrind --tool=callgrind.

#include <QApplication>
#include <QListWidget>
#include <QSignalBlocker>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "BenchTable.h"
#include "Floors.h"
#include "LeanHost.h"
#include "MemoryProbe.h"
#include "Workload.h"
#include "app/DesktopSeams.h"
#include "app/PlacementListModel.h"
#include "app/PlacementTableView.h"
#include "app/PlacementWindow.h"
#include "data/AtomicFile.h"
#include "data/FileFinder.h"
#include "data/RegionFile.h"
#include "dialog/CPlacementDlg.h"

namespace morvi::bench {
namespace {

constexpr double kMaxBytesPerRow = 300;

void Check(bool condition, const char* what) {
    if (!condition) throw std::runtime_error(std::string("benchmark check failed: ") + what);
}

// The window logic over the lean host, with the map list and templates of the workload.
struct LeanRig {
    LeanHost host;
    CPlacementDlg dlg{host};
    explicit LeanRig(const Workload& w) {
        dlg.m_serverPath = w.server;
        dlg.LoadTemplateList();
        dlg.FillNameCombos();
        dlg.LoadMapList();
        host.mapSelection = 0;
    }
};

// The real window, shown offscreen, with map 0 selected as a user's click would leave it.
struct WindowRig {
    PlacementWindow window;
    explicit WindowRig(const Workload& w) {
        DesktopSeams::SetUnattended(true);
        CPlacementDlg& dlg = window.Logic();
        dlg.m_serverPath = w.server;
        dlg.LoadTemplateList();
        dlg.FillNameCombos();
        dlg.LoadMapList();
        window.show();
        QApplication::processEvents();
        auto* maps = qobject_cast<QListWidget*>(window.Control(IDC_MAP_LIST));
        const QSignalBlocker quiet(maps);
        maps->setCurrentRow(0);
        QApplication::processEvents();
    }
    // The map's selection handler, then what the event loop does before the user sees the
    // list: pending work (the rows reach the view) and the window's first paint.
    void LoadAndPaint() {
        handlerMs.push_back(TimeMs([&] { window.Logic().LoadMapPlacements(); }));
        eventsMs.push_back(TimeMs([&] { QApplication::processEvents(); }));
        paintMs.push_back(TimeMs([&] { window.repaint(); }));
    }
    std::string Split() const {
        char text[160];
        std::snprintf(text, sizeof text, "Qt load split: handler %.2f ms, queued work %.2f ms, paint %.2f ms",
                      Median(handlerMs), Median(eventsMs), Median(paintMs));
        return text;
    }
    std::vector<double> handlerMs, eventsMs, paintMs;
    int Rows() { return window.Placements().RowCount(); }
};

Figure LoadThroughDialog(const Workload& w, int runs, int& rowsOut, double& discoveryMs) {
    LeanRig rig(w);
    std::vector<double> times, floors;
    for (int run = 0; run < runs; ++run) {
        floors.push_back(TimeMs([&] { ReadEveryFile(w.regionFiles); }));
        times.push_back(TimeMs([&] { rig.dlg.LoadMapPlacements(); }));
    }
    std::vector<double> discovery;
    for (int run = 0; run < runs; ++run) {
        discovery.push_back(TimeMs([&] {
            FileFinder finder;
            finder.SetRoot(w.mapDir);
            finder.Find("_S.DAT", true);
            Check(finder.m_names.size() == w.regionFiles.size(), "the finder found every file");
        }));
    }
    discoveryMs = Median(discovery);
    rowsOut = rig.host.list.RowCount();
    Check(rowsOut > 0, "the dialog listed rows");
    Check(rig.host.ItemText(IDC_FRAME) == "NPC配置列表完成!共有NPC配置信息[" + std::to_string(rowsOut) + "]条!",
          "final caption");
    return {"load via CPlacementDlg (lean host)", Median(times), "read every region file", Median(floors),
            "<= 1.5x floor", 1.5, 0};
}

// Untimed: every cell of the window's list equals the row a plain reading of the files gives
// (records in file order, the listing rules, the dialog's row texts, the bottom row first read).
void CheckEveryCell(PlacementWindow& window, const Workload& w) {
    PlacementListHost& list = window.Placements();
    const int templates = window.ListBoxCount(IDC_TEMPLATE_LIST);
    int row = list.RowCount();
    for (const std::string& path : w.regionFiles) {
        std::vector<PlacementRecord> records;
        if (!ReadRegionPlacements(path, records)) continue;
        for (const PlacementRecord& r : records) {
            const NpcPlacement& p = r.block;
            if ((p.name[0] == 0 && p.name[1] == 0) || p.TemplateIndex() == 0 || p.TemplateIndex() >= templates ||
                p.PosX() >= 1000 || p.PosYDoubled() >= 1000)
                continue;
            RowTexts expected = CPlacementDlg::FormatRow(p, r.script);
            expected[COL_FILE] = path;
            --row;
            Check(row >= 0, "no more rows than records");
            for (int column = 0; column < kPlacementColumnCount; ++column)
                Check(list.CellText(row, column) == expected[static_cast<size_t>(column)], "every cell as read");
        }
    }
    Check(row == 0, "no fewer rows than records");
}

std::vector<Figure> WindowFigures(const Workload& w, int runs, int expectedRows, std::string& split) {
    WindowRig rig(w);
    std::vector<double> times, floors;
    for (int run = 0; run < runs; ++run) {
        floors.push_back(TimeMs([&] { ReadEveryFile(w.regionFiles); }));
        times.push_back(TimeMs([&] { rig.LoadAndPaint(); }));
    }
    split = rig.Split();
    CheckEveryCell(rig.window, w);
    Check(rig.Rows() == expectedRows, "the window listed the same rows as the lean host");
    Check(rig.window.ListModel().rowCount() == expectedRows, "the view knows every row");
    std::vector<Figure> figures{{"load + first paint, Qt window offscreen", Median(times),
                                 "read every region file", Median(floors), "<= 3x floor", 3, 0}};

    CPlacementDlg& dlg = rig.window.Logic();
    const int last = rig.Rows() - 1;
    auto search = [&](const char* name, const std::string& findName, const std::string& x, const std::string& y) {
        rig.window.SetItemText(IDC_FIND_NAME, findName);
        rig.window.SetItemText(IDC_FIND_X, x);
        rig.window.SetItemText(IDC_FIND_Y, y);
        std::vector<double> samples;
        for (int run = 0; run < runs; ++run) {
            samples.push_back(TimeMs([&] { dlg.OnFindFirst(); }));
            Check(dlg.m_searchPos == last, "the search found the bottom row");
            QApplication::processEvents();
        }
        figures.push_back({name, Median(samples), "", 0, "<= 50 ms", 0, 50});
    };
    search("search all: bottom row by name", w.targetName, "", "");
    search("search all: bottom row by X and Y", "", std::to_string(w.targetX), std::to_string(w.targetY));
    return figures;
}

PlacementRecord Grown(const PlacementRecord& old) {
    PlacementRecord fresh = old;
    std::string script = old.block.HasScript() ? old.script : std::string("\\script\\bench\\grown");
    script.resize(std::min<size_t>(script.size() + 40, kMaxScriptLength), 'g');
    fresh.block.dropCountOrScriptLength = static_cast<uint8_t>(script.size());
    fresh.block.variable = static_cast<uint8_t>(script[0]);
    fresh.script = script;
    return fresh;
}

std::vector<Figure> SaveFigures(const Workload& w, int runs) {
    struct Op {
        const char* name;
        std::function<RegionResult()> run;
    };
    const Op ops[] = {
        {"modify first record (script grows)", [&] { return ModifyPlacementInFile(w.saveFile, w.firstKey, Grown); }},
        {"modify last record (script grows)", [&] { return ModifyPlacementInFile(w.saveFile, w.lastKey, Grown); }},
        {"delete first record", [&] { return RemovePlacementFromFile(w.saveFile, w.firstKey); }},
        {"delete last record", [&] { return RemovePlacementFromFile(w.saveFile, w.lastKey); }},
    };
    std::vector<Figure> figures;
    for (const Op& op : ops) {
        std::vector<double> times, floors;
        for (int run = 0; run < runs; ++run) {
            ReplaceFileContents(w.saveFile, w.saveImage, nullptr);   // restore, untimed
            std::string copy;
            floors.push_back(TimeMs([&] { copy = CopyWithFlush(w.saveFile); }));
            RemoveCopy(copy);
            RegionResult result;
            times.push_back(TimeMs([&] { result = op.run(); }));
            Check(result.ok(), op.name);
        }
        figures.push_back({op.name, Median(times), "copy file + fsync", Median(floors), "<= 3x floor", 3, 0});
    }
    ReplaceFileContents(w.saveFile, w.saveImage, nullptr);
    return figures;
}

// Runs the memory measurement in a fresh process so nothing of the other figures is resident.
Figure MemoryFigure(const std::string& self, const std::string& dir, std::string& note) {
    const std::string command = "'" + self + "' --memory-child '" + dir + "'";
    std::FILE* child = ::popen(command.c_str(), "r");
    Check(child != nullptr, "the memory child started");
    long rows = 0, reset = 0;
    unsigned long long baseRss = 0, peak = 0, rss = 0;
    double loadMs = 0;
    const int got = std::fscanf(child, "%ld %llu %llu %llu %ld %lf", &rows, &baseRss, &peak, &rss, &reset, &loadMs);
    Check(::pclose(child) == 0 && got == 6 && rows > 0, "the memory child reported");
    const double perRow = static_cast<double>(peak - baseRss) / static_cast<double>(rows);
    char text[400];
    std::snprintf(text, sizeof text,
                  "memory: fresh child process, empty window %.1f MiB resident; after the load peak %.1f MiB "
                  "(VmHWM%s), resident %.1f MiB; %.0f bytes/row peak, %.0f bytes/row resident; "
                  "that first load + paint in a fresh process took %.1f ms (one run)",
                  baseRss / 1048576.0, peak / 1048576.0, reset ? ", reset to VmRSS before the load" : "",
                  rss / 1048576.0, perRow, static_cast<double>(rss - baseRss) / static_cast<double>(rows), loadMs);
    note = text;
    Figure f{"peak RSS above empty window, per row", perRow, "", 0, "<= 300 B/row", 0, kMaxBytesPerRow};
    f.unit = "B/row";
    return f;
}

int MemoryChild(const std::string& dir, int argc, char** argv) {
    QApplication app(argc, argv);
    const Workload w = PrepareWorkload(dir);
    WindowRig rig(w);
    QApplication::processEvents();
    const bool reset = ResetPeakMemory();
    const MemoryFigures before = ReadMemory();
    const double ms = TimeMs([&] { rig.LoadAndPaint(); });
    const MemoryFigures after = ReadMemory();
    std::printf("%d %zu %zu %zu %d %.2f\n", rig.Rows(), before.residentBytes,
                reset ? after.peakBytes : after.peakBytes - before.peakBytes + before.residentBytes,
                after.residentBytes, reset ? 1 : 0, ms);
    return 0;
}

int Run(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--memory-child") == 0) return MemoryChild(argv[2], argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s WORKLOAD_DIR [--runs N]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    int runs = 7;
    std::string only;   // "dialog" or "window": that part alone, for profiling
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

    std::vector<Figure> figures;
    int rows = 0;
    double discoveryMs = 0;
    figures.push_back(LoadThroughDialog(w, only == "window" ? 1 : runs, rows, discoveryMs));
    std::string split, memoryNote;
    if (only != "dialog")
        for (Figure& f : WindowFigures(w, runs, rows, split)) figures.push_back(f);
    if (only.empty()) {
        for (Figure& f : SaveFigures(w, runs)) figures.push_back(f);
        figures.push_back(MemoryFigure(self, dir, memoryNote));
    }

    std::printf("workload: %zu region files, %d rows listed; save file %zu records, %zu bytes\n",
                w.regionFiles.size(), rows, static_cast<size_t>(10000), w.saveImage.size());
    PrintFigures(figures, runs);
    std::printf("\nof the loads: finding the region files (FileFinder) %.2f ms\n", discoveryMs);
    std::printf("%s\n%s\n", split.c_str(), memoryNote.c_str());
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
