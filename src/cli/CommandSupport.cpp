#include "cli/CommandSupport.h"

#include <cstdint>

#include "cli/CliText.h"
#include "data/server/ServerPath.h"

namespace morvi::cli {

std::unique_ptr<Session> OpenSession(const std::string& serverOption, std::ostream& err) {
    std::string error;
    const std::optional<std::string> server = ResolveServerDirectory(serverOption, &error);
    if (!server) {
        err << "morvinpc: " << error << "\n";
        return nullptr;
    }
    auto session = std::make_unique<Session>(*server);
    if (!session->MapListLoaded(&error)) {
        err << "morvinpc: " << error << "\n";
        return nullptr;
    }
    return session;
}

int ResolveMap(const Session& session, const std::string& map, std::ostream& err) {
    std::string error;
    const int index = session.FindMap(map, &error);
    if (index < 0) err << "morvinpc: " << error << "\n";
    return index;
}

std::optional<KeyArgument> ParseKeyArgument(const Session& session, const std::string& text,
                                            std::string* error) {
    int values[5] = {};
    size_t pos = 0;
    for (int& value : values) {
        const size_t comma = text.find(',', pos);
        long long number = 0;
        if (comma == std::string::npos || !ParseInt(std::string_view(text).substr(pos, comma - pos), &number) ||
            number < INT32_MIN || number > INT32_MAX) {
            *error = "KEY must be template,x,y,offset_x,offset_y,file (as `list` shows them), not \"" + text + "\"";
            return std::nullopt;
        }
        value = static_cast<int>(number);
        pos = comma + 1;
    }
    const std::string file = UnescapeUndecodable(text.substr(pos));
    if (file.empty()) {
        *error = "KEY names no region file: \"" + text + "\"";
        return std::nullopt;
    }
    return KeyArgument{PlacementKey{values[0], values[1], values[2], values[3], values[4]}, session.FullFile(file)};
}

bool SameFile(const std::string& a, const std::string& b) { return CollapseSeparators(a) == CollapseSeparators(b); }

bool RowHasKey(const PlacementRowStore& rows, int row, const KeyArgument& key) {
    return key.key.Matches(rows.Block(row)) && SameFile(rows.File(row), key.file);
}

int FindRow(const Session& session, const KeyArgument& key) {
    // From the bottom: the window changes the first record of the key in file order, and the
    // rows show file order reversed, so that record's own row is the lowest one.
    const PlacementRowStore& rows = session.dlg.Rows();
    for (int row = rows.Count() - 1; row >= 0; --row)
        if (RowHasKey(rows, row, key)) return row;
    return -1;
}

}  // namespace morvi::cli
