#include "app/WindowExtras.h"

#include <algorithm>
#include <ctime>
#include <map>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QTimer>

#include "app/BulkEditDialog.h"
#include "app/MapViewCanvas.h"
#include "app/MapViewWindow.h"
#include "app/PlacementListModel.h"
#include "app/PlacementTableView.h"
#include "app/PlacementTemplate.h"
#include "app/PlacementWindow.h"
#include "app/ProblemsPanel.h"
#include "dialog/KeyboardMap.h"
#include "dialog/LanguageChoices.h"
#include "dialog/MapViewSource.h"
#include "dialog/RowClipboard.h"
#include "dialog/StatusLine.h"
#include "dialog/WindowGrowth.h"
#include "dialog/WriteStatus.h"
#include "texts/ProgramTexts.h"
#include "texts/Translations.h"

namespace morvi {
namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

WindowExtras::WindowExtras(PlacementWindow& window) : QObject(&window), m_window(window), m_watch(window.Logic()) {
    const DialogUnits& u = window.Units();
    m_filter = new QLineEdit(&window);
    m_filter->setObjectName(QStringLiteral("templateFilter"));
    m_filter->setClearButtonEnabled(false);
    m_filter->setGeometry(u.ToPixels(kTemplateFilterRectDu[0], kTemplateFilterRectDu[1], kTemplateFilterRectDu[2], kTemplateFilterRectDu[3]));
    connect(m_filter, &QLineEdit::textChanged, this, [this] { ApplyTemplateFilter(); });

    // The placement list's filter: narrows the list (and the map view) as the user types.
    m_listFilter = new QLineEdit(&window);
    m_listFilter->setObjectName(QStringLiteral("listFilter"));
    ApplyCueTexts();
    m_listFilter->setClearButtonEnabled(true);
    m_listFilter->setGeometry(u.ToPixels(kListFilterRectDu[0], kListFilterRectDu[1], kListFilterRectDu[2], kListFilterRectDu[3]));
    connect(m_listFilter, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_window.Logic().OnListFilterChanged(text.toStdString());
        UpdateListStatus();
    });

    // The status strip: the bottom line of the window, right of the link label.
    m_status = new QLabel(&window);
    m_status->setObjectName(QStringLiteral("statusStrip"));
    const int stripHeight = window.height() - u.Y(kStatusStripBelowDu) - 1;
    const int left = u.X(kStatusStripLeftDu);
    m_status->setGeometry(left, window.height() - stripHeight, window.width() - left - u.X(kStatusStripRightMarginDu),
                          stripHeight);
    QFont small = m_status->font();
    small.setPixelSize(std::max(9, stripHeight - 4));
    m_status->setFont(small);
    m_status->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    RecordDefaultGeometry();
    InstallShortcuts();
    SetTabOrder();
    window.installEventFilter(this);

    PlacementListModel& model = window.ListModel();
    const auto queue = [this] {
        if (m_refreshQueued || !m_mapView) return;
        m_refreshQueued = true;
        QTimer::singleShot(0, this, [this] { RefreshMapPoints(); });
    };
    connect(&model, &QAbstractItemModel::rowsInserted, this, queue);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, queue);
    connect(&model, &QAbstractItemModel::modelReset, this, queue);
    connect(&model, &QAbstractItemModel::dataChanged, this, queue);
    connect(window.ListView().selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { PushSelectionToMap(); QueueListStatus(); });
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&model, signal, this, [this] { QueueListStatus(); });
    connect(&model, &QAbstractItemModel::modelReset, this, [this] { QueueListStatus(); });

    // A click on a heading sorts by that column, a second reverses, a third restores the order
    // of the files.
    QHeaderView* header = window.ListView().horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        m_window.Logic().OnHeadingClick(column);
        ShowSortIndicator();
        UpdateListStatus();
    });
    UpdateListStatus();

    // Region files of the loaded map changed by another program: a look at their stamps each
    // second (a few hundred files cost a few hundred stat calls).
    auto* watch = new QTimer(this);
    watch->setObjectName(QStringLiteral("diskWatch"));
    watch->setInterval(1000);
    connect(watch, &QTimer::timeout, this, [this] { WatchFiles(); });
    watch->start();
}

