// What the window does for the logic: control texts, quiet host-made changes, focus
// notifications, keys, the About box, the progress caption, and the desktop seams.
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/DesktopDialogs.h"
#include "app/DesktopSeams.h"
#include "app/PlacementWindow.h"
#include "controls/CAboutDlg.h"
#include "GuiTestSupport.h"

namespace morvi {
namespace {

class WindowHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        DesktopSeams::Reset();
        DesktopSeams::SetUnattended(true);
    }
    void ShowActive() {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    PlacementWindow window;
};

TEST_F(WindowHostTest, ControlTextsReadBackAsWritten) {
    const std::pair<int, std::string> cases[] = {
        {IDC_NAME, "卫兵 Guard"}, {IDC_SCRIPT, "\\script\\npc\\a b.lua"}, {IDC_HINT, "双击该选项可以编辑选定项"},
        {IDC_FRAME, "进度[]"}, {IDC_SERVER_STATUS, "/srv/game"}, {IDC_BROWSE_SERVER, "Tim..."}, {IDC_POS_X, ""},
    };
    for (const auto& [id, text] : cases) {
        window.SetItemText(id, text);
        EXPECT_EQ(window.ItemText(id), text) << id;
    }
    // A long text shows its beginning, as a freshly set edit control does.
    window.SetItemText(IDC_SCRIPT, std::string(300, 'p'));
    EXPECT_EQ(qobject_cast<QLineEdit*>(window.Control(IDC_SCRIPT))->cursorPosition(), 0);
    EXPECT_EQ(window.ItemText(9999), "");
    EXPECT_FALSE(window.IsItemChecked(IDC_CONTINUE));
    QTest::mouseClick(window.Control(IDC_CONTINUE), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(window.IsItemChecked(IDC_CONTINUE));
}

TEST_F(WindowHostTest, HostMadeListChangesSendNoSelectionNotification) {
    auto* maps = qobject_cast<QListWidget*>(window.Control(IDC_MAP_LIST));
    QSignalSpy changes(maps, &QListWidget::itemSelectionChanged);
    for (const char* name : {"Ba Lang", "Tuong Duong", "Dai Ly"})
        window.ListBoxAdd(IDC_MAP_LIST, name);
    EXPECT_EQ(window.ListBoxSelection(IDC_MAP_LIST), -1);
    maps->setCurrentRow(1);   // the user's choice notifies
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(window.ListBoxSelection(IDC_MAP_LIST), 1);
    window.ListBoxDelete(IDC_MAP_LIST, 1);
    window.ListBoxDelete(IDC_MAP_LIST, 7);
    window.ListBoxDelete(IDC_MAP_LIST, 0);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(window.ListBoxCount(IDC_MAP_LIST), 1);
    EXPECT_EQ(window.ListBoxText(IDC_MAP_LIST, 0), "Dai Ly");
    EXPECT_EQ(window.ListBoxText(IDC_MAP_LIST, 1), "");
}

TEST_F(WindowHostTest, ControlsGainingTheFocusWriteTheirHints) {
    const std::pair<int, std::string> cases[] = {
        {IDC_TEMPLATE_LIST, "双击该选项可以替换或增添NPC"},
        {IDC_PLACEMENT_LIST, "双击该选项可以编辑选定项"},
        {IDC_GROUP, "宋,金阵营只对宋金中的NPC有效!"},
    };
    // Inactive window: the focus is only recorded, yet the notification is sent.
    for (const auto& [id, hint] : cases) {
        window.SetItemText(IDC_HINT, "-");
        window.FocusItem(id);
        EXPECT_EQ(window.ItemText(IDC_HINT), hint) << id;
    }
    ShowActive();
    for (const auto& [id, hint] : cases) {
        window.FocusItem(IDC_NAME);
        window.SetItemText(IDC_HINT, "-");
        window.FocusItem(id);
        EXPECT_EQ(window.ItemText(IDC_HINT), hint) << id;
        // Focus that does not move sends nothing.
        window.SetItemText(IDC_HINT, "-");
        window.FocusItem(id);
        EXPECT_EQ(window.ItemText(IDC_HINT), "-") << id;
    }
    // The focus coming back from the group combo's own drop-down is no new focus.
    window.SetItemText(IDC_HINT, "-");
    QFocusEvent back(QEvent::FocusIn, Qt::PopupFocusReason);
    QApplication::sendEvent(window.Control(IDC_GROUP), &back);
    EXPECT_EQ(window.ItemText(IDC_HINT), "-");
    // A click into the list is a focus change like any other.
    window.FocusItem(IDC_NAME);
    QTest::mouseClick(window.Control(IDC_PLACEMENT_LIST)->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport")),
                      Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(window.ItemText(IDC_HINT), "双击该选项可以编辑选定项");
}

TEST_F(WindowHostTest, EnterNeverClosesEscapeEndsAsCancelled) {
    ShowActive();
    for (int id : {IDC_NAME, IDC_POS_X, IDC_SCRIPT, IDC_FIND_NAME, IDC_PLACEMENT_LIST, IDC_MAP_LIST, IDC_TYPE}) {
        window.Control(id)->setFocus();
        QTest::keyClick(window.Control(id), Qt::Key_Return);
        QTest::keyClick(window.Control(id), Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_TRUE(window.isVisible()) << id;
    }
    QTest::keyClick(window.Control(IDC_NAME), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), 2);
}

// Acts on whatever menu or modal box comes up while a nested event loop runs.
class ModalResponder {
public:
    explicit ModalResponder(std::function<void()> act) : m_act(std::move(act)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { m_act(); });
        m_timer.start(5);
    }

private:
    std::function<void()> m_act;
    QTimer m_timer;
};

TEST_F(WindowHostTest, F1AndTheContextMenuOpenTheAboutBox) {
    ShowActive();
    int aboutBoxes = 0;
    QString menuText;
    ModalResponder responder([&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menuText = menu->actions().value(0)->text();
            QTest::keyClick(menu, Qt::Key_A);   // the entry's mnemonic
        } else if (auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
            ++aboutBoxes;
            about->accept();
        }
    });
    QTest::keyClick(&window, Qt::Key_F1);
    EXPECT_EQ(aboutBoxes, 1);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), window.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&window, &menuEvent);
    EXPECT_EQ(menuText, QStringLiteral("关于 MorviNpc(&A)..."));
    EXPECT_EQ(aboutBoxes, 2);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowHostTest, ProgressCaptionIsPaintedBeforeTheHandlerReturns) {
    ShowActive();
    QWidget* frame = window.Control(IDC_FRAME);
    const QRect caption(frame->geometry().topLeft(), QSize(frame->width(), frame->fontMetrics().height()));
    auto grabCaption = [&] {
        return window.screen()->grabWindow(window.winId(), caption.x(), caption.y(), caption.width(),
                                           caption.height()).toImage();
    };
    QCoreApplication::processEvents();
    const QImage before = grabCaption();
    // No event processing between the change and the look at the screen.
    window.SetItemText(IDC_FRAME, "进度[42]");
    EXPECT_NE(grabCaption(), before);
}

