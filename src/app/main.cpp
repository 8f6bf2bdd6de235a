// MorviNpc: edits the NPC placements in a game server's region files.
#include <QMessageBox>
#include <QString>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/CPlacementApp.h"
#include "dialog/StartOptions.h"
#include "texts/ProgramTexts.h"
#include "version/ProgramVersion.h"

namespace {

constexpr const char* kUsage =
    "Usage: MorviNpc [--user-config] [Qt options]\n"
    "Edits the NPC placements of a Morvi game server's maps. MorviConfig.ini (the server\n"
    "directory) is read from and written to the current directory.\n"
    "\n"
    "  --user-config  start in $XDG_CONFIG_HOME/MorviNpc (default ~/.config/MorviNpc),\n"
    "                 created when missing, and keep MorviConfig.ini there\n"
    "  --version      print the version and exit\n"
    "  --help         print this help and exit\n"
    "\n"
    "morvinpc(1) does the same work from the command line.\n";

std::string Variable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

// Enters the user's configuration directory; the warning to show when that fails.
std::optional<std::string> EnterUserConfig() {
    using namespace morvi;
    const auto directory = UserConfigDirectory(Variable);
    if (!directory) return std::string(Text(TextId::UserConfigNoHome));
    const auto entered = EnterDirectory(*directory);
    if (!entered) return Format(TextId::UserConfigUnusable, {entered.error().directory, entered.error().detail});
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    const morvi::StartOptions options = morvi::ReadStartOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.version) {
        std::cout << "MorviNpc " MORVI_VERSION_TEXT "\n";
        return 0;
    }
    if (options.help) {
        std::cout << kUsage;
        return 0;
    }
    std::optional<std::string> warning;
    if (options.userConfig) warning = EnterUserConfig();

    morvi::CPlacementApp app(argc, argv);
    if (warning) {
        std::cerr << "MorviNpc: " << *warning << "\n";
        QMessageBox::warning(nullptr, QString::fromUtf8(morvi::Text(morvi::TextId::WarningCaption).data()),
                             QString::fromStdString(*warning));
    }
    app.InitInstance();
    return 0;
}
