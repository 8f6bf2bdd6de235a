#pragma once
// The behaviour of the main window, independent of any widget toolkit. The host calls the On...
// handlers when the user acts; the dialog reads and writes controls through DialogHost.
// Texts shown in controls are UTF-8; region files, npcs.txt and the INI files hold code page
// 936 bytes, converted at the boundary with the lossless GBK codec.

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "data/NpcPlacement.h"
#include "dialog/DialogHost.h"

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
    bool ListLoadedPlacement(const PlacementRecord& record, const std::string& filePath);
    void ShowPlacementRow(int row, const NpcPlacement& p, const std::string& storedScript);
    static RowTexts FormatRow(const NpcPlacement& p, const std::string& script);

    // --- saving and deleting (PlacementDlgStore.cpp) ---
    void AddPlacement();
    void ModifyPlacement();
    void OnDelete();                 // button 1011
    void RemoveSelectedFromFiles();

    // --- editing workflow (PlacementDlgEdit.cpp) ---
    void ResetEditArea();
    void BeginEdit();
    void OnListDblClk();
    void OnModify();                 // button 1033
    void OnTemplateDblClk();
    void OnAdd();                    // button 1010
    void OnExchange();               // button 1015
    void OnCancelEdit();             // button 1034
    void OnSave();                   // button 1027
    void OnListClick();
    void OnTemplateSetFocus();
    void OnListSetFocus();
    void OnGroupSetFocus();

    // --- search (PlacementDlgSearch.cpp) ---
    void OnFindFirst();              // button 1030
    void OnFindNext();               // button 1035
    void FindFrom();
    void ShowFoundRow(int row);

    // --- script buttons (PlacementDlgScript.cpp) ---
    void OnBrowseScript();           // button 1012
    void OnEditScript();             // button 1016

    // State, public so tests and the front end can observe it.
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
    // Row that BeginEdit loaded, kept in step with rows inserted above it or deleted; -1 when
    // that row is gone or nothing is being modified. A modify refreshes this row.
    int m_editRow = -1;
    // When not empty, the next saves of new placements go to this region file instead of one
    // chosen at random among the map's files (the command line's --file).
    std::string m_addTargetFile;

private:
    // Pseudo-random source, seeded from the tick count at every save.
    void SeedRandom();
    int NextRandom();
    // Full path of the map directory of the selected map, or nullopt when none is selected;
    // empty when the map's directory would lead out of the server tree.
    std::optional<std::string> SelectedMapDirectory() const;

    DialogHost& m_host;
    std::minstd_rand m_random;
};

// Decimal integer at the start of a text (optional blanks and sign), 0 when there is none;
// the conversion the dialog uses for numeric fields and row cells.
int TextToInt(const std::string& text);

}  // namespace morvi