// Only the caption strip is repainted when the progress caption changes, and captions that
// follow each other within the repaint throttle are drawn at the next turn of the event loop:
// whatever their length, the frame on the screen then looks as a full repaint draws it.
TEST_F(WindowHostTest, CaptionChangesLeaveTheFrameAsAFullRepaintDrawsIt) {
    ShowActive();
    QWidget* frame = window.Control(IDC_FRAME);
    auto grabFrame = [&] {
        const QRect r = frame->geometry();
        return window.screen()->grabWindow(window.winId(), r.x(), r.y(), r.width(), r.height()).toImage();
    };
    for (const char* caption : {"进度[100]", "进度[]", "NPC配置列表完成!共有NPC配置信息[198150]条!", "进度[7]"}) {
        window.SetItemText(IDC_FRAME, caption);
        QCoreApplication::processEvents();
        const QImage shown = grabFrame();
        window.repaint();
        EXPECT_EQ(shown, grabFrame()) << caption;
        EXPECT_EQ(window.ItemText(IDC_FRAME), caption);
    }
}

TEST(DesktopDialogsTest, FileFiltersShowTheirLabelsAndAllFilesMatchesEveryName) {
    struct Case { FileFilter filter; QString expected; } cases[] = {
        {{"脚本配置文件(*.lua)", "*.lua"}, QStringLiteral("脚本配置文件(*.lua)")},
        {{"所有文件(*.*)", "(*.*)"}, QStringLiteral("所有文件(*.*) (*)")},
        {{"所有文件(*.*)", "*.*"}, QStringLiteral("所有文件(*.*) (*)")},
        {{"Text", "*.txt"}, QStringLiteral("Text (*.txt)")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QtNameFilters({c.filter}), QStringList{c.expected}) << c.filter.label;
}

TEST(DesktopDialogsTest, SeamsAnswerInOrderAndRecordWhatWasAsked) {
    DesktopSeams::Reset();
    DesktopSeams::QueueAnswer(MessageAnswer::Yes);
    DesktopSeams::QueueAnswer(MessageAnswer::No);
    EXPECT_EQ(RunMessageBox(nullptr, "a", "提示", MessageButtons::YesNo, MessageIcon::Question), MessageAnswer::Yes);
    EXPECT_EQ(RunMessageBox(nullptr, "b", "提示", MessageButtons::YesNo, MessageIcon::Question), MessageAnswer::No);
    DesktopSeams::SetUnattended(true);
    EXPECT_EQ(RunMessageBox(nullptr, "c", "警告", MessageButtons::Ok, MessageIcon::Information), MessageAnswer::Ok);
    EXPECT_EQ(RunMessageBox(nullptr, "d", "提示", MessageButtons::YesNo, MessageIcon::Question), MessageAnswer::No);
    ASSERT_EQ(DesktopSeams::Messages().size(), 4u);
    EXPECT_EQ(DesktopSeams::Messages()[2].caption, "警告");

    DesktopSeams::QueueFolder("/srv/game");
    EXPECT_EQ(RunFolderBrowser(nullptr, "选择Morvi服务器端目录"), std::optional<std::string>("/srv/game"));
    EXPECT_EQ(RunFolderBrowser(nullptr, "again"), std::nullopt);
    EXPECT_EQ(DesktopSeams::FolderTitles(), (std::vector<std::string>{"选择Morvi服务器端目录", "again"}));

    std::vector<std::string> opened;
    DesktopSeams::SetEditorLauncher([&](const std::string& path) { opened.push_back(path); });
    LaunchTextEditor("/srv/game/script/a b.lua");
    EXPECT_EQ(opened, std::vector<std::string>{"/srv/game/script/a b.lua"});
    DesktopSeams::Reset();
    DesktopSeams::SetUnattended(true);
}

}  // namespace
}  // namespace morvi
