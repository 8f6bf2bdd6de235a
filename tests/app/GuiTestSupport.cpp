#include "GuiTestSupport.h"

#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

#include "app/DesktopSeams.h"
#include "TreeGenerator.h"
#include "data/text/GbkCodec.h"

namespace morvi::test {
namespace {

// The offscreen platform cannot grab the mouse or keyboard or raise windows, and says so each
// time; Qt still tracks the grabbing widget, which is what the tests look at.
QtMessageHandler g_previousHandler = nullptr;

void QuietMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QStringLiteral("This plugin does not support ")))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// One QApplication for the whole test program; boxes and dialogs never wait for a person.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "morvi_gui_tests";
        static char* argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
        g_previousHandler = qInstallMessageHandler(QuietMessageHandler);
        DesktopSeams::SetUnattended(true);
    }
    void TearDown() override {
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication* m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

std::string Gbk(const std::string& utf8) {
    auto gbk = Utf8ToGbk(utf8);
    EXPECT_TRUE(gbk.has_value()) << utf8;
    return gbk.value_or(std::string{});
}

}  // namespace

PlacementRecord Record(int templateIndex, const std::string& name, int x, int offsetX, int y,
                       int offsetY, int type, int group, int series, int drop,
                       const std::string& script) {
    // The generator's record, with the name given in UTF-8 as the tests write it.
    return tools::MakeRecord(templateIndex, Gbk(name), x, offsetX, y, offsetY, type, group, series, drop,
                             script);
}

std::string RegionImage(const std::vector<PlacementRecord>& records, char filler) {
    std::string image(static_cast<size_t>(kNpcSectionOffset), filler);
    SectionHeader header{};
    for (size_t i = 2; i < header.size(); ++i)
        header[i] = static_cast<uint8_t>(0xA0 + i);
    SetHeaderPlacementCount(header, static_cast<uint16_t>(records.size()));
    image.append(reinterpret_cast<const char*>(header.data()), header.size());
    for (const PlacementRecord& r : records)
        AppendPlacementBytes(image, r.block, r.script);
    return image;
}

void WriteServerTree(const std::string& root, const std::vector<MapEntry>& maps,
                     const std::vector<std::string>& templateNames,
                     const std::vector<RegionEntry>& regions) {
    WriteFile(root + "/Gameserver.exe", "");
    std::string worldset = "[Init]\r\nCount=" + std::to_string(maps.size()) + "\r\n[World]\r\n";
    std::string maplist = "[List]\r\n";
    for (size_t i = 0; i < maps.size(); ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "World%02zu", i);
        worldset += std::string(key) + "=" + std::to_string(maps[i].number) + "\r\n";
        maplist += std::to_string(maps[i].number) + "_name=" + Gbk(maps[i].name) + "\r\n";
        std::string dir = maps[i].directory;
        std::replace(dir.begin(), dir.end(), '/', '\\');
        maplist += std::to_string(maps[i].number) + "=" + dir + "\r\n";
    }
    WriteFile(root + "/maps/worldset.ini", worldset);
    WriteFile(root + "/settings/maplist.ini", maplist);
    std::string npcs = "Name\tLevel\r\n";
    for (const std::string& name : templateNames)
        npcs += Gbk(name) + "\t10\r\n";
    WriteFile(root + "/settings/npcs.txt", npcs);
    for (const RegionEntry& region : regions)
        WriteFile(root + "/maps/" + region.relativePath, RegionImage(region.records));
}

ConfiguredWorkDir::ConfiguredWorkDir(const std::string& dir, const std::string& serverPath, bool debug)
    : m_previous(QDir::currentPath()) {
    WriteFile(dir + "/MorviConfig.ini", "[MorviConfig]\r\nServerPath=" + serverPath +
                                            "\r\nUseDebug=" + (debug ? "true" : "false") + "\r\n");
    QDir::setCurrent(QString::fromStdString(dir));
}

ConfiguredWorkDir::~ConfiguredWorkDir() { QDir::setCurrent(m_previous); }

std::string ArtifactDirectory() {
    const QString dir = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("gui-artifacts"));
    QDir().mkpath(dir);
    return dir.toStdString();
}

}  // namespace morvi::test
