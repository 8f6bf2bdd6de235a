#include "app/DesktopSeams.h"

namespace morvi {
namespace {

struct SeamState {
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<std::string>> folders;
    std::deque<std::optional<std::string>> openFiles;
    bool unattended = false;
    std::function<void(const std::string&)> editorLauncher;
    std::function<void(const std::string&)> urlOpener;
    std::vector<ShownMessage> messages;
    std::vector<std::string> folderTitles;
    std::vector<FileOpenRequest> fileOpenRequests;
};

// A seam's answer: the outer optional says the seam answered, the inner holds the result.
std::optional<std::optional<std::string>> Answered(std::optional<std::string> result) {
    return std::optional<std::optional<std::string>>(std::in_place, std::move(result));
}

SeamState& State() {
    static SeamState state;
    return state;
}

}  // namespace

void DesktopSeams::QueueAnswer(MessageAnswer answer) { State().answers.push_back(answer); }
void DesktopSeams::QueueFolder(std::optional<std::string> folder) { State().folders.push_back(std::move(folder)); }
void DesktopSeams::QueueOpenFile(std::optional<std::string> path) { State().openFiles.push_back(std::move(path)); }
void DesktopSeams::SetUnattended(bool unattended) { State().unattended = unattended; }

void DesktopSeams::SetEditorLauncher(std::function<void(const std::string&)> launcher) {
    State().editorLauncher = std::move(launcher);
}

void DesktopSeams::SetUrlOpener(std::function<void(const std::string&)> opener) {
    State().urlOpener = std::move(opener);
}

void DesktopSeams::Reset() { State() = SeamState{}; }

const std::vector<ShownMessage>& DesktopSeams::Messages() { return State().messages; }
const std::vector<std::string>& DesktopSeams::FolderTitles() { return State().folderTitles; }
const std::vector<FileOpenRequest>& DesktopSeams::FileOpenRequests() { return State().fileOpenRequests; }

std::optional<MessageAnswer> DesktopSeams::TakeAnswer(const ShownMessage& message) {
    SeamState& s = State();
    s.messages.push_back(message);
    if (!s.answers.empty()) {
        const MessageAnswer answer = s.answers.front();
        s.answers.pop_front();
        return answer;
    }
    if (s.unattended)
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    return std::nullopt;
}

std::optional<std::optional<std::string>> DesktopSeams::TakeFolder(const std::string& title) {
    SeamState& s = State();
    s.folderTitles.push_back(title);
    if (!s.folders.empty()) {
        std::optional<std::string> folder = std::move(s.folders.front());
        s.folders.pop_front();
        return Answered(std::move(folder));
    }
    if (s.unattended)
        return Answered(std::nullopt);
    return std::nullopt;
}

std::optional<std::optional<std::string>> DesktopSeams::TakeOpenFile(const FileOpenRequest& request) {
    SeamState& s = State();
    s.fileOpenRequests.push_back(request);
    if (!s.openFiles.empty()) {
        std::optional<std::string> path = std::move(s.openFiles.front());
        s.openFiles.pop_front();
        return Answered(std::move(path));
    }
    if (s.unattended)
        return Answered(std::nullopt);
    return std::nullopt;
}

bool DesktopSeams::LaunchEditor(const std::string& path) {
    if (!State().editorLauncher)
        return false;
    State().editorLauncher(path);
    return true;
}

bool DesktopSeams::OpenUrl(const std::string& url) {
    if (!State().urlOpener)
        return false;
    State().urlOpener(url);
    return true;
}

}  // namespace morvi
