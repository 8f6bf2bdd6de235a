// The window program started as a user or the desktop menu starts it: `MorviNpc --version`
// without any display, and `MorviNpc --user-config` in the user's configuration directory.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <chrono>
#include <filesystem>
#include <thread>

#include "TestFiles.h"
#include "version/ProgramVersion.h"

namespace morvi::test {
namespace {

// No display at all: the toolkit would end the program if it were started.
QProcessEnvironment Headless() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    return env;
}

TEST(WindowProgram, VersionAndHelpNeedNoDisplay) {
    struct Case {
        QStringList arguments;
        QString expectedStart;
    };
    const Case cases[] = {
        {{"--version"}, "MorviNpc " MORVI_VERSION_TEXT "\n"},
        {{"--user-config", "--version"}, "MorviNpc " MORVI_VERSION_TEXT "\n"},
        {{"--help"}, "Usage: MorviNpc"},
    };
    for (const Case& c : cases) {
        QProcess program;
        program.setProcessEnvironment(Headless());
        program.start(QStringLiteral(MORVI_WINDOW_EXE), c.arguments);
        ASSERT_TRUE(program.waitForFinished(20000)) << c.arguments.join(' ').toStdString();
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        EXPECT_TRUE(out.startsWith(c.expectedStart)) << out.toStdString();
        if (c.arguments.contains("--version")) EXPECT_EQ(out, c.expectedStart);
    }
}

// The desktop entry's start: the configuration directory is made and becomes the window's
// current directory before anything reads MorviConfig.ini (here: the first-run folder browser
// is up, its answer would be written there).
TEST(WindowProgram, UserConfigStartsInTheConfigurationDirectory) {
    TempDir dir;
    const std::string configHome = dir / "config";
    const std::string expected = configHome + "/MorviNpc";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(configHome));
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(QString::fromStdString(dir.path()));
    program.start(QStringLiteral(MORVI_WINDOW_EXE), {"--user-config"});
    ASSERT_TRUE(program.waitForStarted(20000));
    const std::string cwdLink = "/proc/" + std::to_string(program.processId()) + "/cwd";
    std::error_code error;
    bool entered = false;
    for (int i = 0; i < 400 && !entered && program.state() == QProcess::Running; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        entered = std::filesystem::read_symlink(cwdLink, error) == expected;
    }
    program.kill();
    program.waitForFinished(5000);
    EXPECT_TRUE(entered) << program.readAllStandardError().toStdString();
    EXPECT_TRUE(std::filesystem::is_directory(expected));
}

}  // namespace
}  // namespace morvi::test
