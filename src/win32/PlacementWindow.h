#pragma once
// The main window on Windows: dialog template 102 with real Win32 controls, as the host of the
// toolkit-free window logic. It decides nothing: control notifications go to CPlacementDlg's
// handlers, and the controls show what CPlacementDlg tells the host. Texts are UTF-8 at the host
// boundary and UTF-16 (W functions) towards Windows.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "dialog/CPlacementDlg.h"
#include "dialog/DialogHost.h"
#include "dialog/DiskWatch.h"
#include "dialog/StatusLine.h"
#include "dialog/WindowGrowth.h"
#include "win32/CHyperlinkLabel.h"
#include "win32/DpiLayout.h"
#include "win32/CompareWindow.h"
#include "win32/FilteredListBox.h"
#include "win32/FindAllWindow.h"
#include "win32/MapViewWindow.h"
#include "win32/ProblemsPanel.h"
#include "texts/Language.h"
#include "win32/ReportListView.h"

namespace morvi::win32 {

// The placement list as a view of the dialog's row store (CPlacementDlg::Rows()): it keeps no
// texts, only tells the owner-data control what changed; the control keeps the selection.
class StoreRowList : public PlacementListHost {
public:
    explicit StoreRowList(ReportListView& view) : m_view(view) {}
    // Called after every change of the rows (the map view follows them).
    void OnRowsChanged(std::function<void()> changed) { m_changed = std::move(changed); }
    void RowsReset() override { m_view.Reset(); Changed(); }
    void RowsInsertedAtTop(int count) override { m_view.InsertedAtTop(count); Changed(); }
    void RowChanged(int row) override { m_view.Changed(row); Changed(); }
    void RowRemoved(int row) override { m_view.Removed(row); Changed(); }
    void RowsRemoved(const std::vector<int>& rowsAscending) override { m_view.RemovedRows(rowsAscending); Changed(); }
    int NextSelectedRow(int after) const override { return m_view.NextSelected(after); }
    void SelectRow(int row) override { m_view.Select(row); }
    void ScrollRowToTop(int row) override { m_view.ScrollToTop(row); }
    void RepaintNow() override { m_view.RepaintNow(); }
    void RowsRearranged(const std::vector<int>& selected, int focused) override {
        m_view.Rearranged(selected, focused);
        Changed();
    }
    int FocusedRow() const override { return m_view.Focused(); }

private:
    void Changed() {
        if (m_changed) m_changed();
    }
    ReportListView& m_view;
    std::function<void()> m_changed;
};

class PlacementWindow : public DialogHost {
public:
    // WM_COMMAND ids of the row context menu's entries (notification 0) and of the keys
    // (notification 1), clear of the control ids and IDOK/IDCANCEL.
    enum ExtraCommand : int {
        kMenuEdit = 0x7101,
        kMenuClone,
        kMenuDelete,
        kMenuAbout,
        kKeyFocusSearchName,
        kKeyReloadMap,
        kKeyClone,
        kMenuUndo,
        kMenuRedo,
        kMenuCopyRows,
        kMenuMapView,
        kMenuFindAll,
        kMenuCompare,
        kMenuBulkEdit,
        // The row menu's "语言 / Language" entries: kMenuLanguage + the choice's index.
        kMenuLanguage = 0x7180,
    };
    // The system menu's "语言 / Language" entries: kLanguageCommand + 0x10 * the choice's index
    // (the window system keeps the low four bits of a system command).
    static constexpr UINT kLanguageCommand = 0x0020;
    static constexpr UINT kLanguageCommandStep = 0x0010;

    // The status strip along the bottom (GrowingLayout.cpp), clear of the other ids.
    static constexpr int kStatusStripId = 0x7201;
    // The template filter above the template list (GrowingLayout.cpp).
    static constexpr int kTemplateFilterId = 0x7202;
    // The placement list's filter field and the list's status line (GrowingLayout.cpp).
    static constexpr int kListFilterId = 0x7203;
    static constexpr int kListStatusId = 0x7204;
    // The problems panel's entry of the row menu and its key (ProblemsLink.cpp).
    static constexpr int kMenuProblems = 0x7160;
    // The look at the loaded files' stamps (ProblemsLink.cpp).
    static constexpr UINT_PTR kDiskWatchTimer = 0x7161;

