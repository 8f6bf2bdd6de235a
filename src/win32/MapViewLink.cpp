// The main window's side of the map view: it opens the view, hands it the rows' points after
// every change of the list and the selection after every change of that, and takes the rows
// picked on the map into the list's selection. Changes are gathered into one posted message,
// so a load or a large selection redraws the map once.
#include <ctime>

#include "dialog/MapViewSource.h"
#include "dialog/StatusLine.h"
#include "win32/PlacementWindow.h"

namespace morvi::win32 {

void PlacementWindow::ShowMapView() {
    if (!m_mapView) {
        m_mapView = std::make_unique<MapViewWindow>(
            [this](const std::vector<int>& rows) { SelectRowsPickedOnMap(rows); },
            [this](std::span<const int> rows) {
                return MapHoverText(rows, [this](int row) {
                    return MapRowDetailsFromView(m_dlg.ListRows(), row, m_dlg.ServerPath());
                });
            },
            MapViewWindow::Edits{[this](int dx, int dy) { MoveSelectedOnMap(dx, dy); },
                                 [this](int x, int y) { m_dlg.OnMapAddAt(x, y); },
                                 [this] { DeleteAndShowStatus(); }});
    }
    m_mapView->Show(m_hwnd);
    m_mapPointsStale = true;
    RefreshMapView();
}

void PlacementWindow::QueueMapRefresh(bool pointsChanged) {
    if (!m_mapView || !m_mapView->IsOpen()) return;
    m_mapPointsStale = m_mapPointsStale || pointsChanged;
    if (!m_mapRefreshPosted && PostMessageW(m_hwnd, kMapRefreshMessage, 0, 0)) m_mapRefreshPosted = true;
}

void PlacementWindow::RefreshMapView() {
    m_mapRefreshPosted = false;
    if (!m_mapView || !m_mapView->IsOpen()) return;
    if (m_mapPointsStale) m_mapView->SetPoints(MapPointsFromView(m_dlg.ListRows()), SelectedRowsOf(m_rows));
    else m_mapView->SetSelectedRows(SelectedRowsOf(m_rows));
    m_mapPointsStale = false;
}

void PlacementWindow::SelectRowsPickedOnMap(const std::vector<int>& rows) {
    SelectRowsFromMap(m_rows, rows);
    RefreshMapView();
}

void PlacementWindow::MoveSelectedOnMap(int dx, int dy) {
    ShowStatusLine(StatusAfterBulkEdit(m_dlg, m_dlg.OnMapMove(dx, dy), TextId::OperationMapMove, std::time(nullptr)));
    // The map takes the moved points now: no frame shows them back where they were.
    m_mapPointsStale = true;
    RefreshMapView();
}

}  // namespace morvi::win32
