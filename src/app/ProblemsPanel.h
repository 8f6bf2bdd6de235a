#pragma once
// The problems panel: a dock widget beside the main window listing the findings of the loaded
// map (or of every map) with buttons to check, cancel and make a line's safe fix. Everything
// it decides is ProblemsView's; the panel shows its lines and forwards clicks.

#include <memory>

#include <QDockWidget>
#include <QElapsedTimer>

#include "dialog/ProblemsView.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace morvi {

class PlacementWindow;

class ProblemsPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit ProblemsPanel(PlacementWindow& window);
    ~ProblemsPanel() override;

    ProblemsView& View() { return *m_view; }
    QTreeWidget* Lines() const { return m_lines; }
    QPushButton* FixButton() const { return m_fix; }
    QLabel* StatusLabel() const { return m_status; }
    // Shows the panel beside the main window (checking the loaded map the first time).
    void ShowBesideWindow();
    // Docked (the default) the panel sits below the main window and follows it; dragged away
    // it floats where it is put, and dragged back to the window's lower edge it docks again.
    bool Docked() const { return m_docked; }
    QPoint DockedPlace() const;
    // Takes in what the view has new (the timer calls it; tests may call it themselves).
    void Refresh();

signals:
    // A fix was made: the main window shows it in its status strip.
    void fixed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void FollowOwner();
    void Fill();
    void UpdateButtons();
    size_t CurrentLine() const;

    PlacementWindow& m_window;
    std::unique_ptr<ProblemsView> m_view;
    QTreeWidget* m_lines = nullptr;
    QPushButton* m_checkMap = nullptr;
    QPushButton* m_checkAll = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_fix = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QTimer* m_timer = nullptr;
    bool m_placed = false;
    bool m_docked = true;
    bool m_placing = false;   // the panel is being moved by FollowOwner, not by the user
    QElapsedTimer m_sinceFill;   // since the lines were last filled in
};

}  // namespace morvi