    PlacementWindow();
    ~PlacementWindow() override;

    // Runs the window modally from template 102 (the first-run folder browser, if any, comes
    // before the window shows); returns the dialog's result.
    INT_PTR DoModal(HWND owner = nullptr);
    HWND Window() const { return m_hwnd; }
    CPlacementDlg& Logic() { return m_dlg; }
    // The problems panel; nullptr until first shown (ProblemsLink.cpp).
    ProblemsPanel* Problems() const { return m_problems.get(); }
    // A key-down message of this thread's dialog loop: true when it is one of the keyboard map's
    // keys, whose command is then on its way (RowMenuAndKeys.cpp).
    bool TakeKey(const MSG& msg);

    // --- DialogHost ---
    std::string ItemText(int id) const override;
    void SetItemText(int id, const std::string& text) override;
    void UpdateItemNow(int id) override;
    void FocusItem(int id) override;
    bool IsItemChecked(int id) const override;
    int ListBoxCount(int id) const override;
    void ListBoxAdd(int id, const std::string& text) override;
    void ListBoxDelete(int id, int index) override;
    std::string ListBoxText(int id, int index) const override;
    int ListBoxSelection(int id) const override;
    void ListBoxSetSelection(int id, int index) override;
    int ComboCount(int id) const override;
    void ComboInsert(int id, int index, const std::string& text) override;
    std::string ComboItemText(int id, int index) const override;
    int ComboSelection(int id) const override;
    void ComboSetSelection(int id, int index) override;
    PlacementListHost& Placements() override { return m_rows; }
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons,
                              MessageIcon icon) override;
    std::optional<std::string> BrowseForFolder(const std::string& title) override;
    std::optional<std::string> ChooseFileToOpen(const std::vector<FileFilter>& filters,
                                                const std::string& defaultExtension) override;
    void OpenInEditor(const std::string& path) override;
    void ShowAboutBox() override;
    void RebuildTexts() override;
    void EndDialog(int result) override;
    uint32_t TickCount() override;
    std::string CurrentDirectory() override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog();
    void OnCommand(int id, int code);
    bool OnNotify(NMHDR* header, LRESULT& result);
    bool OnPaint();
    void CreateHyperlink();
    // The row context menu and the keys (RowMenuAndKeys.cpp).
    void InstallKeyboardMap();
    void RemoveKeyboardMap();
    bool OnExtraCommand(int id);
    bool OnContextMenu(HWND target, LPARAM position);
    void RepaintFrameCaption();
    void ScheduleListFlush();
    // The growing layout and the status strip (GrowingLayout.cpp).
    void CreateStatusStrip();
    void CreateTemplateFilter();
    void CreateListFilterAndStatus();
    // Rows shown, the selection and its counts, or the filter's error (GrowingLayout.cpp).
    void UpdateListStatus();
    void QueueListStatus();
    void ShowSortArrow();
    void ShowStepBack(bool undo, bool done);
    void MakeResizable();
    void Relayout(int width, int height);
    bool OnLayoutMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    void ShowStatusLine(const StatusLine& line);
    void SaveAndShowStatus();
    void DeleteAndShowStatus();
    // "复制行": the selected rows onto the clipboard as tab-separated text (RowMenuAndKeys.cpp).
    void CopySelectedRows();
    // "在地图上显示" and the map view's following of the list (MapViewLink.cpp).
    void ShowMapView();
    void QueueMapRefresh(bool pointsChanged);
    void RefreshMapView();
    void SelectRowsPickedOnMap(const std::vector<int>& rows);
    // A move to a monitor of another DPI: the template, its fonts, the extras and the columns
    // are laid out again for it (DpiLayout.h), the window takes the system's suggested place.
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    // Texts of another language: the template fitted to them again, at the size the user gave.
    void OnTextsChanged();
    void LayOutAgain(UINT old, UINT dpi);
    // The problems panel shown or hidden, files changed on disk, F5 (ProblemsLink.cpp).
    void ToggleProblems();
    void StartDiskWatch();
    void WatchFiles();
    void ReloadKeepingPlace();
    // "在所有地图中查找" and the double-click on one of its results (FindAllLink.cpp).
    void ShowFindAll();
    void OpenFoundRow(FindAllView& view, int row);
    // "与其他服务器比较…" (FindAllLink.cpp).
    void ShowCompare();
    void MoveSelectedOnMap(int dx, int dy);
    // "批量修改…" and Ctrl+E: the dialog, then the edit of the selected placements (BulkEditLink.cpp).
    void BulkEditSelectedRows();
    int DialogUnitsX(int du) const;
    int DialogUnitsY(int du) const;
    RECT DialogUnitsRect(const int (&rectDu)[4]) const;
    RECT StatusStripRect() const;
    RECT ListStatusRect() const;
    HFONT DialogFont() const;
    UINT LayoutDpi() const;
    // The dialog's controls live as long as it does, so each is looked up once: a load sets
    // the progress caption after every record, and under Wine every GetDlgItem is a call to
    // the window server.
    HWND Item(int id) const;

