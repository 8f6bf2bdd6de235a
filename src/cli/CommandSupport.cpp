#include "cli/CommandSupport.h"

#include <cstdint>

#include "cli/CliText.h"
#include "data/server/ServerPath.h"
#include "texts/ProgramTexts.h"

namespace morvi::cli {

std::unique_ptr<Session> OpenSession(const std::string& serverOption, std::ostream& err) {
    std::string error;
    const std::optional<std::string> server = ResolveServerDirectory(serverOption, &error);
    if (!server) {
        err << kMessagePrefix << error << "\n";
        return nullptr;
    }
    auto session = std::make_unique<Session>(*server);
    if (!session->MapListLoaded(&error)) {
        err << kMessagePrefix << error << "\n";
        return nullptr;
    }
    return session;
}

int ResolveMap(const Session& session, const std::string& map, std::ostream& err) {
    std::string error;
    const int index = session.FindMap(map, &error);
    if (index < 0) err << kMessagePrefix << error << "\n";
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
            *error = Format(TextId::CliBadKey, {text});
            return std::nullopt;
        }
        value = static_cast<int>(number);
        pos = comma + 1;
    }
    const std::string file = UnescapeUndecodable(text.substr(pos));
    if (file.empty()) {
        *error = Format(TextId::CliKeyWithoutFile, {text});
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
    const std::string file =
        error.file.empty() ? std::string(Text(TextId::CliTheRegionFile)) : session.RelativeFile(error.file);
    const std::string because = error.system.empty() ? std::string() : Format(TextId::CliSystemReason, {error.system});
    switch (error.code) {
        case DocumentErrorCode::NoMap:
        case DocumentErrorCode::NoRegionFile: return std::string(Text(TextId::CliNoRegionFileToAddTo));
        case DocumentErrorCode::NoSuchRow: return std::string(Text(TextId::CliRowGone));
        case DocumentErrorCode::FileUnreadable: return Format(TextId::CliCannotRead, {file}) + because;
        case DocumentErrorCode::KeyNotFound: return Format(TextId::CliKeyGone, {file});
        case DocumentErrorCode::NotTiled: return Format(TextId::CliNotTiled, {file});
        case DocumentErrorCode::CountFull: return Format(TextId::CliCountFull, {file});
        case DocumentErrorCode::HistoryFailed: return std::string(Text(TextId::CliHistoryFailed)) + because;
        case DocumentErrorCode::LockFailed: return Format(TextId::CliLockFailed, {file}) + because;
        case DocumentErrorCode::WriteFailed: return Format(TextId::CliWriteFailed, {file, because});
        case DocumentErrorCode::ChangedMeanwhile: return Format(TextId::CliChangedMeanwhile, {file});
        case DocumentErrorCode::NothingToUndo: return std::string(Text(TextId::CliNothingToUndo));
        case DocumentErrorCode::NothingToRedo: return std::string(Text(TextId::CliNothingToRedo));
        case DocumentErrorCode::RevertRefused: return Format(TextId::CliRevertRefused, {file}) + because;
        case DocumentErrorCode::OutOfListedRange:
            // Listed are x 0..999 and y 0..499 (stored doubled, below 1000).
            return error.field == PlacementField::PosY ? Format(TextId::CliMoveOutside, {"y", "499"})
                                                       : Format(TextId::CliMoveOutside, {"x", "999"});
        default: break;
    }
    return std::string(Text(TextId::CliOperationFailed)) + because;
}

namespace {

std::string FilterWhy(FilterErrorCode code) {
    switch (code) {
        case FilterErrorCode::UnknownField: return std::string(Text(TextId::CliFilterUnknownField));
        case FilterErrorCode::BadNumber: return std::string(Text(TextId::CliFilterBadNumber));
        case FilterErrorCode::BadRange: return std::string(Text(TextId::CliFilterBadRange));
        case FilterErrorCode::UnknownName: return std::string(Text(TextId::CliFilterUnknownName));
    }
    return {};
}

}  // namespace

std::optional<PlacementFilter> ParseFilter(const std::string& text, std::ostream& err) {
    Expected<PlacementFilter, FilterError> filter = PlacementFilter::Parse(text);
    if (filter) return std::move(*filter);
    err << kMessagePrefix << Format(TextId::CliFindBadFilter, {filter.error().term, FilterWhy(filter.error().code)})
        << "\n";
    return std::nullopt;
}

std::vector<int> MatchingRows(const PlacementRowStore& rows, const PlacementFilter& filter) {
    std::vector<int> matching;
    for (int row = 0; row < rows.Count(); ++row)
        if (filter.Matches(rows, row)) matching.push_back(row);
    return matching;
}

}  // namespace morvi::cli