// --- layout --------------------------------------------------------------------------------

void WindowExtras::RecordDefaultGeometry() {
    m_defaultSize = m_window.size();
    for (QWidget* child : m_window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        m_defaults.emplace_back(child, child->geometry());
}

void WindowExtras::Relayout() {
    // Children made after the extras (the link label) were placed at the default size.
    for (QWidget* child : m_window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (std::none_of(m_defaults.begin(), m_defaults.end(), [&](const auto& d) { return d.first == child; }) &&
            !child->isWindow())
            m_defaults.emplace_back(child, child->geometry());
    const DialogUnits& u = m_window.Units();
    const int dx = m_window.width() - m_defaultSize.width();
    const int dy = m_window.height() - m_defaultSize.height();
    const GrowLines lines{u.Y(kGrowServerRowBottomDu), u.Y(kGrowListsTopDu), u.Y(kGrowEditRowsTopDu),
                          u.X(kGrowServerButtonsDu), u.X(kGrowRightColumnDu)};
    for (const auto& [widget, rect] : m_defaults) {
        const int id = widget->objectName().startsWith(QStringLiteral("id")) ? widget->objectName().mid(2).toInt() : 0;
        const GrowRole role = widget == m_filter       ? GrowRole::RightEdge
                              : widget == m_status     ? GrowRole::StatusStrip
                              : widget == m_listStatus ? GrowRole::BottomLeft
                                                       : GrowRoleOfControl(id, qobject_cast<QGroupBox*>(widget) != nullptr);
        const GrowRect r = GrownRect(role, {rect.x(), rect.y(), rect.width(), rect.height()}, dx, dy, lines);
        widget->setGeometry(r.x, r.y, r.width, r.height);
    }
}

void WindowExtras::SetTabOrder() {
    // Search row, then the lists left to right, then the edit rows left to right, top to bottom.
    const DialogUnits& u = m_window.Units();
    std::vector<QWidget*> order;
    for (const auto& [widget, rect] : m_defaults)
        if (widget->focusPolicy() & Qt::TabFocus) order.push_back(widget);
    const auto band = [&](const QRect& r) {
        if (r.top() < u.Y(33)) return 0;
        if (r.top() < u.Y(kGrowListsTopDu) && r.height() < u.Y(20)) return 1;
        if (r.top() < u.Y(kGrowEditRowsTopDu)) return 2;
        return 3 + (r.center().y() - u.Y(kGrowEditRowsTopDu)) / u.Y(17);
    };
    std::map<QWidget*, QRect> rects(m_defaults.begin(), m_defaults.end());
    std::stable_sort(order.begin(), order.end(), [&](QWidget* a, QWidget* b) {
        const QRect ra = rects[a], rb = rects[b];
        const int ba = band(ra), bb = band(rb);
        return ba != bb ? ba < bb : ra.left() < rb.left();
    });
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

bool WindowExtras::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && event->type() == QEvent::Resize) Relayout();
    return QObject::eventFilter(watched, event);
}

// --- keyboard ------------------------------------------------------------------------------

void WindowExtras::InstallShortcuts() {
    for (const KeyBinding& binding : KeyboardMap()) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(binding.keys)), &m_window);
        shortcut->setObjectName(QStringLiteral("key ") + QString::fromLatin1(binding.keys));
        if (binding.listFocusOnly) {
            // Delete in an edit field deletes a character; only in the list does it mean "Xoa".
            shortcut->setParent(m_window.Control(IDC_PLACEMENT_LIST));
            shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        }
        connect(shortcut, &QShortcut::activated, this, [this, &binding] { RunCommand(binding); });
    }
    // Ctrl+E: the bulk edit of the selected rows.
    auto* bulk = new QShortcut(QKeySequence(QStringLiteral("Ctrl+E")), &m_window);
    bulk->setObjectName(QStringLiteral("key Ctrl+E"));
    connect(bulk, &QShortcut::activated, this, [this] { BulkEditSelectedRows(); });
    ApplyKeyTooltips();
}

