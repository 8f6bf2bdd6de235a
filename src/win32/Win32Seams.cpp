#include "win32/Win32Seams.h"

#include <deque>
#include <mutex>

#include <windows.h>
#include <shellapi.h>

#include "win32/WideText.h"

namespace morvi::win32 {
namespace {

struct SeamState {
    std::mutex mutex;
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<std::string>> folders;
    std::deque<std::optional<std::string>> openFiles;
    bool unattended = false;
    std::function<intptr_t(const ShellLaunch&)> launcher;
    std::vector<ShownMessage> messages;
    std::vector<std::string> folderTitles;
    std::vector<FileOpenRequest> fileOpenRequests;
    std::vector<ShellLaunch> launches;
    int aboutBoxes = 0;
};

SeamState& State() {
    static SeamState state;
    return state;
}

}  // namespace

void Win32Seams::QueueAnswer(MessageAnswer answer) {
    std::lock_guard lock(State().mutex);
    State().answers.push_back(answer);
}

void Win32Seams::QueueFolder(std::optional<std::string> folder) {
    std::lock_guard lock(State().mutex);
    State().folders.push_back(std::move(folder));
}

void Win32Seams::QueueOpenFile(std::optional<std::string> path) {
    std::lock_guard lock(State().mutex);
    State().openFiles.push_back(std::move(path));
}

void Win32Seams::SetUnattended(bool unattended) {
    std::lock_guard lock(State().mutex);
    State().unattended = unattended;
}

void Win32Seams::SetShellLauncher(std::function<intptr_t(const ShellLaunch&)> launcher) {
    std::lock_guard lock(State().mutex);
    State().launcher = std::move(launcher);
}

void Win32Seams::Reset() {
    SeamState& s = State();
    std::lock_guard lock(s.mutex);
    s.answers.clear();
    s.folders.clear();
    s.openFiles.clear();
    s.unattended = false;
    s.launcher = nullptr;
    s.messages.clear();
    s.folderTitles.clear();
    s.fileOpenRequests.clear();
    s.launches.clear();
    s.aboutBoxes = 0;
}

std::vector<ShownMessage> Win32Seams::Messages() {
    std::lock_guard lock(State().mutex);
    return State().messages;
}

std::vector<std::string> Win32Seams::FolderTitles() {
    std::lock_guard lock(State().mutex);
    return State().folderTitles;
}

std::vector<FileOpenRequest> Win32Seams::FileOpenRequests() {
    std::lock_guard lock(State().mutex);
    return State().fileOpenRequests;
}

std::vector<ShellLaunch> Win32Seams::ShellLaunches() {
    std::lock_guard lock(State().mutex);
    return State().launches;
}

int Win32Seams::AboutBoxesShown() {
    std::lock_guard lock(State().mutex);
    return State().aboutBoxes;
}

std::optional<MessageAnswer> Win32Seams::TakeAnswer(const ShownMessage& message) {
    SeamState& s = State();
    std::lock_guard lock(s.mutex);
    s.messages.push_back(message);
    if (!s.answers.empty()) {
        const MessageAnswer answer = s.answers.front();
        s.answers.pop_front();
        return answer;
    }
    if (s.unattended) return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    return std::nullopt;
}

std::optional<std::optional<std::string>> Win32Seams::TakeFolder(const std::string& title) {
    SeamState& s = State();
    std::lock_guard lock(s.mutex);
    s.folderTitles.push_back(title);
    if (!s.folders.empty()) {
        auto folder = s.folders.front();
        s.folders.pop_front();
        return folder;
    }
    if (s.unattended) return std::optional<std::string>{};
    return std::nullopt;
}

std::optional<std::optional<std::string>> Win32Seams::TakeOpenFile(const FileOpenRequest& request) {
    SeamState& s = State();
    std::lock_guard lock(s.mutex);
    s.fileOpenRequests.push_back(request);
    if (!s.openFiles.empty()) {
        auto path = s.openFiles.front();
        s.openFiles.pop_front();
        return path;
    }
    if (s.unattended) return std::optional<std::string>{};
    return std::nullopt;
}

bool Win32Seams::SkipAboutBox() {
    std::lock_guard lock(State().mutex);
    ++State().aboutBoxes;
    return State().unattended;
}

intptr_t Win32Seams::RunShellExecute(void* owner, const ShellLaunch& launch) {
    std::function<intptr_t(const ShellLaunch&)> launcher;
    {
        SeamState& s = State();
        std::lock_guard lock(s.mutex);
        s.launches.push_back(launch);
        launcher = s.launcher;
    }
    if (launcher) return launcher(launch);
    const std::wstring verb = Widen(launch.verb), file = Widen(launch.file), parameters = Widen(launch.parameters);
    HINSTANCE result = ShellExecuteW(static_cast<HWND>(owner), verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                                     parameters.c_str(), nullptr, launch.show);
    return reinterpret_cast<intptr_t>(result);
}

}  // namespace morvi::win32
