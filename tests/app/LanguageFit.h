#pragma once
// Whether the texts of a window template fit their controls: each control's text, in the font
// the window gives it, against the control's rectangle at the template's size (less what the
// control draws besides its text: a button's edge, a check box's box, a frame's margin). A
// wrapping label must hold all its lines. Used by the language and the scale checks.

#include <span>
#include <string>
#include <vector>

#include <QFont>

#include "controls/DialogTemplate.h"

namespace morvi::test {

struct CutText {
    std::string text;
    int needed;     // pixels the text takes (height for a wrapping label)
    int room;       // pixels the control gives it
};

// The texts of `table` (in the language Text() speaks now) that do not fit, measured in `font`
// with the template placed by `units`.
std::vector<CutText> CutTemplateTexts(std::span<const DialogItem> table, const QFont& font, const DialogUnits& units);

// "text (needed > room)" lines, for a failure message.
std::string Describe(const std::vector<CutText>& cut);

}  // namespace morvi::test
