#include "dialog/DesktopLaunch.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

// Terminal emulators and the option after which each takes the command to run.
struct Terminal {
    const char* program;
    const char* runOption;
};
constexpr Terminal kTerminals[] = {
    {"x-terminal-emulator", "-e"}, {"gnome-terminal", "--"}, {"konsole", "-e"},
    {"xfce4-terminal", "-x"},      {"mate-terminal", "-x"},  {"kitty", "--"},
    {"alacritty", "-e"},           {"foot", "--"},           {"xterm", "-e"},
};

LaunchCommand Opener(const std::string& target) { return {"xdg-open", {target}, true}; }

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (char c : text) {
        if (quote) {
            if (c == quote) quote = 0;
            else word += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

std::vector<LaunchCommand> EditorCommands(const std::string& path, const LaunchEnvironment& env) {
    std::vector<LaunchCommand> commands;
    if (env.programExists("xdg-open")) commands.push_back(Opener(path));
    std::vector<std::string> editor;
    for (const char* name : {"VISUAL", "EDITOR"}) {
        editor = SplitCommandLine(env.variable(name));
        if (!editor.empty()) break;
    }
    if (editor.empty()) return commands;
    editor.push_back(path);
    // $TERMINAL names the user's own choice; it is taken to accept -e like xterm.
    std::vector<Terminal> terminals;
    const std::string own = env.variable("TERMINAL");
    if (!own.empty()) terminals.push_back({own.c_str(), "-e"});
    for (const Terminal& t : kTerminals) terminals.push_back(t);
    for (const Terminal& t : terminals) {
        const std::string program = t.program;
        if (!env.programExists(program)) continue;
        LaunchCommand command{program, {t.runOption}, false};
        command.arguments.insert(command.arguments.end(), editor.begin(), editor.end());
        commands.push_back(std::move(command));
        break;   // one terminal is enough; a second would only open the same editor again
    }
    return commands;
}

std::vector<LaunchCommand> BrowserCommands(const std::string& url, const LaunchEnvironment& env) {
    std::vector<LaunchCommand> commands;
    if (env.programExists("xdg-open")) commands.push_back(Opener(url));
    std::vector<std::string> browser = SplitCommandLine(env.variable("BROWSER"));
    if (!browser.empty() && env.programExists(browser.front())) {
        LaunchCommand command{browser.front(), {browser.begin() + 1, browser.end()}, false};
        command.arguments.push_back(url);
        commands.push_back(std::move(command));
    }
    return commands;
}

std::string NoEditorText() {
    return std::string(Text(TextId::NoEditorToStart));
}

std::string NoBrowserText() {
    return std::string(Text(TextId::NoBrowserToStart));
}

}  // namespace morvi
