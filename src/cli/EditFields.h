#pragma once
// Filling the window's edit area from command-line values: edits take the text as typed,
// combos select the item with that text (an empty text selects none, as after a reset).

#include <optional>
#include <string>

#include "cli/Commands.h"
#include "dialog/MemoryHost.h"

namespace morvi::cli {

// False with a reason when a combo text names no item of its combo.
bool FillEditArea(MemoryHost& host, const FieldOptions& fields, std::string* error);

// The text of the item of combo `id` that `text` names (exactly, else without regard to
// case), "" for an empty text; nullopt with a reason naming `what` and the choices when none.
std::optional<std::string> ComboItemFor(const MemoryHost& host, int id, const char* what, const std::string& text,
                                        std::string* error);

}  // namespace morvi::cli
