#pragma once
// The behaviour of the main window, independent of any widget toolkit: the presenter of a
// MapDocument. The host calls the On... handlers when the user acts; the dialog reads and
// writes controls through DialogHost, turns what the user typed into drafts for the document,
// and the document's results and error codes into the window's texts.
// Texts shown in controls are UTF-8; region files, npcs.txt and the INI files hold code page
// 936 bytes, converted at the boundary with the lossless GBK codec.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/history/ChangeHistorySteps.h"
#include "data/region/NpcPlacement.h"
#include "dialog/DialogHost.h"
#include "dialog/BulkEditForm.h"
#include "dialog/Outcomes.h"
#include "dialog/PlacementRowView.h"
#include "document/MapDocument.h"
#include "texts/Language.h"
#include "texts/ProgramTexts.h"

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
    // "语言 / Language" (system menu and row menu): every text of the window in `language` at
    // once, remembered as Language in [MorviConfig] of MorviConfig.ini ("en", "vi"; empty for
    // the original texts). A failed write is said in a warning; the language changes anyway.
    void OnLanguageChosen(Language language);
    // The language MorviConfig.ini names; OnInitDialog shows it before anything else.
    void ApplyConfiguredLanguage();

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
    const PlacementRowStore& Rows() const { return m_doc.Rows(); }
    // The rows as the list shows them (sorted and narrowed): every row the host names is a
    // row of this view.
    const PlacementRowView& ListRows() const { return m_view; }
    // The loaded map, its edits and its history.
    MapDocument& Document();
    const MapDocument& Document() const { return m_doc; }

    // --- saving and deleting (PlacementDlgStore.cpp) ---
    SaveOutcome AddPlacement();
    SaveOutcome ModifyPlacement();
    std::optional<DeleteReport> OnDelete();   // button 1011; nullopt when not confirmed
    // Removes the records of the selected rows through the document, as one step; the rows whose
    // record left its file leave the list, the others stay selected.
    DeleteReport RemoveSelectedFromFiles();

    // --- change history (PlacementDlgHistory.cpp) ---
    // The history of the server tree this window writes: every region-file write goes
    // through it. Made when first needed, again when the server directory changed.
    ChangeHistory& History();
    // The directory of the history instead of the one under the user's state directory
    // (tests, and callers that keep their own).
    void SetHistoryDirectory(std::string directory);
    // "window" (the default) or "command line": what the journal says made the changes.
    void SetHistoryProgram(std::string program) { m_doc.SetProgram(std::move(program)); }
    // The result of the last write through the history (step 0 when nothing was recorded).
    const StepResult& LastStep() const { return m_doc.LastStep(); }
    // The region files a save or delete found changed by another program since the map was
    // loaded (relative to nothing: full paths), for callers that report them.
    const std::vector<std::string>& ChangedSinceLoad() const { return m_doc.ChangedSinceLoad(); }

    // --- undo and redo of this window's changes (PlacementDlgUndo.cpp) ---
    // Takes back the last step made from this window (Ctrl+Z): refused with a hint, and nothing
    // written, when a file no longer holds what that step wrote. The map is loaded again
    // afterwards, so rows show the files as they are. False when nothing was undone.
    bool OnUndo();
    // Makes the last undone step again (Ctrl+Y), under the same rule.
    bool OnRedo();
    // What the last undo or redo wrote; nullopt when the last one did nothing.
    const std::optional<RevertReport>& LastStepBack() const { return m_lastStepBack; }
    bool CanUndo() const { return m_doc.CanUndo(); }
    bool CanRedo() const { return m_doc.CanRedo(); }

    // --- editing workflow (PlacementDlgEdit.cpp) ---
    void ResetEditArea();
    void BeginEdit();
    void OnListDblClk();
    void OnModify();                 // button 1033
    void OnTemplateDblClk();
    void OnAdd();                    // button 1010
    void OnExchange();               // button 1015
    void OnCancelEdit();             // button 1034
    SaveOutcome OnSave();            // button 1027; NothingWritten (Why::Idle) while idle
    void OnListClick();
    void OnTemplateSetFocus();
    void OnListSetFocus();
    void OnGroupSetFocus();

    // --- cloning a placement (PlacementDlgClone.cpp) ---
    // Row context menu "复制为新NPC" and Ctrl+D: a new placement (EDIT_ADD) filled from the first
    // selected row, saved by the next "Luu" into that row's region file. Nothing when no row is
    // selected.
    void OnClone();

    // --- sorting and narrowing the list (PlacementDlgView.cpp) ---
    // A click on a column heading: ascending, descending, then the file order again.
    void OnHeadingClick(int column);
    // The list's filter field changed (UTF-8, as typed). A malformed term leaves the list as
    // it was and is named by ListStatus().
    void OnListFilterChanged(const std::string& text);
    // What the status strip says about the list: rows shown of all, the selection and its
    // counts by type, or the filter's error (a warning).
    struct ListStatusLine {
        std::string text;
        bool warning = false;
    };
    ListStatusLine ListStatus() const;
    // The store rows of the rows the list has selected, top row of the list first.
    std::vector<int> SelectedStoreRows() const;

    // --- the map again, where the user was (PlacementDlgReload.cpp) ---
    // F5: reads the loaded map again; the selected rows, the focus mark and the row the edit
    // area modifies follow their placements (file, key and which record of that key), where
    // they still exist. The edit area keeps what was typed. Another map selected (or none
    // loaded): loads it as a selection does. Returns the rows listed.
    int ReloadKeepingPlace();

    // --- bulk edit (PlacementDlgBulk.cpp) ---
    // "批量修改…" (row menu, Ctrl+E): the fields the form sets are stored in every selected
    // placement, each file rewritten once, one step of the history. The hint line says how
    // many changed and names the rows that could not take the change (nothing written for them).
    struct BulkEditOutcome {
        bool written = false;
        int selected = 0;
        int changed = 0;
        std::vector<std::string> refused;   // names of the rows left as they were
        std::optional<DocumentError> error; // the whole edit refused
        std::vector<std::string> files;     // region files written
    };
    BulkEditOutcome OnBulkEdit(const BulkEditForm& form);

    // --- the map view (PlacementDlgMap.cpp) ---
    // The selected placements dragged on the map by (dx, dy) whole units: a bulk edit's move.
    BulkEditOutcome OnMapMove(int dx, int dy);
    // A double click on an empty spot of the map: a new placement there, as "Them" starts one,
    // with X and Y filled from the spot.
    void OnMapAddAt(int x, int y);

    // --- search (PlacementDlgSearch.cpp) ---
    void OnFindFirst();              // button 1030
    void OnFindNext();               // button 1035
    void FindFrom();
    void ShowFoundRow(int row);

    // --- script buttons (PlacementDlgScript.cpp) ---
    void OnBrowseScript();           // button 1012
    void OnEditScript();             // button 1016

    // --- state, for callers that need to know it ---
    int EditMode() const { return m_session.mode; }
    const std::string& ServerPath() const { return m_serverPath; }
    bool DebugMode() const { return m_debugMode; }
    const std::vector<std::string>& MapPaths() const { return m_mapPaths; }
    const std::string& EditFile() const { return m_session.file; }
    int CurTemplate() const { return m_session.templateIndex; }
    int SearchPos() const { return m_searchPos; }
    // Row that BeginEdit loaded, kept in step with rows inserted above it or deleted; -1 when
    // that row is gone or nothing is being modified. A modify refreshes this row.
    int EditRow() const { return m_session.row; }
    // The key by which a modify finds its record (as BeginEdit took it from the row).
    PlacementKey EditKey() const { return m_session.key; }
    // When not empty, the next saves of new placements go to this region file instead of one
    // chosen at random among the map's files (the command line's --file).
    void SetAddTargetFile(std::string path) { m_addTargetFile = std::move(path); }
    const std::string& AddTargetFile() const { return m_addTargetFile; }
    // The region file of the row a clone started from; empty when no clone is being composed.
    // Unlike the target above it lasts only while that new placement is edited: a reset of the
    // edit area (after its save, a cancel, a map load), "Them" or "Sua" forgets it. With "Tiep
    // Tuc..." checked the save keeps the edit area, and the next copies go to the same file.
    std::string CloneTargetFile() const { return m_session.clone ? m_session.clone->file : std::string(); }
    // The command line and the benchmark name the server directory themselves instead of
    // reading MorviConfig.ini (no folder browser, nothing written).
    void SetServerPath(std::string path) { m_serverPath = std::move(path); }

