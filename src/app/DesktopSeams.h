#pragma once
// The places where the window hands control to the desktop: message boxes, the folder
// browser, the file-open dialog, the text editor and the web browser. Tests answer the modal
// ones ahead of time (the next answer is taken instead of showing the box) and catch the
// launches, so nothing waits for a person or starts another program.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialog/DialogHost.h"

namespace morvi {

struct FileOpenRequest {
    std::vector<FileFilter> filters;
    std::string defaultExtension;
    std::string startDirectory;   // empty: the system's choice
};

class DesktopSeams {
public:
    // Message boxes: a queued answer is taken instead of showing the next box.
    static void QueueAnswer(MessageAnswer answer);
    // Folder browser: a queued result (nullopt = cancelled) is taken instead of the dialog.
    static void QueueFolder(std::optional<std::string> folder);
    // File-open dialog: a queued result (nullopt = cancelled) is taken instead of the dialog.
    static void QueueOpenFile(std::optional<std::string> path);
    // Unattended: with nothing queued, boxes answer OK/No and dialogs are cancelled, unseen.
    static void SetUnattended(bool unattended);
    // Replace the launch of the text editor / the web browser.
    static void SetEditorLauncher(std::function<void(const std::string& path)> launcher);
    static void SetUrlOpener(std::function<void(const std::string& url)> opener);
    // Forget every queued answer, record and replacement.
    static void Reset();

    // What was asked for, in order (shown or answered from the queue).
    static const std::vector<ShownMessage>& Messages();
    static const std::vector<std::string>& FolderTitles();
    static const std::vector<FileOpenRequest>& FileOpenRequests();

    // --- used by the window ---
    // The answer to give without showing the box, if any; records the request.
    static std::optional<MessageAnswer> TakeAnswer(const ShownMessage& message);
    // Outer optional: whether the seam answered; inner: the folder or cancellation.
    static std::optional<std::optional<std::string>> TakeFolder(const std::string& title);
    static std::optional<std::optional<std::string>> TakeOpenFile(const FileOpenRequest& request);
    // True when a replacement handled the launch.
    static bool LaunchEditor(const std::string& path);
    static bool OpenUrl(const std::string& url);
};

}  // namespace morvi
