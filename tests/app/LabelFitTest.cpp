// Every text of both Qt windows readable at the screen's scale, in every language: the main
// window and the About box are built one language after another, checked as LabelFit.h
// describes, and saved as screenshots. ctest runs these cases at QT_SCALE_FACTOR 1, 1.5 and 2
// (the screenshots' names carry the scale).
#include <QApplication>
#include <QListWidget>
#include <QScreen>
#include <gtest/gtest.h>

#include "app/PlacementListModel.h"
#include "app/PlacementWindow.h"
#include "controls/CAboutDlg.h"
#include "GuiTestSupport.h"
#include "LabelFit.h"
#include "LanguageFileNames.h"
#include "TestFiles.h"
#include "texts/Language.h"

namespace morvi {
namespace {

using test::LanguageFileName;

QString ScaleName() {
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    return factor.isEmpty() ? QStringLiteral("1") : QString::fromLatin1(factor);
}

void ExpectReadable(QWidget* window, const QStringList& changing, const std::string& where) {
    for (const std::string& problem : test::CutTexts(window, changing)) ADD_FAILURE() << where << "cut: " << problem;
    for (const std::string& problem : test::OverlappingControls(window)) ADD_FAILURE() << where << problem;
}

void SaveScreenshot(QWidget* window, const QString& what, Language language) {
    const QString path = QString::fromStdString(test::ArtifactDirectory()) +
                         QStringLiteral("/scale-%1-%2-%3.png").arg(ScaleName(), what, QString::fromLatin1(LanguageFileName(language)));
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
}

class LabelFitTest : public ::testing::Test {
protected:
    void SetUp() override {
        server = work.path() + "/server";
        std::vector<PlacementRecord> records{
            test::Record(1, "Guard", 300, 0, 200, 0, 3, 0, 0, 0),
            test::Record(2, "Wolf", 100, 0, 50, 0, 0, 1, 2, 1),
            test::Record(3, "Shop", 700, 0, 400, 0, 5, 0, 0, 0, "\\script\\npc\\shop_keeper.lua"),
        };
        test::WriteServerTree(server, {{1, "Town", "town"}}, {"Guard", "Wolf", "Shop"}, {{"town/r1_S.DAT", records}});
    }
    void TearDown() override { SetLanguage(Language::Original); }

    test::TempDir work;
    std::string server;
};

TEST_F(LabelFitTest, TheScreenScalesTheWindows) {
    // The scale the case runs at reaches the windows as the screen's pixel ratio.
    EXPECT_DOUBLE_EQ(QApplication::primaryScreen()->devicePixelRatio(), ScaleName().toDouble());
}

TEST_F(LabelFitTest, EveryTextOfTheMainWindowFitsInEveryLanguage) {
    for (const Language language : kWindowLanguages) {
        SetLanguage(language);
        const std::string where = std::string(LanguageFileName(language)) + " at scale " + ScaleName().toStdString() + ": ";
        test::ConfiguredWorkDir cwd(work.path(), server);
        PlacementWindow window;
        window.InitDialog();
        qobject_cast<QListWidget*>(window.Control(IDC_MAP_LIST))->setCurrentRow(0);
        window.ListModel().FlushPendingRows();
        window.show();
        QApplication::processEvents();
        ExpectReadable(&window, {QStringLiteral("id1006"), QStringLiteral("id1008"), QStringLiteral("statusStrip"),
                                 QStringLiteral("listStatus")},
                       where);
        SaveScreenshot(&window, QStringLiteral("main"), language);
    }
}

TEST_F(LabelFitTest, EveryTextOfTheAboutBoxFitsInEveryLanguage) {
    for (const Language language : kWindowLanguages) {
        SetLanguage(language);
        CAboutDlg about;
        about.show();
        QApplication::processEvents();
        ExpectReadable(&about, {}, std::string(LanguageFileName(language)) + " at scale " + ScaleName().toStdString() + ": ");
        SaveScreenshot(&about, QStringLiteral("about"), language);
    }
}

}  // namespace
}  // namespace morvi
