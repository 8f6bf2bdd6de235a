// The two buttons beside the script field: choosing a script file, which puts its path relative
// to the server directory into the field, and opening the field's file in a text editor.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "data/server/ServerPath.h"
#include "dialog/CPlacementDlg.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string Trimmed(std::string_view text) {
    const char* const blanks = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return std::string();
    const size_t last = text.find_last_not_of(blanks);
    return std::string(text.substr(first, last - first + 1));
}

// The part of `path` below the server directory in the stored form ('\' separators, beginning
// with '\'), or nullopt when the path does not lie below it. Only a leading prefix that ends at
// a separator counts: removing the directory's text from the middle of a path, or from the
// front of a sibling such as "server2", would break the path. The comparison is exact.
std::optional<std::string> BelowServer(std::string_view serverPath, std::string_view path) {
    if (serverPath.empty()) return std::nullopt;
    std::string server = CollapseSeparators(serverPath);
    // A drive or file-system root keeps its separator; the relative part still starts with one.
    while (!server.empty() && IsSeparator(server.back())) server.pop_back();
    const std::string full = CollapseSeparators(path);
    if (full.size() <= server.size() || full.compare(0, server.size(), server) != 0 ||
        !IsSeparator(full[server.size()]))
        return std::nullopt;
    return ToBackslashes(std::string_view(full).substr(server.size()));
}

#ifndef _WIN32
bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}
#endif

// Whether the field names a file by its full path (a file chosen outside the server directory)
// rather than relative to the server directory.
bool IsFullPath(std::string_view serverPath, const std::string& field) {
#ifdef _WIN32
    (void)serverPath;
    const bool drive = field.size() >= 3 && field[1] == ':' && IsSeparator(field[2]);
    const bool network = field.size() >= 2 && IsSeparator(field[0]) && IsSeparator(field[1]);
    return drive || network;
#else
    // Stored paths begin with '\'; a field beginning with '/' is a full path unless it was meant
    // relative to the server directory and only exists there ("/script/a.lua" typed by hand).
    if (field.empty() || field[0] != '/') return false;
    return Exists(field) || !Exists(ServerFilePath(serverPath, "\\" + field));
#endif
}

}  // namespace

void CPlacementDlg::OnBrowseScript() {
    if (m_session.mode == EDIT_IDLE) {
        m_host.SetItemText(IDC_HINT, std::string(Text(TextId::NoPlacementToChange)));
        return;
    }
    const std::vector<FileFilter> filters = {
        {std::string(Text(TextId::ScriptFilesFilter)), "*.lua"},
        {std::string(Text(TextId::AllFilesFilter)), "*.*"},
    };
    const std::optional<std::string> chosen = m_host.ChooseFileToOpen(filters, ".lua");
    if (!chosen) return;
    // A file outside the server directory keeps its full path.
    const std::optional<std::string> relative = BelowServer(m_serverPath, *chosen);
    m_host.SetItemText(IDC_SCRIPT, relative ? *relative : CollapseSeparators(*chosen));
}

void CPlacementDlg::OnEditScript() {
    // Trimmed as the save trims it, so the editor opens the file that the save would store.
    const std::string field = Trimmed(m_host.ItemText(IDC_SCRIPT));
    if (field.empty()) return;
    m_host.OpenInEditor(IsFullPath(m_serverPath, field) ? CollapseSeparators(field)
                                                        : ServerFilePath(m_serverPath, "\\" + field));
}

}  // namespace morvi
