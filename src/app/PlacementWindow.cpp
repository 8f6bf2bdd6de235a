#include "app/PlacementWindow.h"

#include <chrono>

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>

#include "app/DesktopDialogs.h"
#include "app/PlacementListControl.h"
#include "app/PlacementListModel.h"
#include "app/PlacementTableView.h"
#include "app/PlacementTemplate.h"
#include "app/QtTranslations.h"
#include "app/WindowExtras.h"
#include "controls/CAboutDlg.h"
#include "controls/ProgramResources.h"
#include "texts/ProgramTexts.h"

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX   // keep std::min and std::max usable
#endif
#include <windows.h>
#endif

namespace morvi {
namespace {

constexpr int kFirstId = IDC_BROWSE_SERVER;
// The progress caption is repainted at most this often while a handler runs.
constexpr qint64 kCaptionRepaintMs = 50;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

// The link label sits in the strip below the script row, under the contact text. Its size is
// 150 x 20 pixels, widened when the address needs more room.
constexpr int kLinkLeftDu = 8;
constexpr int kLinkWidthPx = 150;
constexpr int kLinkHeightPx = 20;
constexpr int kLinkCellHeightPx = 15;

}  // namespace

PlacementWindow::PlacementWindow(QWidget* parent) : QDialog(parent), m_dlg(*this) {
    setWindowTitle(QString::fromUtf8(Text(TextId::MainWindowTitle).data()));
    setWindowIcon(ProgramIcon());
    // A main window of its own (task bar entry, minimise and maximise boxes) that grows from
    // the template's size, which is also its smallest.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    m_units = DialogUnits::ForFont(font());
    resize(m_units.X(kMainWidthDu), m_units.Y(kMainHeightDu));
    setMinimumSize(size());
    BuildControls();
    ConnectNotifications();
    m_extras = new WindowExtras(*this);
}

PlacementWindow::~PlacementWindow() = default;

void PlacementWindow::BuildControls() {
    const ControlFactory factory = [this](const DialogItem&, QWidget* parent) -> QWidget* {
        m_listView = new PlacementTableView(parent);
        return m_listView;
    };
    m_templateControls = CreateControls(this, MainWindowTemplate(), m_units, factory);
    for (QWidget* widget : m_templateControls) {
        const QString name = widget->objectName();
        if (!name.startsWith(QStringLiteral("id")))
            continue;
        const int id = name.mid(2).toInt();
        if (id >= kFirstId && id - kFirstId < static_cast<int>(m_controls.size()))
            m_controls[static_cast<size_t>(id - kFirstId)] = widget;
    }
    m_model = new PlacementListModel(m_dlg.ListRows(), this);
    m_listView->AttachModel(m_model);
    m_list = std::make_unique<PlacementListControl>(*m_model, *m_listView);
    if (auto* frame = qobject_cast<QGroupBox*>(Control(IDC_FRAME)))
        m_frameCaption = ToUtf8(frame->title());
}

void PlacementWindow::ConnectNotifications() {
    const std::pair<int, void (CPlacementDlg::*)()> buttons[] = {
        {IDC_BROWSE_SERVER, &CPlacementDlg::OnBrowseServer},
        {IDC_EXIT, &CPlacementDlg::OnExit},
        {IDC_ADD, &CPlacementDlg::OnAdd},
        {IDC_BROWSE_SCRIPT, &CPlacementDlg::OnBrowseScript},
        {IDC_EXCHANGE, &CPlacementDlg::OnExchange},
        {IDC_EDIT_SCRIPT, &CPlacementDlg::OnEditScript},
        {IDC_FIND_ALL, &CPlacementDlg::OnFindFirst},
        {IDC_MODIFY, &CPlacementDlg::OnModify},
        {IDC_CANCEL_EDIT, &CPlacementDlg::OnCancelEdit},
        {IDC_FIND_NEXT, &CPlacementDlg::OnFindNext},
    };
    for (const auto& [id, handler] : buttons) {
        auto* button = qobject_cast<QPushButton*>(Control(id));
        connect(button, &QPushButton::clicked, this, [this, handler = handler] { (m_dlg.*handler)(); });
    }
    // The window shows what a save or a delete did itself; the status strip adds the last write.
    connect(qobject_cast<QPushButton*>(Control(IDC_DELETE)), &QPushButton::clicked, this,
            [this] { m_extras->ShowDeleteReport(m_dlg.OnDelete()); });
    connect(qobject_cast<QPushButton*>(Control(IDC_SAVE)), &QPushButton::clicked, this, [this] {
        const SaveKind kind = KindOfNextSave(m_dlg);
        m_extras->ShowSaveOutcome(m_dlg.OnSave(), kind);
    });
    // Host-made changes of the list boxes are made with their signals blocked, so these fire
    // only for the user's own selections and double clicks.
    connect(ListBox(IDC_MAP_LIST), &QListWidget::itemSelectionChanged, this,
            [this] { m_dlg.LoadMapPlacements(); });
    connect(ListBox(IDC_TEMPLATE_LIST), &QListWidget::itemDoubleClicked, this,
            [this] { m_dlg.OnTemplateDblClk(); });
    connect(m_listView, &PlacementTableView::listDoubleClicked, this, [this] { m_dlg.OnListDblClk(); });
    connect(m_listView, &PlacementTableView::listClicked, this, [this] { m_dlg.OnListClick(); });
    for (int id : {IDC_TEMPLATE_LIST, IDC_PLACEMENT_LIST, IDC_GROUP})
        Control(id)->installEventFilter(this);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { m_dlg.OnSysCommand(kAboutCommand); });
}

