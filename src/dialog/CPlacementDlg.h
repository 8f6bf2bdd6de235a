#pragma once
// The behaviour of the main window, independent of any widget toolkit. The host calls the On...
// handlers when the user acts; the dialog reads and writes controls through DialogHost.
// Texts shown in controls are UTF-8; region files, npcs.txt and the INI files hold code page
// 936 bytes, converted at the boundary with the lossless GBK codec.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "data/history/ChangeHistorySteps.h"
#include "data/platform/FileStamp.h"
#include "data/region/NpcPlacement.h"
#include "data/region/RegionFile.h"
#include "dialog/DialogHost.h"
#include "dialog/EditRules.h"
#include "dialog/Outcomes.h"
#include "dialog/PlacementRows.h"

namespace morvi {

enum EditMode : int { EDIT_IDLE = 0, EDIT_MODIFY = 1, EDIT_ADD = 2 };

inline constexpr size_t kMaxServerPathBytes = 254;

class CPlacementDlg {
public:
    explicit CPlacementDlg(DialogHost& host);

    // --- start-up and configuration (PlacementDlgConfig.cpp) ---
    bool OnInitDialog();
    bool ConfigureServerPath(bool force);
    void OnBrowseServer();           // button 1005
    void OnExit();                   // button 1007
    void OnOK();                     // Enter: nothing
    void OnCancel();                 // Escape / close box
    bool LoadMapList();
    bool LoadTemplateList();
    void OnSysCommand(int id);       // About entry (0x0010, low four bits ignored)

    // --- layout and name tables (PlacementDlgLayout.cpp) ---
    void FillNameCombos();
    void ClearListBox(int id);

    // --- loading a map (PlacementDlgLoad.cpp) ---
    void LoadMapPlacements();        // selection change of map list 1009
    // Lists a record read from `filePath` as a new top row when it passes the listing rules.
    bool ListLoadedPlacement(const PlacementRecord& record, const std::string& filePath);
    // Shows a record in a row: row -1 inserts a new top row (whose file is `file`); any other
    // row gets the record, its file staying.
    void ShowPlacementRow(int row, const NpcPlacement& p, const std::string& storedScript,
                          const std::string& file = std::string());
    // The rows of the placement list: what every front end shows.
    const PlacementRowStore& Rows() const { return m_rows; }

    // --- saving and deleting (PlacementDlgStore.cpp) ---
    SaveOutcome AddPlacement();
    SaveOutcome ModifyPlacement();
    std::optional<DeleteReport> OnDelete();   // button 1011; nullopt when not confirmed
    DeleteReport RemoveSelectedFromFiles();

    // --- change history (PlacementDlgHistory.cpp) ---
    // The history of the server tree this window writes: every region-file write goes
    // through it. Made when first needed, again when the server directory changed.
    ChangeHistory& History();
    // The directory of the history instead of the one under the user's state directory
    // (tests, and callers that keep their own).
    void SetHistoryDirectory(std::string directory);
    // "window" (the default) or "command line": what the journal says made the changes.
    void SetHistoryProgram(std::string program) { m_historyProgram = std::move(program); }
    // The result of the last write through the history (step 0 when nothing was recorded).
    const StepResult& LastStep() const { return m_lastStep; }
    // The region files a save or delete found changed by another program since the map was
    // loaded (relative to nothing: full paths), for callers that report them.
    const std::vector<std::string>& ChangedSinceLoad() const { return m_changedSinceLoad; }

    // --- undo and redo of this window's changes (PlacementDlgUndo.cpp) ---
    // Takes back the last step made from this window (Ctrl+Z): refused with a hint, and nothing
    // written, when a file no longer holds what that step wrote. The map is loaded again
    // afterwards, so rows show the files as they are. False when nothing was undone.
    bool OnUndo();
    // Makes the last undone step again (Ctrl+Y), under the same rule.
    bool OnRedo();
    bool CanUndo() const { return !m_undoSteps.empty(); }
    bool CanRedo() const { return !m_redoSteps.empty(); }

    // --- editing workflow (PlacementDlgEdit.cpp) ---
    void ResetEditArea();
    void BeginEdit();
    void OnListDblClk();
    void OnModify();                 // button 1033
    void OnTemplateDblClk();
    void OnAdd();                    // button 1010
    void OnExchange();               // button 1015
    void OnCancelEdit();             // button 1034
    SaveOutcome OnSave();            // button 1027; NothingWritten ("idle") while idle
    void OnListClick();
    void OnTemplateSetFocus();
    void OnListSetFocus();
    void OnGroupSetFocus();

    // --- cloning a placement (PlacementDlgClone.cpp) ---
    // Row context menu "复制为新NPC" and Ctrl+D: a new placement (EDIT_ADD) filled from the first
    // selected row, saved by the next "Luu" into that row's region file. Nothing when no row is
    // selected.
    void OnClone();

    // --- search (PlacementDlgSearch.cpp) ---
    void OnFindFirst();              // button 1030
    void OnFindNext();               // button 1035
    void FindFrom();
    void ShowFoundRow(int row);

    // --- script buttons (PlacementDlgScript.cpp) ---
    void OnBrowseScript();           // button 1012
    void OnEditScript();             // button 1016

