#pragma once
// "与其他服务器比较…": the behaviour of the compare window, independent of any toolkit. The
// loaded map of this server is compared with the map of the same directory in another server
// tree (ServerCompare) on a worker thread; the window is woken when it is done and then takes
// the differences: one row per placement added, changed (field by field) or removed, by file
// and key, narrowed by a filter in the filter language.

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "dialog/FindAllView.h"
#include "document/ServerCompare.h"

namespace morvi {

enum CompareColumn : int {
    CMP_COL_KIND = 0,
    CMP_COL_FILE,
    CMP_COL_KEY,
    CMP_COL_NAME,
    CMP_COL_FIELDS,
    kCompareColumnCount,
};
const FindAllColumnInfo& CompareColumnOf(int column);

class CompareView {
public:
    using Wake = std::function<void()>;   // from the worker, as FindAllView's
    explicit CompareView(Wake wake);
    ~CompareView();
    CompareView(const CompareView&) = delete;
    CompareView& operator=(const CompareView&) = delete;

    struct Request {
        std::string server;          // this server's directory
        int templateCount = 0;       // the main window's template count
        std::string mapEntry;        // the loaded map's directory entry; empty: no map loaded
        std::string mapName;
        std::string otherServer;     // the other server's directory
    };
    // Starts the comparison (stopping one still running). False, and nothing runs, when no map
    // is loaded or no other server named; Status() says which.
    bool Start(const Request& request);
    void Cancel();
    void Wait();
    bool Running() const { return m_running; }
    // On the window's thread, when woken: true when the comparison ended (its rows are in).
    bool TakeResult();

    // Narrows the rows to the differences whose placement (here or there) matches; a malformed
    // filter leaves the rows as they were and is named by Status().
    void SetFilter(const std::string& text);
    int Count() const { return static_cast<int>(m_shown.size()); }
    int Total() const { return static_cast<int>(m_rows.size()); }
    std::string CellText(int row, int column) const;
    DiffKind KindOf(int row) const;
    FindAllStatus Status() const;

private:
    struct Row {
        DiffKind kind;
        std::string file;      // relative to the map directory, marked when only one side has it
        std::string fileKey;   // relative path, for the filter
        PlacementKey key;
        int occurrence = 0;
        std::optional<PlacementRecord> ours, theirs;
        uint32_t fields = 0;
    };
    void Rebuild();

    Wake m_wake;
    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
    bool m_running = false;
    std::mutex m_mutex;
    std::optional<Expected<ServerDiff, CompareError>> m_pending;

    Request m_request;
    std::vector<Row> m_rows;
    std::vector<int> m_shown;
    PlacementFilter m_filter;
    std::optional<FilterError> m_filterError;
    std::optional<FindAllStatus> m_failure;   // the comparison could not run
    bool m_mapOnlyHere = false;
    bool m_done = false;
};

}  // namespace morvi
