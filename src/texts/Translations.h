#pragma once
// The translations of the program's texts, generated at build time from the Qt Linguist files
// translations/morvinpc_<code>.ts (scripts/translations.py). Text() takes a text from here
// when the chosen language has it; these functions let checks walk the translations.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "texts/Language.h"
#include "texts/ProgramTexts.h"

namespace morvi {

// Which texts a language translates: the windows' (ids not named Cli...) or the command line's.
enum TextScope : unsigned { kWindowTexts = 1u << 0, kCliTexts = 1u << 1 };

struct TranslatedText {
    TextId id;
    const char* source;   // the original text the translation was made from
    const char* text;     // nullptr: unfinished
};

struct LanguageTable {
    Language language;
    const TranslatedText* entries;
    size_t count;
    unsigned scopes;      // TextScope bits the language must translate
};

// Every language with a translation file.
std::span<const LanguageTable> TranslationTables();

// The translation of `id`, nullptr when the language has none (the original text shows).
// A translation whose {} places differ from the original's is never used.
const char* TranslationOf(Language language, TextId id);

// The id's name in TextId ("LabelExit"), as the translation files name it.
std::string_view TextIdName(TextId id);
TextScope ScopeOf(TextId id);

// A text a window shows, put into another language: the text of the table (or of one of its
// patterns with {} places, their arguments carried over and put into the language as well)
// that `shown` is in `from`, as it reads in `to`. Texts no pattern explains stay as they are.
std::string RetranslateShown(std::string_view shown, Language from, Language to);

}  // namespace morvi
