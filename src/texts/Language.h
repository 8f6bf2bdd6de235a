#pragma once
// The language the program's texts are shown in. The original texts of the table are the
// default; a translation replaces a text where it has one.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace morvi {

enum class Language : std::uint8_t {
    Original,    // the table's own texts: the window's described texts, the command line's English
    English,
    Vietnamese,
    Chinese,
};

// The languages either window can be shown in, the original texts first. Checks that walk
// every language (a translation for every text, every label fits its control) walk this list.
inline constexpr Language kWindowLanguages[] = {Language::Original, Language::English, Language::Vietnamese};
// The languages the command line speaks (its original texts are English).
inline constexpr Language kCommandLineLanguages[] = {Language::Original, Language::Vietnamese, Language::Chinese};

// Chooses the language of every later Text() and Format() (process-wide; set it from the
// thread that owns the windows, before the texts are read).
void SetLanguage(Language language);
Language CurrentLanguage();

// The language's code as MorviConfig.ini stores it ("en", "vi", "zh"; empty for the original
// texts) and back (nullopt for a code of no language the program has).
std::string_view LanguageCode(Language language);
std::optional<Language> LanguageOfCode(std::string_view code);

// The language a POSIX locale name chooses for the command line ("vi_VN.UTF-8" Vietnamese,
// "zh_CN" Chinese, anything else the original English).
Language CommandLineLanguageOfLocale(std::string_view locale);

}  // namespace morvi
