#pragma once
// The placement list (control 1013) as the dialog logic sees it: rows of texts, selection,
// scrolling, backed by PlacementListModel and shown by PlacementTableView.

#include "app/PlacementListModel.h"
#include "app/PlacementTableView.h"
#include "dialog/DialogHost.h"

namespace morvi {

class PlacementListControl : public PlacementListHost {
public:
    PlacementListControl(PlacementListModel& model, PlacementTableView& view);

    int RowCount() const override;
    void InsertTopRow(RowTexts row) override;
    void InsertTopRowViews(const RowViews& row) override;
    std::string CellText(int row, int column) const override;
    void SetCellText(int row, int column, const std::string& text) override;
    void DeleteRow(int row) override;
    void DeleteAllRows() override;
    int NextSelectedRow(int after) const override;
    void SelectRow(int row) override;
    void ScrollRowToTop(int row) override;
    void RepaintNow() override;

private:
    bool ValidRow(int row) const { return row >= 0 && row < m_model.HostRowCount(); }
    static bool ValidColumn(int column) { return column >= 0 && column < kPlacementColumnCount; }

    PlacementListModel& m_model;
    PlacementTableView& m_view;
};

}  // namespace morvi
