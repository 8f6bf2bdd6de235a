#pragma once
// "在所有地图中查找": the behaviour of the find window, independent of any toolkit. A filter
// (the filter language) runs over every map of the map list on a worker thread; what it finds
// is handed to the window as each map is done, with progress after every file. The window is
// woken from the worker (Wake, any thread) and then takes the results on its own thread
// (TakeResults). A new search or the close of the window stops the one running.
//
// A result names its placement by map, region file, key and occurrence (listed records of the
// key before it in the file), never by list position: a double-click selects the map in the
// main window, loads it and selects that placement's row, even when other files changed.

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "data/region/NpcPlacement.h"
#include "document/PlacementRows.h"
#include "document/ServerSearch.h"
#include "texts/ProgramTexts.h"

namespace morvi {

class CPlacementDlg;
class DialogHost;

// Columns of the result list, left to right: the map, the region file (relative to the server
// directory), then the cells of the placement list's columns 0 to 9.
enum FindAllColumn : int {
    FIND_COL_MAP = 0,
    FIND_COL_FILE,
    FIND_COL_FIRST_ROW_CELL,
    kFindAllColumnCount = FIND_COL_FIRST_ROW_CELL + static_cast<int>(COL_FILE),
};

struct FindAllColumnInfo {
    TextId heading;
    int width;   // dialog units
};
const FindAllColumnInfo& FindAllColumnOf(int column);

// What a result names: a placement of a map.
struct FoundTarget {
    int mapIndex = -1;
    std::string mapEntry;   // the map's directory entry (the main window's list may have changed)
    std::string mapName;
    std::string file;       // full path of its region file
    PlacementKey key;
    int occurrence = 0;     // listed records of the key before it in the file
};

enum class OpenFoundOutcome {
    Selected,            // the map is loaded and the row selected
    MapNotListed,        // the main window's map list has no map with that directory
    PlacementGone,       // the map no longer holds the placement (its file changed)
    HiddenByListFilter,  // the row exists, but the list's filter hides it
};

struct FindAllStatus {
    std::string text;
    bool warning = false;
};

class FindAllView {
public:
    // Called from the worker thread when there is something to take; at most one call is
    // outstanding until the next TakeResults.
    using Wake = std::function<void()>;

    explicit FindAllView(Wake wake);
    ~FindAllView();   // stops the search and waits for it
    FindAllView(const FindAllView&) = delete;
    FindAllView& operator=(const FindAllView&) = delete;

    // Starts a search of every map of the server's map list (the template count is the main
    // window's: rows are the rows its list shows). A search still running is stopped first and
    // its results are dropped. False, and nothing runs, when the filter is malformed or the
    // map list cannot be read; Status() says which.
    bool Start(const std::string& serverPath, int templateCount, const std::string& filterText);
    // Stops a running search between two files (the window closes, the user stops it).
    void Cancel();
    // Waits until the worker has ended (tests; the destructor).
    void Wait();
    bool Running() const { return m_running; }

    // On the window's thread: takes what the worker has found and said since the last call.
    // Rows found are appended; returns how many.
    size_t TakeResults();

    int Count() const { return m_rows.Count(); }
    std::string CellText(int row, int column) const;
    void AppendCellText(int row, int column, std::string& out) const;
    FoundTarget Target(int row) const;
    FindAllStatus Status() const { return m_status; }
    // Maps and files the finished search could not read.
    const std::vector<SearchSkipped>& Skipped() const { return m_skipped; }
    const std::optional<SearchProgress>& Progress() const { return m_progress; }

    // A double-click on a result: the main window shows its placement (OpenFoundPlacement);
    // the status line says when it cannot.
    OpenFoundOutcome Open(int row, CPlacementDlg& dlg, DialogHost& host);

private:
    struct Found {
        int mapIndex = 0;
        int occurrence = 0;
        std::string file;
        PlacementRecord record;
    };
    struct MapInfo {
        std::string name;
        std::string entry;
    };
    void RunSearch(std::vector<ServerMap> maps, int templateCount, PlacementFilter filter);
    void Post();   // worker side: wake the window once
    void ShowRunning();
    void ShowFinished();
    int StoreRow(int row) const { return m_rows.Count() - 1 - row; }

    Wake m_wake;
    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
    bool m_running = false;

    // Handed over from the worker under the mutex.
    std::mutex m_mutex;
    std::vector<Found> m_pending;
    std::optional<SearchProgress> m_pendingProgress;
    std::optional<SearchSummary> m_pendingSummary;
    bool m_wakePosted = false;

    // The window's side.
    std::string m_serverPath;
    std::vector<MapInfo> m_maps;            // by map index
    PlacementRowStore m_rows;               // results, the first found as the bottom row
    std::vector<int> m_mapOfRow;            // by store row
    std::vector<int> m_occurrenceOfRow;     // by store row
    std::optional<SearchProgress> m_progress;
    std::vector<SearchSkipped> m_skipped;
    size_t m_mapsTotal = 0;
    FindAllStatus m_status;
};

// Shows a found placement in the main window: selects its map in the map list and loads it
// (unless that map is the one loaded and still holds the placement), then selects its row as
// a search hit does. A HiddenByListFilter outcome leaves the map loaded: the window clears
// its filter field and asks again.
OpenFoundOutcome OpenFoundPlacement(CPlacementDlg& dlg, DialogHost& host, const FoundTarget& target);

}  // namespace morvi
