#pragma once
// The problems panel's behaviour, independent of any toolkit: the findings of the loaded map
// (or of every map of the map list, read on a worker thread with progress and a cancel), each
// as a line of cells (map, file, offset, row, reason); a click leads to the placement's row in
// the list; a safe fix (an exact duplicate, a hidden record the user picks) is made as one step
// of the history through the window's document and taken back by one undo.
//
// Front ends show Cells() and Status(), forward clicks and buttons, and call Poll() on a timer:
// it takes in what the worker found and looks the loaded map over again whenever the document
// read or wrote its files (a load, F5, a save, an undo), so the panel never shows stale offsets.

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "document/MapFindings.h"

namespace morvi {

class CPlacementDlg;
class DialogHost;

enum class ProblemsColumn { Map, File, Offset, Row, Reason, Count };

struct ProblemEntry {
    int mapIndex = -1;          // place in the map list; -1 when not known
    std::string mapName;        // UTF-8
    std::string mapDirectory;   // full path
    bool unreadable = false;    // the file could not be read (no finding)
    MapFinding finding;
};

class ProblemsView {
public:
    ProblemsView(CPlacementDlg& dlg, DialogHost& host);
    ~ProblemsView();   // stops the worker and waits for it
    ProblemsView(const ProblemsView&) = delete;
    ProblemsView& operator=(const ProblemsView&) = delete;

    // --- what the panel shows ---
    static std::string Heading(ProblemsColumn column);
    size_t Count() const { return m_entries.size(); }
    const ProblemEntry& Entry(size_t index) const { return m_entries[index]; }
    std::string Cell(size_t index, ProblemsColumn column) const;
    // The reason words of a finding, as the panel shows them.
    std::string Reason(const ProblemEntry& entry) const;
    // Progress while every map is checked, else the summary of the last check.
    std::string Status() const { return m_status; }
    bool Running() const { return m_worker.joinable(); }
    // While running: maps done and maps to check (for a progress bar).
    size_t MapsDone() const { return m_mapsDone; }
    size_t MapsTotal() const { return m_mapsTotal; }

    // --- what the user does ---
    // Checks the loaded map now (a map's files take moments), its lines alone; "请先选择地图"
    // without one.
    void CheckLoadedMap();
    // Starts checking every map of the map list on a worker thread; Poll() shows the progress.
    void StartEveryMap();
    void Cancel();
    // A click on a line: the placement's row is selected in the list (a finding of another map
    // loads that map first). What became of it; the status line says it when not selected.
    enum class Shown { Selected, NotListed, FilteredOut, NoRecord };
    Shown OnActivate(size_t index);
    // The fix a line offers ("" when none) and whether it can be made now (the finding is of
    // the loaded map and has a safe fix).
    std::string FixText(size_t index) const;
    bool CanFix(size_t index) const;
    // Asks, then makes the fix as one history step; the map is read again keeping the user's
    // place and the panel checks it again. False when nothing was written.
    bool OnFix(size_t index);

    // --- the front end's timer ---
    // Takes in the worker's findings and progress, and checks the loaded map again when the
    // document's files were read or written since. True when the lines or the status changed.
    bool Poll();

private:
    struct Shared;
    // The loaded map's lines made again; with every map's lines, in place of its former ones.
    void RecheckLoadedMap();
    void ReplaceMapEntries(const std::string& directory, std::vector<ProblemEntry> entries);
    void ShowSummary(bool cancelled);
    bool LoadedMapEntry(const ProblemEntry& entry) const;

    CPlacementDlg& m_dlg;
    DialogHost& m_host;
    std::vector<ProblemEntry> m_entries;
    std::string m_status;
    bool m_everyMap = false;         // the lines are of every map
    bool m_shown = false;            // a check was made: Poll keeps the loaded map current
    uint64_t m_generation = 0;       // the document's generation the loaded map was checked at
    size_t m_files = 0;              // files checked, for the summary
    size_t m_maps = 0;
    size_t m_mapsDone = 0;
    size_t m_mapsTotal = 0;
    std::shared_ptr<Shared> m_shared;
    std::thread m_worker;
};

}  // namespace morvi
