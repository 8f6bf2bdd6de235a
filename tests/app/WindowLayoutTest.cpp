// The main window as built from template 102: every control in place, every label readable,
// the list's columns, and fonts that can show the Chinese messages.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QValidator>
#include <gtest/gtest.h>

#include "app/PlacementListModel.h"
#include "app/PlacementTableView.h"
#include "app/PlacementTemplate.h"
#include "app/PlacementWindow.h"
#include "controls/CAboutDlg.h"
#include "GuiTestSupport.h"
#include "TestFiles.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

QString Describe(const QWidget* w) {
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(w)) text = label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) text = button->text();
    return w->objectName() + QStringLiteral(" '") + text + QStringLiteral("'");
}

// Direct child widgets of a dialog that are controls (not the label of the link).
std::vector<QWidget*> Controls(QWidget* dialog) {
    std::vector<QWidget*> result;
    for (QWidget* w : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        result.push_back(w);
    return result;
}

class WindowLayoutTest : public ::testing::Test {
protected:
    // InitDialog reads and writes MorviConfig.ini in the current directory: keep it in a
    // directory of the test's own, never the one the tests were started from.
    test::TempDir work;
    test::ConfiguredWorkDir cwd{work.path(), work.path() + "/no-server"};
    PlacementWindow window;
};

TEST_F(WindowLayoutTest, EveryControlOfTheTemplateExistsByIdAtItsPlace) {
    const QRect client = window.rect();
    for (const DialogItem& item : MainWindowTemplate()) {
        if (item.id == 0)
            continue;
        auto* w = window.findChild<QWidget*>(QStringLiteral("id%1").arg(item.id));
        ASSERT_NE(w, nullptr) << item.id;
        EXPECT_EQ(w, window.Control(item.id));
        EXPECT_TRUE(client.contains(w->geometry())) << item.id;
        const QRect expected = window.Units().ToPixels(item.x, item.y, item.cx, item.cy);
        const QRect actual = w->geometry();
        switch (item.kind) {
        case ControlKind::DropList:   // as high as the closed box, not the dropped list
            EXPECT_EQ(actual.topLeft(), expected.topLeft()) << item.id;
            EXPECT_EQ(actual.width(), expected.width()) << item.id;
            break;
        case ControlKind::Label:      // status lines may be taller for the font, never shorter
            EXPECT_EQ(actual.topLeft(), expected.topLeft()) << item.id;
            EXPECT_EQ(actual.width(), expected.width()) << item.id;
            EXPECT_GE(actual.height(), expected.height()) << item.id;
            break;
        case ControlKind::Button:     // may grow to show its text, never shrink or move rows
            EXPECT_TRUE(actual.contains(expected)) << item.id;
            EXPECT_EQ(actual.top(), expected.top()) << item.id;
            EXPECT_EQ(actual.height(), expected.height()) << item.id;
            EXPECT_LE(actual.width(), expected.width() + 12) << item.id;
            break;
        default:
            EXPECT_EQ(actual, expected) << item.id;
        }
    }
}

TEST_F(WindowLayoutTest, WindowStartsAtTheTemplatesSizeInDialogUnitsAndGrowsFromIt) {
    const DialogUnits& u = window.Units();
    EXPECT_GT(u.baseX, 3);
    EXPECT_GT(u.baseY, 8);
    EXPECT_EQ(window.size(), QSize(u.X(kMainWidthDu), u.Y(kMainHeightDu)));
    EXPECT_EQ(window.minimumSize(), window.size());
    EXPECT_GT(window.maximumSize().width(), 4000);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(WindowLayoutTest, DialogUnitsConvertLikeWindows) {
    const DialogUnits u{6, 13};   // the classic 8-point dialog font
    EXPECT_EQ(u.ToPixels(7, 33, 465, 282), QRect(11, 54, 697, 458));
    EXPECT_EQ(u.X(479), 719);
    EXPECT_EQ(u.Y(324), 527);
    // Adjacent rectangles stay adjacent: the right edge of one is the left edge of the next.
    EXPECT_EQ(u.ToPixels(78, 268, 30, 8).right() + 1, u.ToPixels(108, 266, 25, 12).left());
}

TEST_F(WindowLayoutTest, LabelsShowTheirWholeText) {
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->objectName() == QStringLiteral("id1006") || label->objectName() == QStringLiteral("id1008"))
            continue;   // status lines: their texts change at run time
        if (label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << Describe(label).toStdString();
            continue;
        }
        EXPECT_LE(label->sizeHint().width(), label->width()) << Describe(label).toStdString();
        EXPECT_LE(label->fontMetrics().height(), label->height()) << Describe(label).toStdString();
    }
}

TEST_F(WindowLayoutTest, ButtonAndCheckBoxTextsFit) {
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
        const int needed = button->fontMetrics().horizontalAdvance(button->text());
        const int room = qobject_cast<QPushButton*>(button) ? button->width() - 4
                                                             : button->width() - 18;   // box of a check box
        EXPECT_LE(needed, room) << Describe(button).toStdString();
    }
}

TEST_F(WindowLayoutTest, NoTwoControlsOverlap) {
    window.InitDialog();   // creates the link label too
    const auto controls = Controls(&window);
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            QWidget* a = controls[i];
            QWidget* b = controls[j];
            if (qobject_cast<QGroupBox*>(a) || qobject_cast<QGroupBox*>(b) || !a->isVisibleTo(&window) ||
                !b->isVisibleTo(&window))
                continue;
            EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                << Describe(a).toStdString() << " overlaps " << Describe(b).toStdString();
        }
    }
    EXPECT_TRUE(window.rect().contains(window.Link().geometry()));
    EXPECT_GE(window.Link().width(), window.Link().fontMetrics().horizontalAdvance(window.Link().Text()));
}

