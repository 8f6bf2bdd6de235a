#pragma once
// The window's texts for the document's refusals of a draft: the hint line's text and the
// control that gets the focus.

#include <optional>

#include "document/DocumentError.h"
#include "document/PlacementFilter.h"
#include "texts/ProgramTexts.h"

namespace morvi {

struct DraftRefusal {
    TextId hint;
    int focus;   // control id
};

// nullopt for an error that is not about a field of the edit area.
std::optional<DraftRefusal> DraftRefusalOf(const DocumentError& error);

// The text naming a malformed term of a filter (its one {} is the term).
TextId FilterErrorText(FilterErrorCode code);

}  // namespace morvi
