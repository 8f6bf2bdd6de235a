#pragma once
// The placement list as a Qt table model over the window logic's rows as the list shows them
// (PlacementRowView: the store's placements, sorted and narrowed), and a cell's text is made
// only when a view asks for it (that is, for the cells it paints).
//
// New top rows are first kept pending and handed to the views in one batch (at the next
// turn of the event loop, or before any other change): a view told about 200,000 single-row
// insertions at the top does quadratic work in its headers and selection. The logic reads the
// store itself; only the views see new rows a little later.

#include <array>
#include <vector>

#include <QAbstractTableModel>

#include "dialog/PlacementRowView.h"

namespace morvi {

class PlacementListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PlacementListModel(const PlacementRowView& rows, QObject* parent = nullptr);

    static std::array<const char*, kPlacementColumnCount> Headings();
    // The language changed: the view asks for the headings again.
    void HeadingsChanged();
    static const std::array<int, kPlacementColumnCount>& ColumnWidths();

    // QAbstractTableModel: what the views see.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const PlacementRowView& Rows() const { return m_rows; }

    // What the rows did; each is called after they changed. Rows are numbered as the list
    // shows them (row 0 is the top row, pending rows included).
    void RowsReset();
    void RowsInsertedAtTop(int count);
    void RowChanged(int row);
    void RowRemoved(int row);
    // The rows were rearranged: the views get them all at once.
    void RowsRearranged();
    // Many rows gone at once (ascending, indices as before): told to the views as one removal
    // per run of adjacent rows, or, when the runs are many, as a reset (true: the views have
    // forgotten their selection).
    bool RowsRemoved(const std::vector<int>& rowsAscending);

    // Rows inserted at the top that the views do not know yet.
    int PendingRows() const { return m_rows.Count() - m_visibleRows; }
    // Hands the pending rows to the views now.
    void FlushPendingRows();

private:
    void QueueFlush();

    const PlacementRowView& m_rows;
    int m_visibleRows = 0;
    bool m_flushQueued = false;
    mutable std::string m_cell;   // reused for every painted cell
};

}  // namespace morvi
