#pragma once
// The places where the Windows window hands control to the desktop: message boxes, the folder
// browser, the file-open dialog, the About box and the shell (Notepad, the web address). Tests
// answer the modal ones ahead of time and catch the shell calls, so nothing waits for a person
// and no other program starts. Safe to use from a test thread that drives the window.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialog/DialogHost.h"

namespace morvi::win32 {

struct FileOpenRequest {
    std::vector<FileFilter> filters;
    std::string defaultExtension;
};

// The arguments of one ShellExecuteW call, UTF-8.
struct ShellLaunch {
    bool hasOwner = false;
    std::string verb;          // empty: the default verb
    std::string file;
    std::string parameters;
    int show = 0;
};

class Win32Seams {
public:
    static void QueueAnswer(MessageAnswer answer);
    static void QueueFolder(std::optional<std::string> folder);
    static void QueueOpenFile(std::optional<std::string> path);
    // Unattended: with nothing queued, boxes answer OK/No, dialogs are cancelled and the About
    // box is recorded but not shown.
    static void SetUnattended(bool unattended);
    // Replaces ShellExecuteW; the function returns what ShellExecuteW would (above 32: started).
    static void SetShellLauncher(std::function<intptr_t(const ShellLaunch&)> launcher);
    static void Reset();

    static std::vector<ShownMessage> Messages();
    static std::vector<std::string> FolderTitles();
    static std::vector<FileOpenRequest> FileOpenRequests();
    static std::vector<ShellLaunch> ShellLaunches();
    static int AboutBoxesShown();

    // --- used by the window ---
    static std::optional<MessageAnswer> TakeAnswer(const ShownMessage& message);
    static std::optional<std::optional<std::string>> TakeFolder(const std::string& title);
    static std::optional<std::optional<std::string>> TakeOpenFile(const FileOpenRequest& request);
    // True when the About box is to be skipped (unattended); counts it either way.
    static bool SkipAboutBox();
    // Runs ShellExecuteW, or the replacement; records the call.
    static intptr_t RunShellExecute(void* owner, const ShellLaunch& launch);
};

}  // namespace morvi::win32
