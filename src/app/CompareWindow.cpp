#include "app/CompareWindow.h"

#include <algorithm>

#include <QAbstractTableModel>
#include <QBrush>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/PlacementWindow.h"
#include "app/ResultTable.h"
#include "dialog/CompareView.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

class CompareModel : public QAbstractTableModel {
public:
    CompareModel(const CompareView& view, QObject* parent) : QAbstractTableModel(parent), m_view(view) {}
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_view.Count(); }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kCompareColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= m_view.Count()) return {};
        if (role == Qt::DisplayRole) return FromUtf8(m_view.CellText(index.row(), index.column()));
        if (role == Qt::ForegroundRole && index.column() == CMP_COL_KIND) {
            const DiffKind kind = m_view.KindOf(index.row());
            return QBrush(kind == DiffKind::Added ? QColor(0, 128, 0) : kind == DiffKind::Removed ? QColor(176, 0, 0)
                                                                                                 : QColor(0, 64, 160));
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Vertical) return section + 1;
        return FromUtf8(Text(CompareColumnOf(section).heading));
    }
    // The view's rows changed (a comparison ended, the filter changed).
    void Refresh() {
        beginResetModel();
        endResetModel();
    }

private:
    const CompareView& m_view;
};

CompareWindow::CompareWindow(PlacementWindow& main) : QWidget(&main, Qt::Window), m_main(main) {
    setObjectName(QStringLiteral("compare"));
    setWindowTitle(FromUtf8(Text(TextId::CompareMenu)));
    m_view = std::make_unique<CompareView>([this] {
        QMetaObject::invokeMethod(this, [this] { TakeResult(); }, Qt::QueuedConnection);
    });

    auto* label = new QLabel(FromUtf8(Text(TextId::CompareOtherLabel)), this);
    m_other = new QLineEdit(this);
    m_other->setObjectName(QStringLiteral("compareOther"));
    auto* browse = new QPushButton(FromUtf8(Text(TextId::CompareBrowse)), this);
    browse->setObjectName(QStringLiteral("compareBrowse"));
    auto* run = new QPushButton(FromUtf8(Text(TextId::CompareRun)), this);
    run->setObjectName(QStringLiteral("compareRun"));
    run->setDefault(true);
    connect(browse, &QPushButton::clicked, this, [this] {
        if (const auto chosen = m_main.BrowseForFolder(std::string(Text(TextId::CompareOtherLabel)))) {
            m_other->setText(FromUtf8(*chosen));
            Compare();
        }
    });
    connect(run, &QPushButton::clicked, this, &CompareWindow::Compare);
    connect(m_other, &QLineEdit::returnPressed, this, &CompareWindow::Compare);

    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("compareFilter"));
    m_filter->setPlaceholderText(FromUtf8(Text(TextId::CompareFilterCue)));
    m_filter->setToolTip(FromUtf8(Text(TextId::FindAllFilterTip)));
    m_filter->setClearButtonEnabled(true);
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_view->SetFilter(text.toStdString());
        m_model->Refresh();
        ShowStatus();
    });

    m_model = new CompareModel(*m_view, this);
    m_results = new QTableView(this);
    m_results->setObjectName(QStringLiteral("compareResults"));
    m_results->setModel(m_model);
    SetUpResultTable(*m_results, kCompareColumnCount, CompareColumnOf);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("compareStatus"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(m_other, 1);
    top->addWidget(browse);
    top->addWidget(run);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(m_filter);
    layout->addWidget(m_results, 1);
    layout->addWidget(m_status);
    resize(980, 520);
}

CompareWindow::~CompareWindow() {
    m_view->Cancel();
    m_view->Wait();
}

void CompareWindow::Compare() {
    CompareView::Request request;
    request.server = m_main.Logic().ServerPath();
    request.templateCount = m_main.ListBoxCount(IDC_TEMPLATE_LIST);
    const int map = m_main.ListBoxSelection(IDC_MAP_LIST);
    const std::vector<std::string>& paths = m_main.Logic().MapPaths();
    if (map >= 0 && static_cast<size_t>(map) < paths.size()) {
        request.mapEntry = paths[static_cast<size_t>(map)];
        request.mapName = m_main.ListBoxText(IDC_MAP_LIST, map);
    }
    request.otherServer = m_other->text().trimmed().toStdString();
    m_view->Start(request);
    m_view->SetFilter(m_filter->text().toStdString());
    m_model->Refresh();
    ShowStatus();
}

void CompareWindow::TakeResult() {
    if (!m_view->TakeResult()) return;
    m_model->Refresh();
    ShowStatus();
}

void CompareWindow::ShowStatus() {
    ShowResultStatus(*m_status, m_view->Status());
}

}  // namespace morvi