void PlacementWindow::CreateHyperlink() {
    HyperlinkParams params;
    params.parent = this;
    params.id = 0;
    params.face = QStringLiteral("Microsoft Sans Serif");
    params.fontHeight = kLinkCellHeightPx;
    params.bold = false;
    params.normalColour = params.hoverColour = params.backgroundColour = QColor(0, 0, 255);
    params.hasBackground = false;
    params.useCursor = true;
    params.cursor = ProgramCursor();
    params.onClick = [this](int) {
        OpenWebAddress(kProjectAddress, [this](const std::string& why) { m_extras->SetStatusText(why); });
    };
    params.text = QString::fromUtf8(kProjectAddress);
    // Measure the address in the label's font so it is never cut off.
    QFont linkFont(params.face);
    linkFont.setStyleHint(QFont::SansSerif);
    linkFont.setItalic(true);
    linkFont.setPixelSize(PixelSizeForCellHeight(linkFont, kLinkCellHeightPx));
    params.width = std::max(kLinkWidthPx, QFontMetrics(linkFont).horizontalAdvance(params.text) + 8);
    params.height = kLinkHeightPx;
    // Bottom strip, moved right past any control it would cover.
    QRect place(m_units.X(kLinkLeftDu), height() - params.height, params.width, params.height);
    for (bool moved = true; moved;) {
        moved = false;
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child != &m_link && !qobject_cast<QGroupBox*>(child) && child->geometry().intersects(place)) {
                place.moveLeft(child->geometry().right() + 1 + m_units.X(4));
                moved = true;
            }
        }
    }
    params.x = place.x();
    params.y = place.y();
    if (!m_link.CreateLink(params))
        ShowMessage(std::string(Text(TextId::LinkFailed)), std::string(Text(TextId::LinkFailedCaption)),
                    MessageButtons::Ok, MessageIcon::Stop);
}

bool PlacementWindow::InitDialog() {
    CreateHyperlink();
    // The list's status takes the bottom line between the link and the status strip.
    m_extras->PlaceListStatus(m_link.geometry().right() + 1);
    return m_dlg.OnInitDialog();
}

QWidget* PlacementWindow::Control(int id) const {
    const int index = id - kFirstId;
    if (index < 0 || index >= static_cast<int>(m_controls.size()))
        return nullptr;
    return m_controls[static_cast<size_t>(index)];
}

QListWidget* PlacementWindow::ListBox(int id) const { return qobject_cast<QListWidget*>(Control(id)); }
QComboBox* PlacementWindow::Combo(int id) const { return qobject_cast<QComboBox*>(Control(id)); }

// --- texts of controls ---------------------------------------------------------------------

