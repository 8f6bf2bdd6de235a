#pragma once
// "在所有地图中查找" on Qt: a window of its own (not modal) with the filter field, the result
// list and the status line of FindAllView. The search runs on the presenter's worker; the
// window takes its results on the GUI thread when woken. A double-click shows the placement in
// the main window.

#include <memory>

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace morvi {

class FindAllModel;
class FindAllView;
class PlacementWindow;

class FindAllWindow : public QWidget {
    Q_OBJECT
public:
    explicit FindAllWindow(PlacementWindow& main);
    ~FindAllWindow() override;

    FindAllView& View() { return *m_view; }
    QLineEdit& Filter() { return *m_filter; }
    QTableView& Results() { return *m_results; }
    QLabel& Status() { return *m_status; }
    // Starts a search for what the filter field holds.
    void Search();
    // The double-click on a result row.
    void OpenRow(int row);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void TakeResults();
    void ShowStatus();

    PlacementWindow& m_main;
    std::unique_ptr<FindAllView> m_view;
    FindAllModel* m_model = nullptr;
    QLineEdit* m_filter = nullptr;
    QPushButton* m_search = nullptr;
    QPushButton* m_stop = nullptr;
    QTableView* m_results = nullptr;
    QLabel* m_status = nullptr;
};

}  // namespace morvi