    HWND m_hwnd = nullptr;
    HICON m_appIcon = nullptr;       // icon 128 at the system's large size
    HICON m_smallIcon = nullptr;     // icon 128 at the system's small size
    HCURSOR m_cursor = nullptr;      // cursor 133
    ReportListView m_view;
    StoreRowList m_rows{m_view};
    CHyperlinkLabel m_link;
    FilteredListBox m_templates;         // the template list under its filter
    HWND m_filter = nullptr;             // the template filter field
    HWND m_status = nullptr;             // the status strip
    HWND m_listFilter = nullptr;         // the placement list's filter field
    HWND m_listStatus = nullptr;         // the list's status line
    bool m_listStatusWarning = false;    // it names a filter error (in red)
    bool m_listStatusPosted = false;     // kListStatusMessage is on its way
    bool m_statusWarning = false;        // it shows a warning (in red)
    SIZE m_defaultClient{};              // the client area at the template's size
    SIZE m_minimumSize{};                // the window at the template's size
    std::vector<std::pair<HWND, RECT>> m_defaultPlaces;   // each control at the template's size
    GrowLines m_growLines;
    std::string m_frameCaption;
    std::vector<HWND> m_templateControls;   // one per entry of template 102, in its order
    HMENU m_languageMenu = nullptr;         // the system menu's "语言 / Language" popup
    Language m_shownLanguage = Language::Original;   // the language the texts were put up in
    mutable std::map<int, int> m_listBoxCounts;
    mutable std::map<int, HWND> m_items;   // controls looked up so far (Item)
    DWORD m_frameRepaintTick = 0;
    bool m_flushPosted = false;          // kCaptionMessage is on its way
    bool m_frameCaptionStale = false;    // m_frameCaption is not on the screen yet
    static constexpr UINT kCaptionMessage = WM_APP + 2;
    static constexpr UINT kMapRefreshMessage = WM_APP + 3;
    static constexpr UINT kListStatusMessage = WM_APP + 4;
    static constexpr UINT kDpiChangedMessage = 0x02E0;   // WM_DPICHANGED
    std::unique_ptr<MapViewWindow> m_mapView;
    bool m_mapRefreshPosted = false;     // kMapRefreshMessage is on its way
    bool m_mapPointsStale = false;       // the rows changed since the map last took them
    TemplateLayout m_layout;         // template 102 at the window's DPI
    std::unique_ptr<ProblemsPanel> m_problems;
    std::unique_ptr<DiskWatch> m_watch;
    std::unique_ptr<FindAllWindow> m_findAll;
    std::unique_ptr<CompareWindow> m_compare;
    CPlacementDlg m_dlg;             // last: it is given the finished host
};

}  // namespace morvi::win32