    // --- state, for callers that need to know it ---
    int EditMode() const { return m_editMode; }
    const std::string& ServerPath() const { return m_serverPath; }
    bool DebugMode() const { return m_debugMode; }
    const std::vector<std::string>& MapPaths() const { return m_mapPaths; }
    const std::string& EditFile() const { return m_editFile; }
    int CurTemplate() const { return m_curTemplate; }
    int SearchPos() const { return m_searchPos; }
    // Row that BeginEdit loaded, kept in step with rows inserted above it or deleted; -1 when
    // that row is gone or nothing is being modified. A modify refreshes this row.
    int EditRow() const { return m_editRow; }
    // The key by which a modify finds its record (as BeginEdit took it from the row).
    PlacementKey EditKey() const {
        return {m_origTemplate, m_origPosX, m_origPosY, m_origOffsetX, m_origOffsetY};
    }
    // When not empty, the next saves of new placements go to this region file instead of one
    // chosen at random among the map's files (the command line's --file).
    void SetAddTargetFile(std::string path) { m_addTargetFile = std::move(path); }
    const std::string& AddTargetFile() const { return m_addTargetFile; }
    // The region file of the row a clone started from; empty when no clone is being composed.
    // Unlike the target above it lasts only while that new placement is edited: a reset of the
    // edit area (after its save, a cancel, a map load), "Them" or "Sua" forgets it. With "Tiep
    // Tuc..." checked the save keeps the edit area, and the next copies go to the same file.
    std::string CloneTargetFile() const { return m_clone ? m_clone->file : std::string(); }
    // The command line and the benchmark name the server directory themselves instead of
    // reading MorviConfig.ini (no folder browser, nothing written).
    void SetServerPath(std::string path) { m_serverPath = std::move(path); }

private:
    // The dialog tests set up states (a search position, a mode) directly.
    friend struct PlacementDlgTestAccess;

    // What BeginEdit put into the edit area, so a save can tell which fields the user left as
    // they were: those keep the record's own stored values.
    struct EditBaseline {
        bool valid = false;
        int typeSelection = -1;
        int groupSelection = -1;
        int seriesSelection = -1;
        std::string script;
        std::string storedScript;   // the row's stored script bytes (empty: no script)
        uint8_t type = 0, group = 0, series = 0;   // the row's stored codes
    };
    // Where a clone came from: its file, and its record, which the copy starts from so that
    // the bytes the edit area does not show (and codes and a script left as they were) stay.
    struct CloneSource {
        std::string file;
        PlacementRecord record;
    };
    void LoadRowIntoEditArea(int row);
    // Undo and redo: takes back the newest step of `from` and shows the outcome.
    bool TakeStepBack(std::vector<int64_t>& from, std::vector<int64_t>& to, const char* nothing,
                      const char* refused, const char* done);
    // False when a new placement being composed must stay (the user said no to dropping it).
    bool MayDiscardNewPlacement();
    void ShowNewPlacementHint();
    EditFields ReadEditFields() const;
    void ForgetEditBaseline() { m_baseline = EditBaseline{}; }
    SaveOutcome Refused(const EditRefusal& refusal);
    void ShowDeleteOutcome(const DeleteReport& report);

    // Writes the files of one user action through the history as one step; a step that
    // wrote anything becomes the one Ctrl+Z takes back, and ends what Ctrl+Y could redo.
    StepResult WriteStep(const std::string& operation, const std::vector<FileChange>& files);
    // The hint a file that could not be written through the history shows instead of the
    // window's own failure hint; empty when the window's own hint applies.
    static std::string HistoryFailureHint(const FileWriteResult& file);
    // One edit of one region file's image, written through the history as a step of its own.
    // `edit` edits the image and says which record it changed. `historyHint` receives the
    // hint to show instead of the window's own failure hint (see HistoryFailureHint).
    using RecordEdit = std::function<RegionEditResult(RegionImageEdit& image, RecordChange& change)>;
    RegionResult WriteRegionEdit(const std::string& operation, const std::string& path, const RecordEdit& edit,
                                 std::string* historyHint);
    // Size and modification time of each region file as the map's load read it, to notice
    // files another program changed since.
    // Notes `path` in ChangedSinceLoad() when it differs from its stamp at load.
    void CheckChangedSinceLoad(const std::string& path);
    // After our own write: the file as we left it is the file as loaded.
    void RestampAfterWrite(const std::string& path);
    // The hint naming files changed by another program since the load; shown after a save or
    // delete did what it does. Nothing when none was.
    void ShowChangedSinceLoadHint();
    std::string SelectedMapName() const;

    std::string m_serverPath;        // native path, at most 254 bytes, no trailing separator
    bool m_debugMode = false;
    std::vector<std::string> m_mapPaths;   // map directories below <server>/maps, UTF-8
    int m_editMode = EDIT_IDLE;
    int m_curTemplate = 0;
    int m_origTemplate = 0;
    int m_origPosX = 0;
    int m_origPosY = 0;
    int m_origOffsetX = 0;
    int m_origOffsetY = 0;
    std::string m_editFile;
    int m_searchPos = -1;
    int m_editRow = -1;
    std::string m_addTargetFile;
    std::optional<CloneSource> m_clone;
    EditBaseline m_baseline;
    PlacementRowStore m_rows;

    std::unique_ptr<ChangeHistory> m_history;
    std::string m_historyFor;          // the server path m_history was made for
    std::string m_historyDirectory;    // empty: under the user's state directory
    std::string m_historyProgram = "window";
    StepResult m_lastStep;
    std::vector<int64_t> m_undoSteps;  // steps made from this window, oldest first
    std::vector<int64_t> m_redoSteps;  // steps the undos wrote, to take back again
    std::map<std::string, FileStamp> m_loadStamps;
    std::vector<std::string> m_changedSinceLoad;

    // Pseudo-random source, seeded from the tick count at every save.
    void SeedRandom();
    int NextRandom();
    // Full path of the map directory of the selected map, or nullopt when none is selected;
    // empty when the map's directory would lead out of the server tree.
    std::optional<std::string> SelectedMapDirectory() const;

    DialogHost& m_host;
    std::minstd_rand m_random;
};

}  // namespace morvi