std::string PlacementWindow::ItemText(int id) const {
    if (id == IDC_FRAME)
        return m_frameCaption;   // the frame may show it a moment later (RepaintFrameCaption)
    QWidget* widget = Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return ToUtf8(edit->text());
    if (auto* label = qobject_cast<QLabel*>(widget))
        return ToUtf8(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return ToUtf8(button->text());
    if (auto* frame = qobject_cast<QGroupBox*>(widget))
        return ToUtf8(frame->title());
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return ToUtf8(combo->currentText());
    return {};
}

void PlacementWindow::SetItemText(int id, const std::string& text) {
    // A load sets the same progress caption after every record of a file: repeating it must
    // cost next to nothing. Only this function changes the frame's caption.
    if (id == IDC_FRAME) {
        if (text != m_frameCaption) {
            m_frameCaption = text;
            m_frameCaptionStale = true;
            RepaintFrameCaption(true);
        }
        return;
    }
    QWidget* widget = Control(id);
    const QString value = FromUtf8(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(value);
        // Show the beginning of a long text, as a freshly set edit control does.
        edit->setCursorPosition(0);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->text() != value) {
            label->setText(value);
            // A message longer than its line stays readable as a tooltip.
            label->setToolTip(value);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(value);
    } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        if (frame->title() != value) {
            frame->setTitle(value);
        }
    }
}

void PlacementWindow::UpdateItemNow(int id) {
    if (id == IDC_FRAME) {
        RepaintFrameCaption(false);
        return;
    }
    if (QWidget* widget = Control(id); widget && widget->isVisible())
        widget->repaint();
}

QRect PlacementWindow::FrameCaptionRect(const QGroupBox& frame) {
    // The caption and the top line of the frame it interrupts; the frame's contents start below.
    const int captionHeight = std::max(frame.fontMetrics().height() * 3 / 2, frame.contentsRect().top());
    return QRect(0, 0, frame.width(), captionHeight);
}

void PlacementWindow::SetFrameCaption(QGroupBox& frame, const QString& caption) {
    // QGroupBox marks its whole area for repainting when its title changes, and with it every
    // control drawn over the frame; a load changes the progress caption a hundred times, so
    // only the caption strip is marked.
    const bool wasDisabled = frame.testAttribute(Qt::WA_UpdatesDisabled);
    frame.setAttribute(Qt::WA_UpdatesDisabled, true);
    frame.setTitle(caption);
    frame.setAttribute(Qt::WA_UpdatesDisabled, wasDisabled);
    frame.update(FrameCaptionRect(frame));
}

void PlacementWindow::ApplyFrameCaption() {
    auto* frame = qobject_cast<QGroupBox*>(Control(IDC_FRAME));
    if (!frame || !m_frameCaptionStale)
        return;
    m_frameCaptionStale = false;
    SetFrameCaption(*frame, FromUtf8(m_frameCaption));
}

void PlacementWindow::RepaintFrameCaption(bool throttled) {
    auto* frame = qobject_cast<QGroupBox*>(Control(IDC_FRAME));
    if (!frame)
        return;
    if (!frame->isVisible()) {
        ApplyFrameCaption();
        return;
    }
    // During a long load the caption is the only sign of progress; repainting it on every
    // record would cost more than the load, so it is redrawn at most every few milliseconds.
    // A caption not drawn now is drawn when the event loop next runs.
    if (throttled && m_captionRepaintClock.isValid() && m_captionRepaintClock.elapsed() < kCaptionRepaintMs) {
        if (!m_captionApplyQueued) {
            m_captionApplyQueued = true;
            QMetaObject::invokeMethod(this, [this] {
                m_captionApplyQueued = false;
                if (m_frameCaptionStale)
                    RepaintFrameCaption(false);
            }, Qt::QueuedConnection);
        }
        return;
    }
    ApplyFrameCaption();
    m_captionRepaintClock.start();
    frame->repaint(FrameCaptionRect(*frame));
}

