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
    const PlacementRowStore& rows = session.Rows();
    for (int row = rows.Count() - 1; row >= 0; --row)
        if (RowHasKey(rows, row, key)) return row;
    return -1;
}

std::string KeyNumbers(const PlacementKey& key) {
    return std::to_string(key.templateIndex) + "," + std::to_string(key.posX) + "," + std::to_string(key.posY) +
           "," + std::to_string(key.offsetX) + "," + std::to_string(key.offsetY);
}

std::string DescribeDocumentError(const Session& session, const DocumentError& error, FieldNaming naming) {
    if (std::optional<std::string> field = DescribeDraftRefusal(error, naming)) return *field;
    const std::string file = error.file.empty() ? std::string("the region file") : session.RelativeFile(error.file);
    const std::string because = error.system.empty() ? std::string() : " (" + error.system + ")";
    switch (error.code) {
        case DocumentErrorCode::NoMap:
        case DocumentErrorCode::NoRegionFile: return "the map has no region file to add to";
        case DocumentErrorCode::NoSuchRow: return "the placement is no longer listed";
        case DocumentErrorCode::FileUnreadable: return "cannot read " + file + because;
        case DocumentErrorCode::KeyNotFound:
            return "the placement is no longer in " + file + " (changed since it was read?)";
        case DocumentErrorCode::NotTiled:
            return file + ": its records do not fill the file exactly, so it is left alone (see `morvinpc check`)";
        case DocumentErrorCode::CountFull: return file + " already holds 65535 placements, as many as its count can say";
        case DocumentErrorCode::HistoryFailed: return "the change could not be recorded in the change history" + because;
        case DocumentErrorCode::LockFailed: return file + " could not be locked for writing" + because;
        case DocumentErrorCode::WriteFailed: return file + " could not be written" + because + "; it is as it was";
        case DocumentErrorCode::ChangedMeanwhile: return file + " changed while the change was being made";
        case DocumentErrorCode::NothingToUndo: return "nothing to undo";
        case DocumentErrorCode::NothingToRedo: return "nothing to redo";
        case DocumentErrorCode::RevertRefused:
            return file + " no longer holds the bytes the change wrote" + because;
        default: break;
    }
    return "the operation failed" + because;
}

}  // namespace morvi::cli
