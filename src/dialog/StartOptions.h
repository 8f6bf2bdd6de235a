#pragma once
// The window program's own command-line options, read before the toolkit starts:
//   --version       print the version and end, no display needed;
//   --help          print these options and end;
//   --user-config   start in the user's configuration directory, $XDG_CONFIG_HOME/MorviNpc
//                   (else ~/.config/MorviNpc), created when missing, so MorviConfig.ini is kept
//                   there; the desktop menu starts the window this way.
// Every other argument is left to the toolkit (-platform, -style and the like).

#include <functional>
#include <string>
#include <vector>

#include "document/Expected.h"

namespace morvi {

struct StartOptions {
    bool version = false;
    bool help = false;
    bool userConfig = false;
    bool operator==(const StartOptions&) const = default;
};

// The options among `arguments` (without the program name); unknown ones are skipped.
StartOptions ReadStartOptions(const std::vector<std::string>& arguments);

enum class UserConfigError {
    NoHome,          // neither an absolute $XDG_CONFIG_HOME nor an absolute $HOME
    NotCreatable,    // the directory (or a parent) could not be made
    NotEnterable,    // it exists but could not become the current directory
};

struct UserConfigFailure {
    UserConfigError code = UserConfigError::NoHome;
    std::string directory;   // the directory meant ("" for NoHome)
    std::string detail;      // the system's reason
};

// The user's configuration directory of this program. `variable` reads the environment
// ("" when unset). A relative $XDG_CONFIG_HOME is ignored, as the XDG rules ask.
Expected<std::string, UserConfigFailure> UserConfigDirectory(
    const std::function<std::string(const std::string&)>& variable);

// Creates `directory` with its missing parents and makes it the current directory.
Expected<void, UserConfigFailure> EnterDirectory(const std::string& directory);

}  // namespace morvi
