#include "cli/FieldArguments.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "cli/CliText.h"
#include "document/NameTables.h"

namespace morvi::cli {
namespace {

// What a record can hold as given: X is 16 bits, Y is stored doubled in 16 bits.
constexpr long long kMaxPosX = 0xFFFF;
constexpr long long kMaxPosY = 0x7FFF;
constexpr int kMaxOffset = 255;
constexpr int kMaxDrop = 24;
constexpr int kMaxNameBytes = 33;
constexpr int kMaxScriptBytes = 255;

std::span<const std::string_view> TableOf(PlacementField field) {
    switch (field) {
        case PlacementField::Type: return NpcTypeNames();
        case PlacementField::Group: return NpcGroupNames();
        default: return NpcSeriesNames();
    }
}

bool EqualNoCaseAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string Choices(PlacementField field) {
    std::vector<std::string> names;
    for (std::string_view name : TableOf(field))
        if (!name.empty()) names.emplace_back(name);
    std::sort(names.begin(), names.end());
    return Joined(names, TextId::CliListComma);
}

FieldSyntaxError SyntaxError(FieldSyntaxError::Kind kind, PlacementField field, std::string_view given,
                             long long min = 0, long long max = 0) {
    FieldSyntaxError error;
    error.kind = kind;
    error.field = field;
    error.given = std::string(given);
    error.min = min;
    error.max = max;
    return error;
}

// A whole number of the field, within min..max when `max` is given.
Expected<int, FieldSyntaxError> Number(PlacementField field, std::string_view text, long long min,
                                       std::optional<long long> max) {
    long long value = 0;
    if (!ParseInt(text, &value)) return MakeUnexpected(SyntaxError(FieldSyntaxError::Kind::NotANumber, field, text));
    if (max && (value < min || value > *max))
        return MakeUnexpected(SyntaxError(FieldSyntaxError::Kind::OutOfRange, field, text, min, *max));
    // Beyond an int no field has a meaning; the document's check names the field's range.
    if (value < INT32_MIN || value > INT32_MAX) value = value < 0 ? INT32_MIN : INT32_MAX;
    return static_cast<int>(value);
}

}  // namespace

std::string FieldName(PlacementField field, FieldNaming naming) {
    // Option names and the export's column names: the command line's interface, not texts.
    const bool option = naming == FieldNaming::Option;
    switch (field) {
        case PlacementField::Template: return option ? "--template" : "template";
        case PlacementField::Name: return option ? "--name" : "name";
        case PlacementField::PosX: return option ? "--x" : "x";
        case PlacementField::PosY: return option ? "--y" : "y";
        case PlacementField::OffsetX: return option ? "--offset-x" : "offset_x";
        case PlacementField::OffsetY: return option ? "--offset-y" : "offset_y";
        case PlacementField::Type: return option ? "--type" : "type";
        case PlacementField::Group: return option ? "--group" : "group";
        case PlacementField::Series: return option ? "--series" : "series";
        case PlacementField::Drop: return option ? "--drop" : "drop";
        case PlacementField::Script: return option ? "--script" : "script";
        case PlacementField::None: break;
    }
    return std::string(Text(TextId::CliSomeField));
}

std::optional<int> CodeForName(PlacementField field, std::string_view text) {
    const std::span<const std::string_view> table = TableOf(field);
    // The empty text: the first code without a name, as an empty choice in the window stores.
    if (text.empty()) return CodeOfName(table, text);
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i] == text) return static_cast<int>(i);
    for (size_t i = 0; i < table.size(); ++i)
        if (!table[i].empty() && EqualNoCaseAscii(table[i], text)) return static_cast<int>(i);
    return std::nullopt;
}

