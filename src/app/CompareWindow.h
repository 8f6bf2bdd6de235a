#pragma once
// "与其他服务器比较…" on Qt: a window of its own (not modal) that compares the loaded map with
// the same map of another server tree (CompareView) and lists the differences, narrowed by a
// filter field.

#include <memory>

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace morvi {

class CompareModel;
class CompareView;
class PlacementWindow;

class CompareWindow : public QWidget {
    Q_OBJECT
public:
    explicit CompareWindow(PlacementWindow& main);
    ~CompareWindow() override;

    CompareView& View() { return *m_view; }
    QLineEdit& Other() { return *m_other; }
    QLineEdit& Filter() { return *m_filter; }
    QTableView& Results() { return *m_results; }
    QLabel& Status() { return *m_status; }
    // Compares the main window's selected map with the other server's.
    void Compare();

private:
    void TakeResult();
    void ShowStatus();

    PlacementWindow& m_main;
    std::unique_ptr<CompareView> m_view;
    CompareModel* m_model = nullptr;
    QLineEdit* m_other = nullptr;
    QLineEdit* m_filter = nullptr;
    QTableView* m_results = nullptr;
    QLabel* m_status = nullptr;
};

}  // namespace morvi
