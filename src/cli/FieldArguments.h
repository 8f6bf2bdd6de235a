#pragma once
// The placement fields of `add`, `set`, `clone` and of an imported row, as the command line
// takes them: every field given is a field the user set, turned into the draft's typed value.
// Syntax (a number that is no number, a code name no table has) is judged here; what the
// values may be (offsets 0..255, a drop count 0..24, a name of at most 33 bytes) is the
// document's check, whose refusals are told here in the command line's words.

#include <optional>
#include <string>
#include <string_view>

#include "cli/Commands.h"
#include "document/DocumentError.h"
#include "document/Expected.h"
#include "document/PlacementDraft.h"

namespace morvi::cli {

// What an empty drop count means: a new placement stores 0; a changed one gets the default of
// its type (1 for type 0, else 0), as an emptied drop count does in the window.
enum class EmptyDrop { Zero, TypeDefault };

// Why a field's text cannot be a value.
struct FieldSyntaxError {
    enum class Kind {
        NotANumber,     // not a whole number
        OutOfRange,     // a number the record cannot store as given (`min`..`max`)
        UnknownName,    // a code name the field's table does not have (`choices`)
    };
    Kind kind = Kind::NotANumber;
    PlacementField field = PlacementField::None;
    std::string given;
    long long min = 0, max = 0;
    std::string choices;
};

// How a field is named in messages: the option (`--offset-x`) or the export's column (`offset_x`).
enum class FieldNaming { Option, Column };
std::string FieldName(PlacementField field, FieldNaming naming);

// The draft of the options given; unset options are unset fields. The template is not among
// them (`add` takes it apart).
Expected<PlacementDraft, FieldSyntaxError> DraftFromOptions(const FieldOptions& fields, EmptyDrop emptyDrop);

// One field's text into `draft` (the same rules as the options).
std::optional<FieldSyntaxError> SetDraftField(PlacementDraft& draft, PlacementField field, std::string_view text,
                                              EmptyDrop emptyDrop);

// The code a type, group or series text names: one of the table's names (exactly, else without
// regard to ASCII case); the empty text stores what the window stores for an empty choice.
std::optional<int> CodeForName(PlacementField field, std::string_view text);

// The message of a syntax error or of a refused draft, without the "morvinpc: " prefix.
std::string DescribeSyntaxError(const FieldSyntaxError& error, FieldNaming naming);
// nullopt when the error is not about a field of the draft.
std::optional<std::string> DescribeDraftRefusal(const DocumentError& error, FieldNaming naming);

}  // namespace morvi::cli