std::optional<FieldSyntaxError> SetDraftField(PlacementDraft& draft, PlacementField field, std::string_view text,
                                              EmptyDrop emptyDrop) {
    switch (field) {
        case PlacementField::Name: draft.name = std::string(text); return std::nullopt;
        case PlacementField::Script: draft.script = std::string(text); return std::nullopt;
        case PlacementField::Template: {
            const auto n = Number(field, text, 0, 0xFFFF);
            if (!n) return n.error();
            draft.templateIndex = *n;
            return std::nullopt;
        }
        case PlacementField::PosX:
        case PlacementField::PosY: {
            const auto n = Number(field, text, 0, field == PlacementField::PosX ? kMaxPosX : kMaxPosY);
            if (!n) return n.error();
            (field == PlacementField::PosX ? draft.posX : draft.posY) = *n;
            return std::nullopt;
        }
        case PlacementField::OffsetX:
        case PlacementField::OffsetY: {
            OffsetChoice& offset = field == PlacementField::OffsetX ? draft.offsetX : draft.offsetY;
            // An empty offset is drawn at random, as an empty offset field is in the window.
            if (text.empty()) {
                offset = OffsetChoice::Drawn();
                return std::nullopt;
            }
            const auto n = Number(field, text, 0, std::nullopt);
            if (!n) return n.error();
            offset = OffsetChoice::Of(*n);
            return std::nullopt;
        }
        case PlacementField::Drop: {
            if (text.empty()) {
                draft.drop = emptyDrop == EmptyDrop::Zero ? DropChoice::Of(0) : DropChoice::ForType();
                return std::nullopt;
            }
            const auto n = Number(field, text, 0, std::nullopt);
            if (!n) return n.error();
            draft.drop = DropChoice::Of(*n);
            return std::nullopt;
        }
        case PlacementField::Type:
        case PlacementField::Group:
        case PlacementField::Series: {
            const std::optional<int> code = CodeForName(field, text);
            if (!code) {
                FieldSyntaxError error = SyntaxError(FieldSyntaxError::Kind::UnknownName, field, text);
                error.choices = Choices(field);
                return error;
            }
            (field == PlacementField::Type ? draft.type : field == PlacementField::Group ? draft.group : draft.series) =
                *code;
            return std::nullopt;
        }
        case PlacementField::None: break;
    }
    return std::nullopt;
}

Expected<PlacementDraft, FieldSyntaxError> DraftFromOptions(const FieldOptions& f, EmptyDrop emptyDrop) {
    const struct {
        const std::optional<std::string>& value;
        PlacementField field;
    } given[] = {
        {f.name, PlacementField::Name},     {f.x, PlacementField::PosX},         {f.y, PlacementField::PosY},
        {f.offsetX, PlacementField::OffsetX}, {f.offsetY, PlacementField::OffsetY}, {f.type, PlacementField::Type},
        {f.group, PlacementField::Group},   {f.series, PlacementField::Series},  {f.drop, PlacementField::Drop},
        {f.script, PlacementField::Script},
    };
    PlacementDraft draft;
    for (const auto& g : given) {
        if (!g.value) continue;
        if (std::optional<FieldSyntaxError> error = SetDraftField(draft, g.field, *g.value, emptyDrop))
            return MakeUnexpected(std::move(*error));
    }
    return draft;
}

std::string DescribeSyntaxError(const FieldSyntaxError& error, FieldNaming naming) {
    const std::string name = FieldName(error.field, naming);
    switch (error.kind) {
        case FieldSyntaxError::Kind::NotANumber:
            return Format(TextId::CliNotWholeNumber, {name, EscapeUndecodable(error.given)});
        case FieldSyntaxError::Kind::OutOfRange:
            return Format(TextId::CliNotBetween, {name, std::to_string(error.min), std::to_string(error.max)});
        case FieldSyntaxError::Kind::UnknownName:
            return Format(TextId::CliNotOneOf, {name, EscapeUndecodable(error.given), error.choices});
    }
    return Format(TextId::CliNotValid, {name});
}

std::optional<std::string> DescribeDraftRefusal(const DocumentError& error, FieldNaming naming) {
    const std::string name = FieldName(error.field, naming);
    const auto between = [&](int min, int max) {
        return Format(TextId::CliNotBetween, {name, std::to_string(min), std::to_string(max)});
    };
    switch (error.code) {
        case DocumentErrorCode::OffsetOutOfRange: return between(0, kMaxOffset);
        case DocumentErrorCode::DropTooHigh:
        case DocumentErrorCode::DropNegative: return between(0, kMaxDrop);
        case DocumentErrorCode::CodeOutOfRange: return between(0, 255);
        case DocumentErrorCode::NameNotEncodable:
        case DocumentErrorCode::ScriptNotEncodable:
            return Format(TextId::CliNotStorable, {name});
        case DocumentErrorCode::NameTooLong:
            return Format(TextId::CliTooManyBytes, {name, std::to_string(kMaxNameBytes)});
        case DocumentErrorCode::ScriptTooLong:
            return Format(TextId::CliTooManyBytes, {name, std::to_string(kMaxScriptBytes)});
        default: break;
    }
    return std::nullopt;
}

}  // namespace morvi::cli
