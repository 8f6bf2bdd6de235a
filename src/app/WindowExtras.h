#pragma once
// What the main window offers beyond its template: the growing layout, the keyboard map, the
// row context menu, the status strip with the last write, the template filter field and the
// map view. It attaches to a built PlacementWindow and only calls the window logic's own
// handlers, so every described text and behaviour stays as it is.

#include <functional>
#include <string>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QRect>

#include "app/CompareWindow.h"
#include "app/FindAllWindow.h"
#include "app/MapViewWindow.h"
#include "app/ProblemsPanel.h"
#include "dialog/DiskWatch.h"
#include "dialog/CPlacementDlg.h"
#include "dialog/Outcomes.h"
#include "dialog/StatusLine.h"
#include "texts/Language.h"
#include <optional>

class QLabel;
class QLineEdit;
class QMenu;
class QWidget;

namespace morvi {

class PlacementWindow;
struct KeyBinding;

class WindowExtras : public QObject {
    Q_OBJECT
public:
    explicit WindowExtras(PlacementWindow& window);

    // Builds the row context menu (entries with object names for tests).
    void FillContextMenu(QMenu& menu);
    // "语言 / Language": a submenu with each window language, the one shown checked.
    void AddLanguageMenu(QMenu& menu);
    // The language changed: the template's controls (one per template entry) have their texts
    // and `rects` at the template's size; the extras put up their own texts again (`before`:
    // the language they were in) and the layout places everything anew.
    void RebuildTexts(const std::vector<QWidget*>& controls, const std::vector<QRect>& rects, Language before);
    void ShowMapView();
    MapViewWindow* MapView() const { return m_mapView; }
    // "在所有地图中查找" (Ctrl+Shift+F): the find window, made the first time.
    void ShowFindAll();
    FindAllWindow* FindAll() const { return m_findAll; }
    // "与其他服务器比较…": the compare window, made the first time.
    void ShowCompare();
    CompareWindow* Compare() const { return m_compare; }
    QLabel* StatusStrip() const { return m_status; }
    QLineEdit* TemplateFilter() const { return m_filter; }
    // The placement list's filter field and the list's status (rows shown, selection counts).
    QLineEdit* ListFilter() const { return m_listFilter; }
    QLabel* ListStatus() const { return m_listStatus; }
    // Makes the list's status line on the bottom line from `left` (after the link label) up to
    // the status strip.
    void PlaceListStatus(int left);
    // Shows what the list shows now (at once; changes of the rows queue it).
    void UpdateListStatus();
    // After Ctrl+Z / Ctrl+Y: the strip says what was taken back or made again.
    void ShowStepBack(bool undo, bool done);
    void SetStatusText(const std::string& text);
    // The strip after a save (`kind`: taken just before it) and after a delete.
    void ShowSaveOutcome(const SaveOutcome& outcome, SaveKind kind);
    void ShowDeleteReport(const std::optional<DeleteReport>& report);
    void CopySelectedRows();
    // "复制为新NPC" and Ctrl+D.
    void CloneSelectedRow();
    // "批量修改…" and Ctrl+E: the dialog, then the edit of the selected placements. A test may
    // fill the dialog instead of a user (`fill` runs before it would be shown; nullptr: shown).
    void BulkEditSelectedRows(const std::function<bool(class BulkEditDialog&)>& fill = nullptr);
    std::vector<int> SelectedRows() const;
    // The problems panel (row menu, the window's menu, Ctrl+Shift+M): shown beside the window.
    void ShowProblems();
    void ToggleProblems();
    ProblemsPanel* Problems() const { return m_problems; }
    // F5: the map read again where the user was. The watcher's timer calls WatchFiles().
    void ReloadKeepingPlace();
    void WatchFiles();
    // The selection dragged on the map by (dx, dy).
    void MoveSelectedOnMap(int dx, int dy);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowStatusLine(const StatusLine& line);
    void ShowBulkEditOutcome(const CPlacementDlg::BulkEditOutcome& done, TextId operation);
    void InstallShortcuts();
    void ApplyKeyTooltips();
    void ApplyCueTexts();
    void RunCommand(const KeyBinding& binding);
    void RecordDefaultGeometry();
    void Relayout();
    void SetTabOrder();
    void ApplyTemplateFilter();
    void QueueListStatus();
    void ShowSortIndicator();
    void RefreshMapPoints();
    void PushSelectionToMap();
    void SelectRowsFromMap(const std::vector<int>& rows);

    PlacementWindow& m_window;
    QLabel* m_status = nullptr;
    QLineEdit* m_filter = nullptr;
    QLineEdit* m_listFilter = nullptr;
    QLabel* m_listStatus = nullptr;
    bool m_listStatusQueued = false;
    QPointer<MapViewWindow> m_mapView;
    QPointer<FindAllWindow> m_findAll;
    QPointer<CompareWindow> m_compare;
    std::vector<std::pair<QWidget*, QRect>> m_defaults;
    QSize m_defaultSize;
    bool m_refreshQueued = false;
    QPointer<ProblemsPanel> m_problems;
    DiskWatch m_watch;
};

}  // namespace morvi
