#include "app/ProblemsPanel.h"

#include <cstdlib>

#include <QMoveEvent>

#include <algorithm>

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/PlacementWindow.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

QString Qs(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
QString Qs(TextId id) { return QString::fromUtf8(Text(id).data(), static_cast<qsizetype>(Text(id).size())); }

constexpr int kColumns = static_cast<int>(ProblemsColumn::Count);

}  // namespace

ProblemsPanel::ProblemsPanel(PlacementWindow& window)
    : QDockWidget(Qs(TextId::ProblemsCaption), &window), m_window(window),
      m_view(std::make_unique<ProblemsView>(window.Logic(), window)) {
    setObjectName(QStringLiteral("problemsPanel"));
    // The main window is a dialog of fixed controls, not a dock host: the panel docks to its
    // lower edge by following it (FollowOwner), as the Windows window's panel does.
    setFloating(true);
    window.installEventFilter(this);
    setAllowedAreas(Qt::NoDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);

    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](TextId text, const char* name) {
        auto* b = new QPushButton(Qs(text), body);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        return b;
    };
    m_checkMap = button(TextId::ProblemsCheckMap, "problemsCheckMap");
    m_checkAll = button(TextId::ProblemsCheckEveryMap, "problemsCheckAll");
    m_cancel = button(TextId::ProblemsCancel, "problemsCancel");
    m_fix = button(TextId::ProblemsFixDuplicate, "problemsFix");
    buttons->addStretch(1);
    layout->addLayout(buttons);

    m_lines = new QTreeWidget(body);
    m_lines->setObjectName(QStringLiteral("problemsLines"));
    m_lines->setRootIsDecorated(false);
    m_lines->setUniformRowHeights(true);
    m_lines->setColumnCount(kColumns);
    QStringList headings;
    for (int c = 0; c < kColumns; ++c) headings << Qs(ProblemsView::Heading(static_cast<ProblemsColumn>(c)));
    m_lines->setHeaderLabels(headings);
    layout->addWidget(m_lines, 1);

    auto* bottom = new QHBoxLayout;
    m_status = new QLabel(body);
    m_status->setObjectName(QStringLiteral("problemsStatus"));
    m_progress = new QProgressBar(body);
    m_progress->setObjectName(QStringLiteral("problemsProgress"));
    m_progress->setMaximumWidth(160);
    m_progress->hide();
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_progress);
    layout->addLayout(bottom);
    setWidget(body);

    connect(m_checkMap, &QPushButton::clicked, this, [this] {
        m_view->CheckLoadedMap();
        Fill();
    });
    connect(m_checkAll, &QPushButton::clicked, this, [this] {
        m_view->StartEveryMap();
        Fill();
    });
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_view->Cancel();
        Fill();
    });
    connect(m_fix, &QPushButton::clicked, this, [this] {
        const size_t line = CurrentLine();
        if (m_view->OnFix(line)) emit fixed();
        Fill();
    });
    // A click leads to the row; the keyboard's current line too, once Enter is pressed.
    const auto activate = [this] {
        const size_t line = CurrentLine();
        if (line < m_view->Count()) m_view->OnActivate(line);
        // Another map may have been loaded: its lines are made again.
        Fill();
    };
    connect(m_lines, &QTreeWidget::itemClicked, this, activate);
    connect(m_lines, &QTreeWidget::itemActivated, this, activate);
    connect(m_lines, &QTreeWidget::currentItemChanged, this, [this] { UpdateButtons(); });

    m_timer = new QTimer(this);
    m_timer->setInterval(150);
    connect(m_timer, &QTimer::timeout, this, &ProblemsPanel::Refresh);
    m_timer->start();
    resize(m_window.width() * 3 / 4, m_window.height() / 2);
}

ProblemsPanel::~ProblemsPanel() = default;

QPoint ProblemsPanel::DockedPlace() const {
    // Below the main window where the screen has room, else over its lower half.
    const QRect frame = m_window.frameGeometry();
    QPoint at(frame.left(), frame.bottom() + 1);
    if (QScreen* screen = m_window.screen()) {
        const QRect room = screen->availableGeometry();
        if (at.y() + height() > room.bottom()) at.setY(std::max(room.top(), room.bottom() - height()));
    }
    return at;
}

