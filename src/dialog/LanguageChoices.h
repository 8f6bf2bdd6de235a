#pragma once
// The entries of the "语言 / Language" menu both windows show in their system menu and row
// menu: each window language by its own name, in the order of kWindowLanguages.

#include <iterator>
#include <span>

#include "texts/Language.h"
#include "texts/ProgramTexts.h"

namespace morvi {

struct LanguageChoice {
    Language language;
    TextId name;
    const char* objectName;   // for the window tests
};

inline constexpr LanguageChoice kLanguageChoices[] = {
    {Language::Original, TextId::LanguageOriginal, "languageOriginal"},
    {Language::English, TextId::LanguageEnglish, "languageEnglish"},
    {Language::Vietnamese, TextId::LanguageVietnamese, "languageVietnamese"},
};
static_assert(std::size(kLanguageChoices) == std::size(kWindowLanguages), "one menu entry per window language");

}  // namespace morvi
