#include "BulkFigures.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "Floors.h"
#include "data/platform/FileStamp.h"
#include "dialog/CPlacementDlg.h"
#include "dialog/MemoryHost.h"
#include "dialog/PlacementRowView.h"
#include "document/PlacementFilter.h"

namespace morvi::bench {
namespace {

constexpr char kRewriteFloor[] = "every file: journal line + copy, each fsync";

void Check(bool condition, const char* what) {
    if (!condition) throw std::runtime_error(std::string("benchmark check failed: ") + what);
}

// The window logic on the lean in-memory host with map 0 loaded, its history beside the tree.
struct BulkRig {
    MemoryHost host;
    CPlacementDlg dlg{host};
    std::string historyDir;
    explicit BulkRig(const Workload& w) : historyDir(w.server + "-bulk-history") {
        host.Attach(&dlg);
        dlg.SetServerPath(w.server);
        dlg.SetHistoryDirectory(historyDir);
        dlg.LoadTemplateList();
        dlg.FillNameCombos();
        Check(dlg.LoadMapList() && !dlg.MapPaths().empty(), "the dialog loaded the map list");
        host.SelectListBox(IDC_MAP_LIST, 0);
        host.lean = true;
        dlg.LoadMapPlacements();
    }
    // A fresh history for every run, so each undo reads a journal of the same size.
    void FreshHistory() {
        std::filesystem::remove_all(historyDir);
        dlg.SetHistoryDirectory(historyDir);
    }
    std::vector<int> AllRows() const {
        std::vector<int> rows(static_cast<size_t>(dlg.Rows().Count()));
        for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
        return rows;
    }
};

// The least a rewrite of every region file needs: per file the history's journal line (as many
// bytes as the file holds: the records it records) and a copy of the file, each flushed.
double RewriteFloor(const Workload& w, const std::string& journal) {
    std::vector<std::string> copies;
    copies.reserve(w.regionFiles.size());
    const double ms = TimeMs([&] {
        for (const std::string& file : w.regionFiles) {
            AppendWithFlush(journal, static_cast<size_t>(std::filesystem::file_size(file)));
            copies.push_back(CopyWithFlush(file));
        }
    });
    for (const std::string& copy : copies) RemoveCopy(copy);
    std::filesystem::remove(journal);
    return ms;
}

}  // namespace

std::vector<Figure> BulkFigures(const Workload& w, int runs) {
    BulkRig rig(w);
    const int rows = rig.dlg.Rows().Count();
    Check(rows > 0, "the map listed rows");
    const std::string journal = w.server + "-bulk-floor-journal";

    std::vector<double> deletes, undos, edits, floors;
    for (int run = 0; run < runs; ++run) {
        rig.FreshHistory();
        floors.push_back(RewriteFloor(w, journal));

        // Select all, "Xoa", yes: every record out of every file, one step.
        rig.host.list.ClearSelection();
        for (int row = 0; row < rows; ++row) rig.host.list.SelectRow(row);
        rig.host.answers.push_back(MessageAnswer::Yes);
        std::optional<DeleteReport> report;
        deletes.push_back(TimeMs([&] { report = rig.dlg.OnDelete(); }));
        Check(report && report->removed == rows && rig.dlg.Rows().Count() == 0, "select-all delete removed every row");

        // Ctrl+Z: the step taken back and the map loaded again.
        bool undone = false;
        undos.push_back(TimeMs([&] { undone = rig.dlg.OnUndo(); }));
        Check(undone && rig.dlg.Rows().Count() == rows, "the undo brought every row back");

        // Every row's group and series changed and moved one step right where it can be.
        BulkEdit edit;
        edit.group = 5;
        edit.series = 3;
        edit.moveX = 1;
        const std::vector<int> all = rig.AllRows();
        Expected<BulkEditReport, DocumentError> edited = MakeUnexpected(DocumentError{});
        edits.push_back(TimeMs([&] { edited = rig.dlg.Document().EditMany(all, edit); }));
        Check(edited && edited->changed > rows * 9 / 10, "the bulk edit changed the rows");
        Check(rig.dlg.OnUndo() && rig.dlg.Rows().Count() == rows, "the bulk edit was taken back");   // untimed
    }
    std::vector<Figure> figures;
    figures.push_back({"select-all delete (" + std::to_string(rows) + " rows), window logic", Median(deletes),
                       kRewriteFloor, Median(floors), "<= 5x floor", 5, 0});
    figures.push_back({"undo of it (+ reload of the map)", Median(undos), kRewriteFloor, Median(floors), "<= 5x floor", 5, 0});
    figures.push_back({"bulk edit of every row (group, series, move)", Median(edits), kRewriteFloor, Median(floors),
                       "<= 5x floor", 5, 0});

    // One keystroke in a filter field: the text parsed again and every row matched. Bare text
    // looks at each row's name, script and file.
    const PlacementRowStore& store = rig.dlg.Rows();
    const char* const keystrokes[] = {"gu", "gua", "guar", "type:Enemy x:100-900 script:*"};
    std::vector<double> filters, scans;
    size_t kept = 0, seen = 0;
    for (int run = 0; run < runs; ++run) {
        scans.push_back(TimeMs([&] {
            // The floor: every row's block read once and one field compared.
            std::vector<int> shown;
            for (int row = 0; row < rows; ++row)
                if (store.Block(row).PosX() < 500) shown.push_back(row);
            seen = shown.size();
        }));
        for (const char* text : keystrokes) {
            filters.push_back(TimeMs([&] {
                const Expected<PlacementFilter, FilterError> filter = PlacementFilter::Parse(text);
                std::vector<int> shown;
                for (int row = 0; row < rows; ++row)
                    if (filter->Matches(store, row)) shown.push_back(row);
                kept += shown.size();
            }));
        }
    }
    Check(seen > 0, "the scan saw rows");
    Figure filter{"filter keystroke over every row (median of 4 texts)", Median(filters),
                  "plain scan: read every block, compare x", Median(scans), "<= 50 ms", 0, 50};
    figures.push_back(filter);

    // A click on a heading: every row sorted by the column, numbers as numbers (X) and texts as
    // text (name), in a fresh view of the rows each time, as the first click makes it.
    std::vector<double> byNumber, byText, plainSorts;
    for (int run = 0; run < runs; ++run) {
        plainSorts.push_back(TimeMs([&] {
            // The floor: every row's X read from its block and the rows sorted by it.
            std::vector<std::pair<int, int>> keyed;
            keyed.reserve(static_cast<size_t>(rows));
            for (int row = 0; row < rows; ++row) keyed.emplace_back(store.Block(row).PosX(), row);
            std::stable_sort(keyed.begin(), keyed.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
        }));
        for (const auto& [column, times] : {std::pair{COL_POS_X, &byNumber}, std::pair{COL_NAME, &byText}}) {
            PlacementRowView view(store);
            times->push_back(TimeMs([&] { view.ClickHeading(column); }));
            Check(view.Count() == rows && view.SortColumn() == column, "the view sorted every row");
        }
    }
    const std::string sortFloor = "plain stable sort of the rows by X";
    figures.push_back({"sort of " + std::to_string(rows) + " rows by X (heading click)", Median(byNumber), sortFloor,
                       Median(plainSorts), "<= 100 ms", 0, 100});
    figures.push_back({"sort of " + std::to_string(rows) + " rows by name (heading click)", Median(byText), sortFloor,
                       Median(plainSorts), "<= 100 ms", 0, 100});
    std::filesystem::remove_all(rig.historyDir);
    return figures;
}

}  // namespace morvi::bench
