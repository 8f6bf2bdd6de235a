#pragma once
// Starting outside programs without freezing the window: the commands are tried one after
// the other, each only when the one before could not start or (for the desktop's opener)
// ended with a failure status; when none works, `failed` receives `failText`.

#include <functional>
#include <string>
#include <vector>

#include "dialog/DesktopLaunch.h"

namespace morvi {

LaunchEnvironment SystemLaunchEnvironment();
void RunFirstWorking(std::vector<LaunchCommand> commands, std::string failText,
                     std::function<void(const std::string&)> failed);

}  // namespace morvi
