#pragma once
// The bulk edit dialog's fields, independent of any toolkit: every field is "leave as is"
// (nullopt) until the user sets it; only the fields set change the selected placements. The
// window's dialog fills a form; the presenter turns it into the document's BulkEdit.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/Expected.h"
#include "document/MapDocument.h"

namespace morvi {

struct BulkEditForm {
    std::optional<int> type;             // codes, as chosen from BulkEditChoices
    std::optional<int> group;
    std::optional<int> series;
    std::optional<std::string> drop;     // decimal text
    std::optional<std::string> script;   // UTF-8 path, as typed
    // "清除 Script": every selected placement loses its script (the script field is then not
    // read); its drop count follows the drop field, or the type's default when that is empty.
    bool clearScript = false;
    std::optional<std::string> offsetX;  // decimal text
    std::optional<std::string> offsetY;
    std::string moveX;                   // decimal text, empty: 0
    std::string moveY;
};

// The choices of a code field: each code of the table with its shown name, or the code itself
// where the table has no name for it.
std::vector<std::pair<int, std::string>> BulkEditChoices(std::span<const std::string_view> names);

// Which field of the form is not a number, for the hint.
enum class BulkFormField { Drop, OffsetX, OffsetY, MoveX, MoveY };

// The form as the document's edit; a number field that is not a whole number is refused.
Expected<BulkEdit, BulkFormField> BulkEditOfForm(const BulkEditForm& form);
// Whether the form changes anything at all.
bool BulkFormSetsAnything(const BulkEditForm& form);

}  // namespace morvi