void WindowExtras::ApplyKeyTooltips() {
    // Keys of the row menu's own commands are named by the placement list's tooltip; a control
    // that stands for a key names it in its own.
    QStringList rowKeys;
    for (const KeyBinding& binding : KeyboardMap()) {
        if (!binding.controlId) rowKeys << FromUtf8(TooltipWithKey(binding.Description(), binding));
        if (QWidget* control = binding.controlId ? m_window.Control(binding.controlId) : nullptr)
            control->setToolTip(FromUtf8(TooltipWithKey(binding.Description(), binding)));
    }
    rowKeys << FromUtf8(std::string(Text(TextId::MenuBulkEdit)) + " (Ctrl+E)");
    // Ctrl+Shift+M: the problems panel.
    auto* problems = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+M")), &m_window);
    problems->setObjectName(QStringLiteral("key Ctrl+Shift+M"));
    connect(problems, &QShortcut::activated, this, [this] { ToggleProblems(); });
    rowKeys << FromUtf8(std::string(Text(TextId::ProblemsKeyTip)));
    if (QWidget* list = m_window.Control(IDC_PLACEMENT_LIST)) list->setToolTip(rowKeys.join(u'\n'));
}

void WindowExtras::ApplyCueTexts() {
    m_filter->setPlaceholderText(QString::fromUtf8(Text(TextId::TemplateFilterCue).data()));
    m_filter->setToolTip(QString::fromUtf8(Text(TextId::TemplateFilterTip).data()));
    m_listFilter->setPlaceholderText(QString::fromUtf8(Text(TextId::ListFilterCue).data()));
    m_listFilter->setToolTip(QString::fromUtf8(Text(TextId::ListFilterTip).data()));
}

void WindowExtras::RebuildTexts(const std::vector<QWidget*>& controls, const std::vector<QRect>& rects,
                                Language before) {
    for (size_t i = 0; i < controls.size() && i < rects.size(); ++i)
        for (auto& [widget, rect] : m_defaults)
            if (widget == controls[i]) rect = rects[i];
    ApplyCueTexts();
    ApplyKeyTooltips();
    if (const QString shown = m_status->toolTip(); !shown.isEmpty())
        SetStatusText(RetranslateShown(shown.toStdString(), before, CurrentLanguage()));
    UpdateListStatus();
    // An open map view is made again in the language, where it was.
    if (m_mapView) {
        const QRect place = m_mapView->geometry();
        MapViewWindow* old = m_mapView;
        m_mapView = nullptr;
        old->close();
        ShowMapView();
        m_mapView->setGeometry(place);
    }
    Relayout();
}

void WindowExtras::RunCommand(const KeyBinding& binding) {
    const auto click = [this](int id) {
        if (auto* button = qobject_cast<QPushButton*>(m_window.Control(id))) button->click();
    };
    switch (binding.command) {
    case WindowCommand::Save: click(IDC_SAVE); break;
    case WindowCommand::Delete: click(IDC_DELETE); break;
    case WindowCommand::Add: click(IDC_ADD); break;
    case WindowCommand::FindNext: click(IDC_FIND_NEXT); break;
    case WindowCommand::FocusSearchName:
        if (QWidget* field = m_window.Control(IDC_FIND_NAME)) {
            field->setFocus(Qt::ShortcutFocusReason);
            if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
        }
        break;
    case WindowCommand::ReloadMap: ReloadKeepingPlace(); break;
    case WindowCommand::Clone: CloneSelectedRow(); break;
    case WindowCommand::MapView: ShowMapView(); break;
    case WindowCommand::Undo: ShowStepBack(true, m_window.Logic().OnUndo()); break;
    case WindowCommand::Redo: ShowStepBack(false, m_window.Logic().OnRedo()); break;
    case WindowCommand::FindAll: ShowFindAll(); break;
    }
}

// --- context menu --------------------------------------------------------------------------