void PlacementWindow::FocusItem(int id) {
    QWidget* widget = Control(id);
    if (!widget)
        return;
    const bool moves = focusWidget() != widget;
    widget->setFocus(Qt::OtherFocusReason);
    // In an active window the focus change itself notifies (eventFilter). An inactive window
    // records the focus for later, so the notification is sent here.
    if (moves && !isActiveWindow())
        NotifyFocus(id);
}

bool PlacementWindow::IsItemChecked(int id) const {
    auto* box = qobject_cast<QCheckBox*>(Control(id));
    return box && box->isChecked();
}

// --- list boxes ----------------------------------------------------------------------------

int PlacementWindow::ListBoxCount(int id) const {
    auto* list = ListBox(id);
    return list ? list->count() : 0;
}

void PlacementWindow::ListBoxAdd(int id, const std::string& text) {
    if (auto* list = ListBox(id)) {
        const QSignalBlocker quiet(list);
        list->addItem(FromUtf8(text));
    }
}

void PlacementWindow::ListBoxDelete(int id, int index) {
    auto* list = ListBox(id);
    if (!list || index < 0 || index >= list->count())
        return;
    const QSignalBlocker quiet(list);
    delete list->takeItem(index);
}

std::string PlacementWindow::ListBoxText(int id, int index) const {
    auto* list = ListBox(id);
    if (!list || index < 0 || index >= list->count())
        return {};
    return ToUtf8(list->item(index)->text());
}

