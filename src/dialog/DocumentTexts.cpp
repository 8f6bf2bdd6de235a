#include "dialog/DocumentTexts.h"

#include "dialog/ControlIds.h"

namespace morvi {

std::optional<DraftRefusal> DraftRefusalOf(const DocumentError& error) {
    switch (error.code) {
        case DocumentErrorCode::OffsetOutOfRange: return DraftRefusal{TextId::OffsetOutOfRange, IDC_POS_X};
        case DocumentErrorCode::DropTooHigh: return DraftRefusal{TextId::DropAbove24, IDC_DROP};
        case DocumentErrorCode::DropNegative: return DraftRefusal{TextId::DropBelow0, IDC_DROP};
        case DocumentErrorCode::NameNotEncodable: return DraftRefusal{TextId::NameUnencodable, IDC_NAME};
        case DocumentErrorCode::NameTooLong: return DraftRefusal{TextId::NameTooLong, IDC_NAME};
        case DocumentErrorCode::ScriptNotEncodable: return DraftRefusal{TextId::ScriptUnencodable, IDC_SCRIPT};
        case DocumentErrorCode::ScriptTooLong: return DraftRefusal{TextId::ScriptTooLong, IDC_SCRIPT};
        default: return std::nullopt;
    }
}

TextId FilterErrorText(FilterErrorCode code) {
    switch (code) {
        case FilterErrorCode::UnknownField: return TextId::FilterUnknownField;
        case FilterErrorCode::BadNumber: return TextId::FilterBadNumber;
        case FilterErrorCode::BadRange: return TextId::FilterBadRange;
        case FilterErrorCode::UnknownName: return TextId::FilterUnknownName;
    }
    return TextId::FilterBadNumber;
}

}  // namespace morvi