void WindowExtras::FillContextMenu(QMenu& menu) {
    const auto add = [&](const char* text, const char* name, WindowCommand* key, auto&& action) {
        QAction* a = menu.addAction(QString::fromUtf8(text));
        a->setObjectName(QString::fromLatin1(name));
        if (key) a->setShortcut(QKeySequence(QString::fromLatin1(BindingOf(*key)->keys)));
        connect(a, &QAction::triggered, this, action);
        return a;
    };
    const auto click = [this](int id) {
        return [this, id] {
            if (auto* button = qobject_cast<QPushButton*>(m_window.Control(id))) button->click();
        };
    };
    WindowCommand clone = WindowCommand::Clone, del = WindowCommand::Delete, map = WindowCommand::MapView;
    add(Text(TextId::MenuEdit).data(), "menuEdit", nullptr, click(IDC_MODIFY));
    QAction* cloneAction = add(Text(TextId::MenuClone).data(), "menuClone", &clone, [this] { RunCommand(*BindingOf(WindowCommand::Clone)); });
    cloneAction->setEnabled(!SelectedRows().empty());
    add(Text(TextId::MenuDelete).data(), "menuDelete", &del, click(IDC_DELETE));
    {
        QAction* bulk = menu.addAction(QString::fromUtf8(Text(TextId::MenuBulkEdit).data()));
        bulk->setObjectName(QStringLiteral("menuBulkEdit"));
        bulk->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
        bulk->setEnabled(!SelectedRows().empty());
        connect(bulk, &QAction::triggered, this, [this] { BulkEditSelectedRows(); });
    }
    add(Text(TextId::MenuMapView).data(), "menuMap", &map, [this] { ShowMapView(); });
    WindowCommand findAll = WindowCommand::FindAll;
    add(Text(TextId::FindAllMenu).data(), "menuFindAll", &findAll, [this] { ShowFindAll(); });
    add(Text(TextId::CompareMenu).data(), "menuCompare", nullptr, [this] { ShowCompare(); });
    add(Text(TextId::MenuCopyRows).data(), "menuCopyRows", nullptr, [this] { CopySelectedRows(); });
    menu.addSeparator();
    WindowCommand undo = WindowCommand::Undo, redo = WindowCommand::Redo;
    add(BindingOf(undo)->Description(), "menuUndo", &undo, [this] { RunCommand(*BindingOf(WindowCommand::Undo)); })
        ->setEnabled(m_window.Logic().CanUndo());
    add(BindingOf(redo)->Description(), "menuRedo", &redo, [this] { RunCommand(*BindingOf(WindowCommand::Redo)); })
        ->setEnabled(m_window.Logic().CanRedo());
    menu.addSeparator();
    add(Text(TextId::ProblemsMenu).data(), "menuProblems", nullptr, [this] { ToggleProblems(); })
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+M")));
    add(Text(TextId::AboutMenuEntry).data(), "menuAbout", nullptr, [this] { m_window.Logic().OnSysCommand(kAboutCommand); });
    AddLanguageMenu(menu);
}

void WindowExtras::AddLanguageMenu(QMenu& menu) {
    QMenu* languages = menu.addMenu(QString::fromUtf8(Text(TextId::MenuLanguage).data()));
    languages->setObjectName(QStringLiteral("menuLanguage"));
    auto* group = new QActionGroup(languages);
    for (const LanguageChoice& choice : kLanguageChoices) {
        QAction* entry = languages->addAction(QString::fromUtf8(Text(choice.name).data()));
        entry->setObjectName(QString::fromLatin1(choice.objectName));
        entry->setCheckable(true);
        entry->setChecked(choice.language == CurrentLanguage());
        group->addAction(entry);
        connect(entry, &QAction::triggered, this,
                [this, language = choice.language] { m_window.Logic().OnLanguageChosen(language); });
    }
}

void WindowExtras::CloneSelectedRow() {
    m_window.Logic().OnClone();
    // The clone selects the row's template; a filter hiding it would hide what "Them" takes.
    auto* list = qobject_cast<QListWidget*>(m_window.Control(IDC_TEMPLATE_LIST));
    const int entry = m_window.ListBoxSelection(IDC_TEMPLATE_LIST);
    if (list && entry >= 0 && list->item(entry)->isHidden()) {
        m_filter->clear();
        list->setCurrentRow(entry, QItemSelectionModel::ClearAndSelect);
        list->scrollToItem(list->item(entry));
    }
}

void WindowExtras::BulkEditSelectedRows(const std::function<bool(BulkEditDialog&)>& fill) {
    const size_t selected = SelectedRows().size();
    if (selected == 0) {
        // The hint says a row must be chosen first.
        m_window.Logic().OnBulkEdit(BulkEditForm{});
        return;
    }
    BulkEditDialog dialog(&m_window, static_cast<int>(selected));
    const bool accepted = fill ? fill(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted) return;
    ShowBulkEditOutcome(m_window.Logic().OnBulkEdit(dialog.Form()), TextId::OperationBulkEdit);
}