int PlacementWindow::ListBoxSelection(int id) const {
    auto* list = ListBox(id);
    if (!list)
        return -1;
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

void PlacementWindow::ListBoxSetSelection(int id, int index) {
    auto* list = ListBox(id);
    if (!list)
        return;
    const QSignalBlocker quiet(list);
    if (index < 0 || index >= list->count()) {
        list->clearSelection();
        return;
    }
    list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    list->scrollToItem(list->item(index));
}

// --- combo boxes ---------------------------------------------------------------------------

int PlacementWindow::ComboCount(int id) const {
    auto* combo = Combo(id);
    return combo ? combo->count() : 0;
}

void PlacementWindow::ComboInsert(int id, int index, const std::string& text) {
    auto* combo = Combo(id);
    if (!combo)
        return;
    const QSignalBlocker quiet(combo);
    const bool noneSelected = combo->currentIndex() < 0;
    combo->insertItem(index, FromUtf8(text));
    // Qt selects the first item put into an empty combo box; a list box control does not.
    if (noneSelected)
        combo->setCurrentIndex(-1);
}

std::string PlacementWindow::ComboItemText(int id, int index) const {
    auto* combo = Combo(id);
    if (!combo || index < 0 || index >= combo->count())
        return {};
    return ToUtf8(combo->itemText(index));
}

int PlacementWindow::ComboSelection(int id) const {
    auto* combo = Combo(id);
    return combo ? combo->currentIndex() : -1;
}

void PlacementWindow::ComboSetSelection(int id, int index) {
    auto* combo = Combo(id);
    if (!combo)
        return;
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

PlacementListHost& PlacementWindow::Placements() { return *m_list; }

// --- the desktop ---------------------------------------------------------------------------

MessageAnswer PlacementWindow::ShowMessage(const std::string& text, const std::string& caption,
                                           MessageButtons buttons, MessageIcon icon) {
    return RunMessageBox(this, text, caption, buttons, icon);
}

std::optional<std::string> PlacementWindow::BrowseForFolder(const std::string& title) {
    return RunFolderBrowser(this, title, m_dlg.ServerPath());
}

std::optional<std::string> PlacementWindow::ChooseFileToOpen(const std::vector<FileFilter>& filters,
                                                             const std::string& defaultExtension) {
    // The script folder of the server when there is one, else the system's choice.
    const QString scripts = QDir(FromUtf8(m_dlg.ServerPath())).filePath(QStringLiteral("script"));
    const std::string start = !m_dlg.ServerPath().empty() && QDir(scripts).exists() ? ToUtf8(scripts) : std::string();
    return RunFileOpenDialog(this, filters, defaultExtension, start);
}

void PlacementWindow::OpenInEditor(const std::string& path) {
    // The described window shows nothing when no editor starts; the status strip says why.
    LaunchTextEditor(path, [this](const std::string& why) { m_extras->SetStatusText(why); });
}

void PlacementWindow::ShowAboutBox() {
    CAboutDlg about(this);
    about.exec();
}

void PlacementWindow::RebuildTexts() {
    const Language before = m_shownLanguage;
    m_shownLanguage = CurrentLanguage();
    InstallTranslators(m_shownLanguage);
    setWindowTitle(QString::fromUtf8(Text(TextId::MainWindowTitle).data()));
    const QSize templateSize(m_units.X(kMainWidthDu), m_units.Y(kMainHeightDu));
    const std::vector<QRect> rects = RetextControls(templateSize, MainWindowTemplate(), m_templateControls, m_units);
    // The frame shows the caption the dialog gave it until the dialog puts that into the language.
    if (auto* frame = qobject_cast<QGroupBox*>(Control(IDC_FRAME)))
        frame->setTitle(FromUtf8(m_frameCaption));
    m_model->HeadingsChanged();
    m_extras->RebuildTexts(m_templateControls, rects, before);
}

void PlacementWindow::EndDialog(int result) { done(result); }

uint32_t PlacementWindow::TickCount() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string PlacementWindow::CurrentDirectory() { return ToUtf8(QDir::toNativeSeparators(QDir::currentPath())); }

// --- window events -------------------------------------------------------------------------

void PlacementWindow::reject() { m_dlg.OnCancel(); }

void PlacementWindow::NotifyFocus(int id) {
    switch (id) {
    case IDC_TEMPLATE_LIST: m_dlg.OnTemplateSetFocus(); break;
    case IDC_PLACEMENT_LIST: m_dlg.OnListSetFocus(); break;
    case IDC_GROUP: m_dlg.OnGroupSetFocus(); break;
    default: break;
    }
}

bool PlacementWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        // Closing a combo box's drop-down hands the focus back to it; that is not the
        // control gaining the focus.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            for (int id : {IDC_TEMPLATE_LIST, IDC_PLACEMENT_LIST, IDC_GROUP}) {
                if (watched == Control(id))
                    NotifyFocus(id);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PlacementWindow::keyPressEvent(QKeyEvent* event) {
    // A focused push button takes Enter itself; anywhere else Enter is the dialog's OK
    // command, which the window logic ignores. It never closes the window.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        m_dlg.OnOK();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PlacementWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    // Over the placement list: the row menu; it ends with the About entry the rest of the
    // window offers alone.
    if (m_listView->rect().contains(m_listView->mapFromGlobal(event->globalPos()))) {
        m_extras->FillContextMenu(menu);
        menu.exec(event->globalPos());
        return;
    }
    // The window's menu (the system menu's entries of the Windows window): About, the language.
    QAction* about = menu.addAction(QString::fromUtf8(Text(TextId::AboutMenuEntry).data()));
    QAction* problems = menu.addAction(QString::fromUtf8(Text(TextId::ProblemsMenu).data()));
    m_extras->AddLanguageMenu(menu);
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == about)
        m_dlg.OnSysCommand(kAboutCommand);
    else if (chosen == problems)
        m_extras->ToggleProblems();
}

void PlacementWindow::showEvent(QShowEvent* event) {
    if (!m_centred) {
        m_centred = true;
        if (QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
#ifdef Q_OS_WIN
    if (!m_systemMenuReady) {
        m_systemMenuReady = true;
        if (HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE)) {
            const std::wstring text = QString::fromUtf8(Text(TextId::AboutMenuEntry).data()).toStdWString();
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING, kAboutCommand, text.c_str());
            const std::wstring problems = QString::fromUtf8(Text(TextId::ProblemsMenu).data()).toStdWString();
            AppendMenuW(menu, MF_STRING, kProblemsCommand, problems.c_str());
        }
    }
#endif
    QDialog::showEvent(event);
}

#ifdef Q_OS_WIN
bool PlacementWindow::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    auto* msg = static_cast<MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == kAboutCommand) {
        m_dlg.OnSysCommand(static_cast<int>(msg->wParam));
        *result = 0;
        return true;
    }
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == kProblemsCommand) {
        m_extras->ToggleProblems();
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#endif

}  // namespace morvi
