#pragma once
// The placement list as a Qt table model over PlacementRowStore.
//
// New top rows are first kept pending and handed to the views in one batch (at the next
// turn of the event loop, or before any other change): a view told about 200,000 single-row
// insertions at the top does quadratic work in its headers and selection. Rows are counted
// and read through the *Host* functions at once; only views see them a little later.

#include <QAbstractTableModel>

#include "app/PlacementRowStore.h"

namespace morvi {

class PlacementListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PlacementListModel(QObject* parent = nullptr);

    static const std::array<const char*, kPlacementColumnCount>& Headings();
    static const std::array<int, kPlacementColumnCount>& ColumnWidths();

    // QAbstractTableModel: what the views see.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The list as the dialog logic sees it; row 0 is the top row, pending rows included.
    int HostRowCount() const { return m_store.Count(); }
    void InsertTopRow(const RowTexts& row);
    void InsertTopRow(const RowViews& row);
    std::string CellText(int row, int column) const;
    std::string_view CellView(int row, int column) const { return m_store.Text(row, column); }
    void SetCellText(int row, int column, std::string_view text);
    void DeleteRow(int row);
    void DeleteAllRows();

    // Rows inserted at the top that the views do not know yet.
    int PendingRows() const { return m_store.Count() - m_visibleRows; }
    // Hands the pending rows to the views now.
    void FlushPendingRows();

    const PlacementRowStore& Store() const { return m_store; }

private:
    void QueueFlush();

    PlacementRowStore m_store;
    int m_visibleRows = 0;
    bool m_flushQueued = false;
};

}  // namespace morvi
