#pragma once
// Selection in the sorted drop-down lists of type, group and series by the beginning of a text,
// as a sorted combo box searches: an item index is never a code (codes go through the name
// tables), so a row's code text is matched against the item texts.

#include <string_view>

#include "dialog/DialogHost.h"

namespace morvi {

// Index of the first item, from the top, whose text begins with `prefix`, ASCII letters compared
// without regard to case; -1 when no item does or when `prefix` is empty (an empty text would
// otherwise pick the first item and silently turn a code without a name into another code).
int FindComboPrefix(const DialogHost& host, int comboId, std::string_view prefix);

// Selects the item FindComboPrefix finds, or none.
void ComboSelectPrefix(DialogHost& host, int comboId, std::string_view prefix);

}  // namespace morvi