private:
    // The dialog tests set up states (a search position, a mode) directly.
    friend struct PlacementDlgTestAccess;

    // What BeginEdit put into the edit area, so a save can tell which fields the user left as
    // they were: those are not set in the draft, and keep the record's own stored values.
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
    // The edit session: idle, modifying the placement of a key, or adding (a copy of a row when
    // `clone` is set). Key and file outlive the session; a reset zeroes the template numbers.
    struct EditSession {
        morvi::EditMode mode = EDIT_IDLE;
        int templateIndex = 0;       // what the next save writes as the template
        PlacementKey key;            // modifying: the record's key as BeginEdit took it
        std::string file;            // modifying: its region file
        int row = -1;                // modifying: the row the save refreshes, -1 when gone
        std::optional<CloneSource> clone;
        EditBaseline baseline;
    };
    // Keeps the session's row in step with the document's rows and tells the host.
    // While the list is sorted or narrowed, or within a batch, it translates store rows into
    // list rows: outside a batch each change rebuilds the view; in a batch (a load, a delete or
    // an edit of many rows) the view is rebuilt once at its end, the selection following its
    // placements.
    class RowForwarder : public RowObserver {
    public:
        explicit RowForwarder(CPlacementDlg& dlg) : m_dlg(dlg) {}
        void RowsReset() override;
        void RowsInsertedAtTop(int count) override;
        void RowChanged(int row) override;
        void RowRemoved(int row) override;
        void RowsRemoved(const std::vector<int>& rowsAscending) override;

        void BeginBatch();
        void EndBatch();
        // Rebuilds the view now and shows it, the selection following its placements; the
        // store rows `shift` says are where the selected rows went (or -1: gone).
        void Rearrange(const std::function<int(int storeRow)>& shift = {});

    private:
        void FlushRemovals();
        CPlacementDlg& m_dlg;
        int m_batch = 0;
        std::vector<int> m_tracked;     // selected store rows, in a batch
        int m_trackedFocus = -1;
        std::vector<int> m_removals;    // store rows removed in a batch, not yet applied
    };
    // Holds the list's view still while many rows change.
    class RowBatch {
    public:
        RowBatch(CPlacementDlg& dlg, bool active = true) : m_forwarder(active ? &dlg.m_forwarder : nullptr) {
            if (m_forwarder) m_forwarder->BeginBatch();
        }
        ~RowBatch() {
            if (m_forwarder) m_forwarder->EndBatch();
        }
        RowBatch(const RowBatch&) = delete;
        RowBatch& operator=(const RowBatch&) = delete;

    private:
        RowForwarder* m_forwarder;
    };

    void LoadRowIntoEditArea(int row);
    // Sets the language and has the host and the dialog's own texts follow it.
    void ShowLanguage(Language language);
    // Undo and redo: shows the outcome of the document's step back.
    bool ShowStepBack(const Expected<RevertReport, DocumentError>& result, TextId nothing, TextId refused,
                      TextId done);
    // False when a new placement being composed must stay (the user said no to dropping it).
    bool MayDiscardNewPlacement();
    void ShowNewPlacementHint();
    // The edit area as a draft: what the user typed, less what they left as the row put it.
    PlacementDraft DraftFromEditArea(bool modifying) const;
    SaveOutcome Refused(const DocumentError& error);
    void ShowDeleteOutcome(const DeleteReport& report);
    // The hint naming files changed by another program since the load; shown after a save or
    // delete did what it does. Nothing when none was.
    void ShowChangedSinceLoadHint();
    std::string SelectedMapName() const;

    std::string m_serverPath;        // native path, at most 254 bytes, no trailing separator
    bool m_debugMode = false;
    std::vector<std::string> m_mapPaths;   // map directories below <server>/maps, UTF-8
    EditSession m_session;
    int m_searchPos = -1;
    std::string m_addTargetFile;
    MapDocument m_doc;
    PlacementRowView m_view{m_doc.Rows()};
    std::optional<FilterError> m_filterError;
    std::optional<RevertReport> m_lastStepBack;   // the last filter text typed did not parse
    RowForwarder m_forwarder{*this};

    // Full path of the map directory of the selected map, or nullopt when none is selected;
    // empty when the map's directory would lead out of the server tree.
    std::optional<std::string> SelectedMapDirectory() const;

    DialogHost& m_host;
};

}  // namespace morvi
