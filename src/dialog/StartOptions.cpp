#include "dialog/StartOptions.h"

#include <filesystem>
#include <system_error>

namespace morvi {
namespace {

bool Absolute(const std::string& path) { return !path.empty() && path.front() == '/'; }

}  // namespace

StartOptions ReadStartOptions(const std::vector<std::string>& arguments) {
    StartOptions options;
    for (const std::string& argument : arguments) {
        if (argument == "--") break;   // what follows is not ours
        if (argument == "--version") options.version = true;
        else if (argument == "--help") options.help = true;
        else if (argument == "--user-config") options.userConfig = true;
    }
    return options;
}

Expected<std::string, UserConfigFailure> UserConfigDirectory(
    const std::function<std::string(const std::string&)>& variable) {
    std::string base = variable("XDG_CONFIG_HOME");
    if (!Absolute(base)) {
        const std::string home = variable("HOME");
        if (!Absolute(home)) return MakeUnexpected(UserConfigFailure{UserConfigError::NoHome, "", "HOME"});
        base = home + (home.back() == '/' ? "" : "/") + ".config";
    }
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return base + (base == "/" ? "" : "/") + "MorviNpc";
}

Expected<void, UserConfigFailure> EnterDirectory(const std::string& directory) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(fs::path(directory), error);
    if (error || !fs::is_directory(fs::path(directory), error)) {
        const std::string detail =
            error ? error.message() : std::make_error_code(std::errc::not_a_directory).message();
        return MakeUnexpected(UserConfigFailure{UserConfigError::NotCreatable, directory, detail});
    }
    fs::current_path(fs::path(directory), error);
    if (error) return MakeUnexpected(UserConfigFailure{UserConfigError::NotEnterable, directory, error.message()});
    return {};
}

}  // namespace morvi
