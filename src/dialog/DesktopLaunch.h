#pragma once
// How a script file and the web address are opened off Windows: the desktop's opener
// (xdg-open) first; for a script, then $VISUAL or $EDITOR inside a terminal emulator; for the
// address, then $BROWSER. The front end tries the commands in order until one starts and
// succeeds; when none does it shows NoOpenerText() in the status strip (the described window
// itself shows nothing).

#include <functional>
#include <string>
#include <vector>

namespace morvi {

struct LaunchCommand {
    std::string program;
    std::vector<std::string> arguments;
    // xdg-open reports a missing handler by its exit status; an editor in a terminal runs for
    // as long as the user edits, so only its start counts.
    bool waitForExitStatus = false;
    bool operator==(const LaunchCommand&) const = default;
};

struct LaunchEnvironment {
    std::function<std::string(const std::string& name)> variable;       // "" when unset
    std::function<bool(const std::string& program)> programExists;     // found on PATH
};

std::vector<LaunchCommand> EditorCommands(const std::string& path, const LaunchEnvironment& env);
std::vector<LaunchCommand> BrowserCommands(const std::string& url, const LaunchEnvironment& env);

// The status strip's text when nothing could be started, with how to set an opener.
std::string NoEditorText();
std::string NoBrowserText();

// A command text such as "code --wait" split at blanks (quotes group words).
std::vector<std::string> SplitCommandLine(const std::string& text);

}  // namespace morvi
