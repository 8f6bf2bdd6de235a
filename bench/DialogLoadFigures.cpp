#include "LoadFigures.h"

#include <stdexcept>

#include "Floors.h"
#include "dialog/CPlacementDlg.h"
#include "dialog/MemoryHost.h"

namespace morvi::bench {
namespace {

constexpr char kMapFloor[] = "walk map dirs + read every file";

void Check(bool condition, const char* what) {
    if (!condition) throw std::runtime_error(std::string("benchmark check failed: ") + what);
}

// The window logic on the in-memory host, set up as the command line sets it up on a server
// tree (templates, code combos, the map list), with map 0 selected. Lean: the host records
// nothing, so a load measures the window logic and not the host.
struct DialogRig {
    MemoryHost host;
    CPlacementDlg dlg{host};
    explicit DialogRig(const Workload& w) {
        host.Attach(&dlg);
        dlg.SetServerPath(w.server);
        dlg.LoadTemplateList();
        dlg.FillNameCombos();
        Check(dlg.LoadMapList() && !dlg.MapPaths().empty(), "the dialog loaded the map list");
        host.SelectListBox(IDC_MAP_LIST, 0);
        host.lean = true;
    }
    void CheckLoaded() const {
        const int rows = dlg.Rows().Count();
        Check(rows > 0 && host.list.RowCount() == rows, "the dialog listed rows");
        Check(host.FrameCaption() == "NPC配置列表完成!共有NPC配置信息[" + std::to_string(rows) + "]条!",
              "final caption");
    }
};

}  // namespace

Figure DialogLoadFigure(const Workload& w, int runs, int& rows) {
    DialogRig rig(w);
    std::vector<double> times, floors;
    for (int run = 0; run < runs; ++run) {
        floors.push_back(TimeMs([&] { WalkAndReadMap(w.mapDir); }));
        times.push_back(TimeMs([&] { rig.dlg.LoadMapPlacements(); }));
    }
    rig.CheckLoaded();
    rows = rig.dlg.Rows().Count();
    return {"load, window logic on MemoryHost (lean)", Median(times), kMapFloor, Median(floors),
            "<= 1.3x floor", 1.3, 0};
}

Figure ColdDialogLoadFigure(const Workload& w, int runs) {
    Figure f{"load, window logic, cold page cache", 0, "the same floor, cold", 0, "<= 1.25x floor", 1.25, 0};
    DialogRig rig(w);
    if (!DropPageCache()) {
        f.skipped = true;
        f.floorName = "cannot drop the page cache here";
        return f;
    }
    std::vector<double> times, floors;
    for (int run = 0; run < runs; ++run) {
        DropPageCache();
        floors.push_back(TimeMs([&] { WalkAndReadMap(w.mapDir); }));
        DropPageCache();
        times.push_back(TimeMs([&] { rig.dlg.LoadMapPlacements(); }));
    }
    rig.CheckLoaded();
    f.ms = Median(times);
    f.floorMs = Median(floors);
    return f;
}

}  // namespace morvi::bench