void WindowExtras::ShowBulkEditOutcome(const CPlacementDlg::BulkEditOutcome& done, TextId operation) {
    ShowStatusLine(StatusAfterBulkEdit(m_window.Logic(), done, operation, std::time(nullptr)));
}

void WindowExtras::MoveSelectedOnMap(int dx, int dy) {
    ShowBulkEditOutcome(m_window.Logic().OnMapMove(dx, dy), TextId::OperationMapMove);
    // The map takes the moved points now, not after the queued refresh: no frame shows them back
    // where they were.
    RefreshMapPoints();
}

std::vector<int> WindowExtras::SelectedRows() const { return SelectedRowsOf(m_window.Placements()); }

void WindowExtras::CopySelectedRows() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) return;
    const CPlacementDlg& logic = m_window.Logic();
    QApplication::clipboard()->setText(
        FromUtf8(StoreRowsAsTabText(logic.Rows(), logic.ListRows().StoreRows(rows), logic.ServerPath())));
    SetStatusText(CopiedRowsText(rows.size()));
}

// --- status strip --------------------------------------------------------------------------

void WindowExtras::SetStatusText(const std::string& text) {
    const QString value = FromUtf8(text);
    m_status->setText(m_status->fontMetrics().elidedText(value, Qt::ElideMiddle, m_status->width()));
    m_status->setToolTip(value);
}

void WindowExtras::ShowStatusLine(const StatusLine& line) {
    if (line.text.empty()) return;   // the strip keeps the last write
    SetStatusText(line.text);
    m_status->setStyleSheet(line.warning ? QStringLiteral("color: #b00000;") : QString());
}

void WindowExtras::ShowSaveOutcome(const SaveOutcome& outcome, SaveKind kind) {
    ShowStatusLine(StatusAfterSave(m_window.Logic(), outcome, kind, std::time(nullptr)));
}

void WindowExtras::ShowDeleteReport(const std::optional<DeleteReport>& report) {
    ShowStatusLine(StatusAfterDelete(m_window.Logic(), report, std::time(nullptr)));
}

void WindowExtras::ShowStepBack(bool undo, bool done) {
    if (!done) return;   // the hint line says why nothing was taken back
    ShowStatusLine(StatusAfterStepBack(m_window.Logic(), undo, std::time(nullptr)));
}

// --- the list's sort, filter and status ----------------------------------------------------

void WindowExtras::QueueListStatus() {
    if (m_listStatusQueued) return;
    m_listStatusQueued = true;
    QTimer::singleShot(0, this, [this] { UpdateListStatus(); });
}

void WindowExtras::PlaceListStatus(int left) {
    if (m_listStatus) return;
    const DialogUnits& u = m_window.Units();
    const int gap = u.X(4);
    const int right = m_status->geometry().left() - gap;
    if (right - (left + gap) < u.X(20)) return;   // no room: the status strip alone
    m_listStatus = new QLabel(&m_window);
    m_listStatus->setObjectName(QStringLiteral("listStatus"));
    m_listStatus->setGeometry(left + gap, m_status->geometry().top(), right - left - gap, m_status->height());
    m_listStatus->setFont(m_status->font());
    m_listStatus->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_listStatus->show();
    UpdateListStatus();
}

void WindowExtras::UpdateListStatus() {
    m_listStatusQueued = false;
    if (!m_listStatus) return;
    const CPlacementDlg::ListStatusLine line = m_window.Logic().ListStatus();
    const QString text = FromUtf8(line.text);
    m_listStatus->setText(m_listStatus->fontMetrics().elidedText(text, Qt::ElideRight, m_listStatus->width()));
    m_listStatus->setToolTip(text);
    m_listStatus->setStyleSheet(line.warning ? QStringLiteral("color: #b00000;") : QString());
}

