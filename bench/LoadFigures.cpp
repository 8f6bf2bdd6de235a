// Kept apart from the in-memory host's figures (DialogLoadFigures.cpp): the Qt front end's
// seams and MemoryHost both name a ShownMessage.
#include "LoadFigures.h"

#include <QApplication>
#include <QListWidget>
#include <QSignalBlocker>

#include <cstdio>
#include <stdexcept>

#include "Floors.h"
#include "MemoryProbe.h"
#include "app/DesktopSeams.h"
#include "app/PlacementListModel.h"
#include "app/PlacementWindow.h"
#include "data/region/ListingRule.h"
#include "data/region/RegionFile.h"
#include "dialog/CPlacementDlg.h"
#include "document/PlacementRowFormatter.h"

namespace morvi::bench {
namespace {

constexpr char kMapFloor[] = "walk map dirs + read every file";

void Check(bool condition, const char* what) {
    if (!condition) throw std::runtime_error(std::string("benchmark check failed: ") + what);
}

// The real window, shown offscreen, with map 0 selected as a user's click would leave it.
struct WindowRig {
    PlacementWindow window;
    explicit WindowRig(const Workload& w) {
        DesktopSeams::SetUnattended(true);
        CPlacementDlg& dlg = window.Logic();
        dlg.SetServerPath(w.server);
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
    int Rows() { return window.Logic().Rows().Count(); }
    std::vector<double> handlerMs, eventsMs, paintMs;
};

// Untimed: every cell the window's view is given equals the text of the row a plain reading
// of the files gives (records in file order, the listing rules, the bottom row first read).
void CheckEveryCell(PlacementWindow& window, const Workload& w) {
    PlacementListModel& model = window.ListModel();
    const int templates = window.ListBoxCount(IDC_TEMPLATE_LIST);
    int row = model.rowCount();
    for (const std::string& path : w.regionFiles) {
        std::vector<PlacementRecord> records;
        if (!ReadRegionPlacements(path, records)) continue;
        for (const PlacementRecord& r : records) {
            if (!PassesListingRules(r.block, templates)) continue;
            --row;
            Check(row >= 0, "no more rows than records");
            for (int column = 0; column < kPlacementColumnCount; ++column) {
                const QString shown = model.data(model.index(row, column), Qt::DisplayRole).toString();
                Check(shown.toStdString() == PlacementRowFormatter::Cell(r.block, r.script, path, column),
                      "every cell as read");
            }
        }
    }
    Check(row == 0, "no fewer rows than records");
}

}  // namespace

std::vector<Figure> WindowFigures(const Workload& w, int runs, int expectedRows, std::string& split) {
    WindowRig rig(w);
    std::vector<double> times, floors;
    for (int run = 0; run < runs; ++run) {
        floors.push_back(TimeMs([&] { WalkAndReadMap(w.mapDir); }));
        times.push_back(TimeMs([&] { rig.LoadAndPaint(); }));
    }
    split = rig.Split();
    CheckEveryCell(rig.window, w);
    Check(rig.Rows() == expectedRows, "the window listed the same rows as the in-memory host");
    Check(rig.window.ListModel().rowCount() == expectedRows, "the view knows every row");
    std::vector<Figure> figures{{"load + first paint, Qt window offscreen", Median(times), kMapFloor,
                                 Median(floors), "<= 1.6x floor", 1.6, 0}};

    CPlacementDlg& dlg = rig.window.Logic();
    const int last = rig.Rows() - 1;
    auto search = [&](const char* name, const std::string& findName, const std::string& x, const std::string& y) {
        rig.window.SetItemText(IDC_FIND_NAME, findName);
        rig.window.SetItemText(IDC_FIND_X, x);
        rig.window.SetItemText(IDC_FIND_Y, y);
        std::vector<double> samples;
        for (int run = 0; run < runs; ++run) {
            samples.push_back(TimeMs([&] { dlg.OnFindFirst(); }));
            Check(dlg.SearchPos() == last, "the search found the bottom row");
            QApplication::processEvents();
        }
        figures.push_back({name, Median(samples), "", 0, "<= 50 ms", 0, 50});
    };
    search("search all: bottom row by name", w.targetName, "", "");
    search("search all: bottom row by X and Y", "", std::to_string(w.targetX), std::to_string(w.targetY));
    return figures;
}

int WindowMemoryChild(const std::string& dir, int files) {
    const Workload w = PrepareWorkload(dir, files);
    WindowRig rig(w);
    QApplication::processEvents();
    const bool reset = ResetPeakMemory();
    const MemoryFigures before = ReadMemory();
    const double ms = TimeMs([&] { rig.LoadAndPaint(); });
    const MemoryFigures after = ReadMemory();
    std::printf("%d %zu %zu %zu %d %.2f %zu\n", rig.Rows(), before.residentBytes,
                reset ? after.peakBytes : after.peakBytes - before.peakBytes + before.residentBytes,
                after.residentBytes, reset ? 1 : 0, ms, rig.window.Logic().Rows().BytesHeld());
    return 0;
}

}  // namespace morvi::bench