void ProblemsPanel::FollowOwner() {
    if (!m_docked) return;
    m_placing = true;
    move(DockedPlace());
    m_placing = false;
}

bool ProblemsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && (event->type() == QEvent::Move || event->type() == QEvent::Resize) && isVisible())
        FollowOwner();
    return QDockWidget::eventFilter(watched, event);
}

void ProblemsPanel::moveEvent(QMoveEvent* event) {
    QDockWidget::moveEvent(event);
    if (m_placing || !m_placed) return;
    // Moved by the user: docked again within a snap distance of the window's lower edge.
    constexpr int kSnap = 24;
    const QPoint off = pos() - DockedPlace();
    m_docked = std::abs(off.x()) <= kSnap && std::abs(off.y()) <= kSnap;
    if (m_docked) FollowOwner();
}

void ProblemsPanel::ShowBesideWindow() {
    if (!m_placed) {
        FollowOwner();
        m_placed = true;
        m_view->CheckLoadedMap();
        Fill();
    } else {
        FollowOwner();
    }
    show();
    raise();
}

void ProblemsPanel::Refresh() {
    // The document is looked at only while someone can see the lines or the worker runs.
    if (!isVisible() && !m_view->Running()) return;
    const bool running = m_view->Running();
    if (!m_view->Poll()) return;
    // While every map is checked the lines are filled in at most once a second (a server may
    // have thousands); the progress follows every poll.
    if (running && m_view->Running() && m_sinceFill.isValid() && m_sinceFill.elapsed() < 1000) {
        m_status->setText(Qs(m_view->Status()));
        m_progress->setMaximum(static_cast<int>(std::max<size_t>(1, m_view->MapsTotal())));
        m_progress->setValue(static_cast<int>(m_view->MapsDone()));
        return;
    }
    m_sinceFill.start();
    Fill();
}

size_t ProblemsPanel::CurrentLine() const {
    const QModelIndex current = m_lines->currentIndex();
    return current.isValid() ? static_cast<size_t>(current.row()) : static_cast<size_t>(-1);
}

void ProblemsPanel::Fill() {
    const int keep = m_lines->currentItem() ? m_lines->indexOfTopLevelItem(m_lines->currentItem()) : -1;
    m_lines->setUpdatesEnabled(false);
    m_lines->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(m_view->Count()));
    for (size_t i = 0; i < m_view->Count(); ++i) {
        auto* item = new QTreeWidgetItem;
        for (int c = 0; c < kColumns; ++c) item->setText(c, Qs(m_view->Cell(i, static_cast<ProblemsColumn>(c))));
        item->setToolTip(kColumns - 1, item->text(kColumns - 1));
        item->setTextAlignment(static_cast<int>(ProblemsColumn::Offset), Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(static_cast<int>(ProblemsColumn::Row), Qt::AlignRight | Qt::AlignVCenter);
        items.push_back(item);
    }
    m_lines->addTopLevelItems(items);
    // Map and file names are short enough to show whole; a long list keeps the widths it has.
    if (items.size() < 2000)
        for (ProblemsColumn c : {ProblemsColumn::Map, ProblemsColumn::File})
            m_lines->resizeColumnToContents(static_cast<int>(c));
    if (keep >= 0 && keep < m_lines->topLevelItemCount()) m_lines->setCurrentItem(m_lines->topLevelItem(keep));
    m_lines->setUpdatesEnabled(true);
    m_status->setText(Qs(m_view->Status()));
    const bool running = m_view->Running();
    m_progress->setVisible(running);
    if (running) {
        m_progress->setMaximum(static_cast<int>(std::max<size_t>(1, m_view->MapsTotal())));
        m_progress->setValue(static_cast<int>(m_view->MapsDone()));
    }
    UpdateButtons();
}

void ProblemsPanel::UpdateButtons() {
    const bool running = m_view->Running();
    m_checkMap->setEnabled(!running);
    m_checkAll->setEnabled(!running);
    m_cancel->setEnabled(running);
    const size_t line = CurrentLine();
    const std::string fix = line < m_view->Count() ? m_view->FixText(line) : std::string();
    m_fix->setText(fix.empty() ? Qs(TextId::ProblemsNoFix) : Qs(fix));
    m_fix->setEnabled(m_view->CanFix(line));
}

}  // namespace morvi
