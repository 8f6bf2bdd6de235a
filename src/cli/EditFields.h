#pragma once
// Filling the window's edit area from command-line values: edits take the text as typed,
// combos select the item with that text (an empty text selects none, as after a reset).

#include <string>

#include "cli/Commands.h"
#include "cli/HeadlessHost.h"
#include "dialog/DialogHost.h"

namespace morvi::cli {

// False with a reason when a combo text names no item of its combo.
bool FillEditArea(HeadlessHost& host, const FieldOptions& fields, std::string* error);

// The fields a list row shows, for saving a row's texts through the edit area.
FieldOptions FieldsFromRow(const RowTexts& cells);

// The hint the window left during an operation: the last one set after `hintsBefore` hints.
std::string HintSince(const HeadlessHost& host, size_t hintsBefore);

}  // namespace morvi::cli
