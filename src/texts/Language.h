#pragma once
// The language the program's texts are shown in. The original texts of the table are the
// default; a translation replaces a text where it has one.
#include <cstdint>

namespace morvi {

enum class Language : std::uint8_t {
    Original,    // the table's own texts: the window's described texts, the command line's English
    English,
    Vietnamese,
    Chinese,
};

// The languages either window can be shown in, the original texts first. Checks that walk
// every language (a translation for every text, every label fits its control) walk this list.
inline constexpr Language kWindowLanguages[] = {Language::Original};

// Chooses the language of every later Text() and Format() (process-wide; set it from the
// thread that owns the windows, before the texts are read).
void SetLanguage(Language language);
Language CurrentLanguage();

}  // namespace morvi
