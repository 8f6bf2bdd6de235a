// The Qt window in each language: "语言 / Language" in the row menu and the window's menu puts
// every text up again at once (labels, buttons, the frame caption, column headings, cue texts,
// the window title), remembered in MorviConfig.ini; each translated label fits its control at
// the template's size; a picture of the window in each language.

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <gtest/gtest.h>

#include "LanguageFit.h"
#include "app/DesktopSeams.h"
#include "app/PlacementListModel.h"
#include "app/PlacementWindow.h"
#include "app/WindowExtras.h"
#include "GuiTestSupport.h"
#include "TestFiles.h"
#include "texts/Language.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

QString ButtonText(PlacementWindow& window, int id) {
    auto* button = qobject_cast<QAbstractButton*>(window.Control(id));
    return button ? button->text() : QString();
}

bool HasLabel(PlacementWindow& window, const QString& text) {
    for (QLabel* label : window.findChildren<QLabel*>())
        if (label->text() == text && label->isVisibleTo(&window)) return true;
    return false;
}

class LanguageWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        DesktopSeams::Reset();
        DesktopSeams::SetUnattended(true);
        server = work.path() + "/server";
        std::vector<PlacementRecord> records{
            test::Record(1, "Guard", 300, 0, 200, 0, 3, 0, 0, 0),
            test::Record(2, "Wolf", 100, 0, 50, 0, 0, 0, 0, 1),
            test::Record(3, "Shop", 700, 0, 400, 0, 5, 0, 0, 0, "\\script\\npc\\shop_keeper.lua"),
        };
        test::WriteServerTree(server, {{1, "Town", "town"}}, {"Guard", "Wolf", "Shop", "Smith"},
                              {{"town/r1_S.DAT", records}});
        cwd = std::make_unique<test::ConfiguredWorkDir>(work.path(), server);
        window = std::make_unique<PlacementWindow>();
        window->InitDialog();
        auto* maps = qobject_cast<QListWidget*>(window->Control(IDC_MAP_LIST));
        maps->setCurrentRow(0);
        window->ListModel().FlushPendingRows();
    }
    void TearDown() override {
        window.reset();
        cwd.reset();
        SetLanguage(Language::Original);
        DesktopSeams::Reset();
    }
    // Chooses the language from the row menu, as a user does.
    void ChooseFromRowMenu(const char* entry) {
        QMenu menu;
        window->Extras().FillContextMenu(menu);
        auto* languages = menu.findChild<QMenu*>(QStringLiteral("menuLanguage"));
        ASSERT_NE(languages, nullptr);
        auto* action = languages->findChild<QAction*>(QString::fromLatin1(entry));
        ASSERT_NE(action, nullptr) << entry;
        action->trigger();
        QCoreApplication::processEvents();
    }

    test::TempDir work;
    std::string server;
    std::unique_ptr<test::ConfiguredWorkDir> cwd;
    std::unique_ptr<PlacementWindow> window;
};

TEST_F(LanguageWindowTest, ChoosingALanguagePutsEveryTextUpAgainAtOnce) {
    ChooseFromRowMenu("languageEnglish");
    EXPECT_EQ(CurrentLanguage(), Language::English);
    EXPECT_EQ(ButtonText(*window, IDC_EXIT), QStringLiteral("Exit"));
    EXPECT_EQ(ButtonText(*window, IDC_CONTINUE), QStringLiteral("More..."));
    EXPECT_TRUE(HasLabel(*window, QStringLiteral("Pos X")));
    EXPECT_EQ(window->ItemText(IDC_FRAME), "NPC list complete! [3] NPC placements in all!");
    EXPECT_EQ(window->ListModel().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Name"));
    EXPECT_EQ(window->ListModel().headerData(8, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Drops"));
    EXPECT_EQ(window->Extras().ListFilter()->placeholderText(), QStringLiteral("Filter NPCs"));
    EXPECT_EQ(window->Extras().ListStatus()->text().toStdString().rfind("3 / 3 rows shown", 0), 0u)
        << window->Extras().ListStatus()->text().toStdString();
    EXPECT_EQ(test::ReadFile(work.path() + "/MorviConfig.ini"),
              "[MorviConfig]\r\nServerPath=" + server + "\r\nUseDebug=false\r\nLanguage=en\r\n");

    // The menu shows the language chosen, and takes the window to another.
    {
        QMenu menu;
        window->Extras().FillContextMenu(menu);
        auto* languages = menu.findChild<QMenu*>(QStringLiteral("menuLanguage"));
        ASSERT_NE(languages, nullptr);
        EXPECT_EQ(languages->title(), QStringLiteral("Language / 语言"));
        EXPECT_TRUE(languages->findChild<QAction*>(QStringLiteral("languageEnglish"))->isChecked());
        EXPECT_FALSE(languages->findChild<QAction*>(QStringLiteral("languageOriginal"))->isChecked());
    }
    ChooseFromRowMenu("languageVietnamese");
    EXPECT_EQ(ButtonText(*window, IDC_EXIT), QString::fromUtf8("Thoát"));
    EXPECT_TRUE(HasLabel(*window, QString::fromUtf8("Tọa độ X")));
    EXPECT_EQ(window->ItemText(IDC_FRAME), "Đã lập xong danh sách NPC! Có tất cả [3] thông tin vị trí NPC!");

    ChooseFromRowMenu("languageOriginal");
    EXPECT_EQ(ButtonText(*window, IDC_EXIT), QStringLiteral("Thoat"));
    EXPECT_TRUE(HasLabel(*window, QStringLiteral("Toa Do X")));
    EXPECT_EQ(window->ItemText(IDC_FRAME), "NPC配置列表完成!共有NPC配置信息[3]条!");
    EXPECT_EQ(window->ListModel().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Pos   x"));
}

TEST_F(LanguageWindowTest, EveryTranslatedLabelFitsItsControlAtTheTemplatesSize) {
    for (Language language : kWindowLanguages) {
        if (language == Language::Original) continue;   // the described texts stay as they are
        SetLanguage(language);
        const std::vector<test::CutText> main = test::CutTemplateTexts(MainWindowTemplate(), window->font(), window->Units());
        EXPECT_TRUE(main.empty()) << LanguageCode(language) << ": main window:" << test::Describe(main);
        const QFont aboutFont = DialogFont();
        const std::vector<test::CutText> about =
            test::CutTemplateTexts(AboutTemplate(), aboutFont, DialogUnits::ForFont(aboutFont));
        EXPECT_TRUE(about.empty()) << LanguageCode(language) << ": About box:" << test::Describe(about);
    }
}

TEST_F(LanguageWindowTest, SavesAPictureOfTheWindowInEachLanguage) {
    for (Language language : kWindowLanguages) {
        window->Logic().OnLanguageChosen(language);
        window->show();
        QCoreApplication::processEvents();
        const std::string code = language == Language::Original ? "original" : std::string(LanguageCode(language));
        const std::string path = test::ArtifactDirectory() + "/main-window-language-" + code + ".png";
        EXPECT_TRUE(window->grab().save(QString::fromStdString(path))) << path;
    }
}

}  // namespace
}  // namespace morvi