TEST_F(WindowLayoutTest, ListBoxesAreUnsortedAndCombosStartEmpty) {
    for (int id : {IDC_MAP_LIST, IDC_TEMPLATE_LIST}) {
        auto* list = qobject_cast<QListWidget*>(window.Control(id));
        ASSERT_NE(list, nullptr);
        EXPECT_FALSE(list->isSortingEnabled());
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    }
    for (int id : {IDC_TYPE, IDC_GROUP, IDC_SERIES}) {
        auto* combo = qobject_cast<QComboBox*>(window.Control(id));
        ASSERT_NE(combo, nullptr);
        EXPECT_FALSE(combo->isEditable());
        window.ComboInsert(id, 0, "Song");
        window.ComboInsert(id, 0, "Enemy");
        EXPECT_EQ(window.ComboSelection(id), -1);
        EXPECT_EQ(window.ComboItemText(id, 0), "Enemy");
        EXPECT_EQ(window.ComboItemText(id, 1), "Song");
    }
}

TEST_F(WindowLayoutTest, NumericEditsTakeDigitsOnlyOfAnyLengthAndAlignRight) {
    for (int id : {IDC_POS_X, IDC_POS_Y, IDC_OFFSET_X, IDC_OFFSET_Y, IDC_DROP, IDC_FIND_X, IDC_FIND_Y}) {
        auto* edit = qobject_cast<QLineEdit*>(window.Control(id));
        ASSERT_NE(edit, nullptr) << id;
        ASSERT_NE(edit->validator(), nullptr) << id;
        EXPECT_TRUE(edit->alignment() & Qt::AlignRight) << id;
        struct Case { const char* text; QValidator::State state; } cases[] = {
            {"", QValidator::Acceptable},
            {"0", QValidator::Acceptable},
            {"123456789012345678901234567890", QValidator::Acceptable},
            {"-1", QValidator::Invalid},
            {"+1", QValidator::Invalid},
            {"1 2", QValidator::Invalid},
            {"12a", QValidator::Invalid},
        };
        for (const Case& c : cases) {
            QString text = QString::fromLatin1(c.text);
            int pos = 0;
            EXPECT_EQ(edit->validator()->validate(text, pos), c.state) << id << " '" << c.text << "'";
        }
    }
    for (int id : {IDC_NAME, IDC_SCRIPT, IDC_FIND_NAME}) {
        auto* edit = qobject_cast<QLineEdit*>(window.Control(id));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->validator(), nullptr) << id;
    }
}

TEST_F(WindowLayoutTest, ListHasTheTwelveHeadingsWidthsAndHiddenPathColumns) {
    PlacementTableView& view = window.ListView();
    const char* headings[] = {"Name", "Pos   x", "x Move", "Pos   y", "y Move", "Type",
                              "Group", "Serie", "Money", "Script", "", ""};
    const int widths[] = {100, 60, 60, 60, 60, 60, 60, 60, 60, 280};
    ASSERT_EQ(view.model()->columnCount(), 12);
    for (int c = 0; c < 12; ++c) {
        EXPECT_EQ(view.model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
                  QString::fromLatin1(headings[c])) << c;
        if (c < 10) {
            EXPECT_FALSE(view.isColumnHidden(c)) << c;
            EXPECT_EQ(view.columnWidth(c), widths[c]) << c;
        } else {
            EXPECT_TRUE(view.isColumnHidden(c)) << c;
        }
    }
    EXPECT_TRUE(view.showGrid());
    EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(view.selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(view.isSortingEnabled());
}

TEST_F(WindowLayoutTest, MessageFontsHaveGlyphsForTheChineseTexts) {
    // Without a CJK font Qt silently draws empty boxes; the dialog font names CJK families.
    const QString texts[] = {
        QStringLiteral("服务器路径尚未配置!"),
        QStringLiteral("NPC配置列表完成!共有NPC配置信息[12]条!"),
        QStringLiteral("进度[37]"),
        QStringLiteral("双击该选项可以编辑选定项"),
        QStringLiteral("宋,金阵营只对宋金中的NPC有效!"),
        QStringLiteral("添加NPC模型成功,现在可以更改NPC配置信息!"),
        QStringLiteral("[调试模式]"),
        QString::fromUtf8(Text(TextId::AboutMenuEntry).data()),
    };
    for (int id : {IDC_HINT, IDC_FRAME, IDC_SERVER_STATUS}) {
        const QFontMetrics metrics(window.Control(id)->font());
        for (const QString& text : texts) {
            for (char32_t c : text.toUcs4())
                EXPECT_TRUE(metrics.inFontUcs4(c)) << id << " U+" << std::hex << uint32_t(c);
        }
    }
}

TEST_F(WindowLayoutTest, AboutBoxFollowsTemplate100) {
    CAboutDlg about(&window);
    const DialogUnits u = DialogUnits::ForFont(about.font());
    EXPECT_EQ(about.size(), QSize(u.X(235), u.Y(55)));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    bool hasVersion = false, hasMoreInfo = false;
    for (QLabel* label : about.findChildren<QLabel*>()) {
        hasVersion |= label->text().endsWith(QStringLiteral("Version 1.0"));
        hasMoreInfo |= label->text() == QStringLiteral("More Info :");
        if (!label->pixmap().isNull())
            continue;
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
    }
    EXPECT_TRUE(hasVersion);
    EXPECT_TRUE(hasMoreInfo);
    auto* ok = about.findChild<QPushButton*>(QStringLiteral("id1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("Thoat"));
    EXPECT_TRUE(ok->isDefault());
}

}  // namespace
}  // namespace morvi
