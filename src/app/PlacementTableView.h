#pragma once
// The report view of the placement list (control 1013): grid lines, whole-row and multiple
// selection, no in-place editing. It reports clicks and double clicks anywhere in its rows
// area, after its own selection handling, as a list view's click notifications do.

#include <QTableView>

namespace morvi {

class PlacementListModel;

class PlacementTableView : public QTableView {
    Q_OBJECT
public:
    explicit PlacementTableView(QWidget* parent = nullptr);
    // Sets the model and the column headings' widths (hidden columns 10 and 11).
    void AttachModel(PlacementListModel* model);

signals:
    void listClicked();
    void listDoubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool m_releaseEndsDoubleClick = false;
};

}  // namespace morvi