void WindowExtras::ShowSortIndicator() {
    QHeaderView* header = m_window.ListView().horizontalHeader();
    const PlacementRowView& rows = m_window.Logic().ListRows();
    header->setSortIndicatorShown(rows.SortColumn() >= 0);
    if (rows.SortColumn() >= 0)
        header->setSortIndicator(rows.SortColumn(), rows.Direction() == SortDirection::Descending ? Qt::DescendingOrder
                                                                                                 : Qt::AscendingOrder);
}

// --- template filter -----------------------------------------------------------------------

void WindowExtras::ApplyTemplateFilter() {
    auto* list = qobject_cast<QListWidget*>(m_window.Control(IDC_TEMPLATE_LIST));
    const std::string filter = m_filter->text().toStdString();
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* item = list->item(i);
        const bool shown = TemplateMatchesFilter(item->text().toStdString(), i, filter);
        item->setHidden(!shown);
        // A hidden template is never the one "Them" takes.
        if (!shown && item->isSelected()) item->setSelected(false);
    }
}

// --- problems panel and files changed on disk -------------------------------------------------

void WindowExtras::ShowProblems() {
    if (!m_problems) {
        m_problems = new ProblemsPanel(m_window);
        connect(m_problems, &ProblemsPanel::fixed, this, [this] {
            ShowStatusLine({std::string(Text(TextId::ProblemsFixDone)), false});
        });
    }
    m_problems->ShowBesideWindow();
}

void WindowExtras::ToggleProblems() {
    if (m_problems && m_problems->isVisible()) {
        m_problems->hide();
        return;
    }
    ShowProblems();
}

void WindowExtras::ReloadKeepingPlace() {
    ShowStatusLine(m_watch.Reload());
    UpdateListStatus();
}

void WindowExtras::WatchFiles() {
    if (const std::optional<StatusLine> line = m_watch.Tick()) ShowStatusLine(*line);
}

// --- find in every map ---------------------------------------------------------------------

void WindowExtras::ShowFindAll() {
    if (!m_findAll) m_findAll = new FindAllWindow(m_window);
    m_findAll->show();
    m_findAll->raise();
    m_findAll->activateWindow();
    m_findAll->Filter().setFocus(Qt::ShortcutFocusReason);
}

void WindowExtras::ShowCompare() {
    if (!m_compare) m_compare = new CompareWindow(m_window);
    m_compare->show();
    m_compare->raise();
    m_compare->activateWindow();
    m_compare->Other().setFocus(Qt::ShortcutFocusReason);
}

// --- map view ------------------------------------------------------------------------------

void WindowExtras::ShowMapView() {
    if (!m_mapView) {
        m_mapView = new MapViewWindow(&m_window);
        m_mapView->setAttribute(Qt::WA_DeleteOnClose);
        connect(&m_mapView->Canvas(), &MapViewCanvas::rowsPicked, this, &WindowExtras::SelectRowsFromMap);
        connect(&m_mapView->Canvas(), &MapViewCanvas::moveRequested, this, &WindowExtras::MoveSelectedOnMap);
        connect(&m_mapView->Canvas(), &MapViewCanvas::addRequested, this, [this](int x, int y) {
            m_window.Logic().OnMapAddAt(x, y);
        });
        // The list's delete, with its question and texts.
        connect(&m_mapView->Canvas(), &MapViewCanvas::deleteRequested, this, [this] {
            if (auto* button = qobject_cast<QPushButton*>(m_window.Control(IDC_DELETE))) button->click();
        });
        m_mapView->Canvas().SetHoverText([this](std::span<const int> rows) {
            return FromUtf8(MapHoverText(rows, [this](int row) {
                return MapRowDetailsFromView(m_window.Logic().ListRows(), row, m_window.Logic().ServerPath());
            }));
        });
    }
    RefreshMapPoints();
    m_mapView->show();
    m_mapView->raise();
}

void WindowExtras::RefreshMapPoints() {
    m_refreshQueued = false;
    if (!m_mapView) return;
    m_mapView->SetPoints(MapPointsFromView(m_window.Logic().ListRows()), SelectedRows());
}

void WindowExtras::PushSelectionToMap() {
    if (m_mapView) m_mapView->SetSelectedRows(SelectedRows());
}

void WindowExtras::SelectRowsFromMap(const std::vector<int>& rows) {
    morvi::SelectRowsFromMap(m_window.Placements(), rows);
    PushSelectionToMap();
}

}  // namespace morvi
