#include "app/FindAllWindow.h"

#include <algorithm>

#include <QAbstractTableModel>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/PlacementWindow.h"
#include "app/ResultTable.h"
#include "app/WindowExtras.h"
#include "dialog/FindAllView.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

// The result rows as the presenter holds them; the model only counts the rows it was told of.
class FindAllModel : public QAbstractTableModel {
public:
    FindAllModel(const FindAllView& view, QObject* parent) : QAbstractTableModel(parent), m_view(view) {}
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_known; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kFindAllColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_known) return {};
        m_cell.clear();
        m_view.AppendCellText(index.row(), index.column(), m_cell);
        return FromUtf8(m_cell);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Vertical) return section + 1;
        return FromUtf8(Text(FindAllColumnOf(section).heading));
    }
    void Reset() {
        beginResetModel();
        m_known = 0;
        endResetModel();
    }
    void Appended() {
        const int count = m_view.Count();
        if (count <= m_known) return;
        beginInsertRows({}, m_known, count - 1);
        m_known = count;
        endInsertRows();
    }

private:
    const FindAllView& m_view;
    int m_known = 0;
    mutable std::string m_cell;
};

FindAllWindow::FindAllWindow(PlacementWindow& main) : QWidget(&main, Qt::Window), m_main(main) {
    setObjectName(QStringLiteral("findAll"));
    setWindowTitle(FromUtf8(Text(TextId::FindAllMenu)));
    // The worker wakes the window through its event queue; a wake for a closed window is dropped.
    m_view = std::make_unique<FindAllView>([this] {
        QMetaObject::invokeMethod(this, [this] { TakeResults(); }, Qt::QueuedConnection);
    });

    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("findAllFilter"));
    m_filter->setPlaceholderText(FromUtf8(Text(TextId::FindAllFilterCue)));
    m_filter->setToolTip(FromUtf8(Text(TextId::FindAllFilterTip)));
    m_filter->setClearButtonEnabled(true);
    m_search = new QPushButton(FromUtf8(Text(TextId::FindAllSearch)), this);
    m_search->setObjectName(QStringLiteral("findAllSearch"));
    m_search->setDefault(true);
    m_stop = new QPushButton(FromUtf8(Text(TextId::FindAllStop)), this);
    m_stop->setObjectName(QStringLiteral("findAllStop"));
    m_stop->setEnabled(false);
    connect(m_filter, &QLineEdit::returnPressed, this, &FindAllWindow::Search);
    connect(m_search, &QPushButton::clicked, this, &FindAllWindow::Search);
    connect(m_stop, &QPushButton::clicked, this, [this] { m_view->Cancel(); });

    m_model = new FindAllModel(*m_view, this);
    m_results = new QTableView(this);
    m_results->setObjectName(QStringLiteral("findAllResults"));
    m_results->setModel(m_model);
    SetUpResultTable(*m_results, kFindAllColumnCount, FindAllColumnOf);
    m_results->setSelectionMode(QAbstractItemView::SingleSelection);
    m_results->setToolTip(FromUtf8(Text(TextId::FindAllOpenHint)));
    connect(m_results, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { OpenRow(index.row()); });
    connect(m_results, &QTableView::activated, this, [this](const QModelIndex& index) { OpenRow(index.row()); });

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("findAllStatus"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* top = new QHBoxLayout;
    top->addWidget(m_filter, 1);
    top->addWidget(m_search);
    top->addWidget(m_stop);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(m_results, 1);
    layout->addWidget(m_status);
    resize(980, 520);
}

FindAllWindow::~FindAllWindow() {
    // The worker must be gone before the object it wakes is.
    m_view->Cancel();
    m_view->Wait();
}

void FindAllWindow::Search() {
    m_model->Reset();
    m_view->Start(m_main.Logic().ServerPath(), m_main.ListBoxCount(IDC_TEMPLATE_LIST), m_filter->text().toStdString());
    ShowStatus();
}

void FindAllWindow::TakeResults() {
    if (m_view->TakeResults() > 0) m_model->Appended();
    ShowStatus();
}

void FindAllWindow::ShowStatus() {
    ShowResultStatus(*m_status, m_view->Status());
    m_stop->setEnabled(m_view->Running());
}

void FindAllWindow::OpenRow(int row) {
    OpenFoundOutcome outcome = m_view->Open(row, m_main.Logic(), m_main);
    if (outcome == OpenFoundOutcome::HiddenByListFilter) {
        // The list's filter hides the row: the filter is cleared (the list shows every row).
        if (QLineEdit* filter = m_main.Extras().ListFilter()) filter->clear();
        outcome = m_view->Open(row, m_main.Logic(), m_main);
    }
    ShowStatus();
    if (outcome == OpenFoundOutcome::Selected) {
        m_main.raise();
        m_main.activateWindow();
    }
}

void FindAllWindow::closeEvent(QCloseEvent* event) {
    m_view->Cancel();
    QWidget::closeEvent(event);
}

}  // namespace morvi
