#pragma once
// The placement list (control 1013) as the dialog logic sees it: a view of the dialog's row
// store with its selection and scroll position, backed by PlacementListModel and shown by
// PlacementTableView.

#include "app/PlacementListModel.h"
#include "app/PlacementTableView.h"
#include "dialog/DialogHost.h"

namespace morvi {

class PlacementListControl : public PlacementListHost {
public:
    PlacementListControl(PlacementListModel& model, PlacementTableView& view);

    void RowsReset() override;
    void RowsInsertedAtTop(int count) override;
    void RowChanged(int row) override;
    void RowRemoved(int row) override;
    void RowsRemoved(const std::vector<int>& rowsAscending) override;
    int NextSelectedRow(int after) const override;
    void SelectRow(int row) override;
    void ScrollRowToTop(int row) override;
    void RepaintNow() override;
    void RowsRearranged(const std::vector<int>& selected, int focused) override;
    int FocusedRow() const override;

private:
    bool ValidRow(int row) const { return row >= 0 && row < m_model.Rows().Count(); }

    PlacementListModel& m_model;
    PlacementTableView& m_view;
};

}  // namespace morvi
