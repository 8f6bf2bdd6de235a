#pragma once
// Qt's side of the window language: the translation of the window's texts as Qt Linguist built
// it (morvinpc_<code>.qm, from the same files as the text table) and Qt's own strings (the
// buttons of message boxes, the file dialogs) follow the chosen language.

#include "texts/Language.h"

namespace morvi {

// Replaces the translators an earlier call installed; the original texts install none.
// Returns false when the program's own translation of the language could not be loaded.
bool InstallTranslators(Language language);

}  // namespace morvi
