#include "texts/ProgramTexts.h"

#include <atomic>

#include "texts/Language.h"
#include "texts/Translations.h"

namespace morvi {

namespace {
std::atomic<Language> g_language{Language::Original};
}  // namespace

void SetLanguage(Language language) { g_language.store(language, std::memory_order_relaxed); }
Language CurrentLanguage() { return g_language.load(std::memory_order_relaxed); }

namespace {
struct LanguageCodeEntry {
    Language language;
    std::string_view code;
};
constexpr LanguageCodeEntry kLanguageCodes[] = {
    {Language::Original, ""}, {Language::English, "en"}, {Language::Vietnamese, "vi"}, {Language::Chinese, "zh"}};
}  // namespace

std::string_view LanguageCode(Language language) {
    for (const LanguageCodeEntry& e : kLanguageCodes)
        if (e.language == language) return e.code;
    return {};
}

std::optional<Language> LanguageOfCode(std::string_view code) {
    for (const LanguageCodeEntry& e : kLanguageCodes)
        if (e.code == code) return e.language;
    return std::nullopt;
}

Language CommandLineLanguageOfLocale(std::string_view locale) {
    // language[_territory][.codeset][@modifier]: only the language part chooses.
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@-"));
    if (language == "vi") return Language::Vietnamese;
    if (language == "zh") return Language::Chinese;
    return Language::Original;
}

std::string_view Text(TextId id) {
    const size_t index = static_cast<size_t>(id);
    // Beyond the table: the empty text, still a C string (front ends pass data() on).
    if (index >= std::size(kProgramTexts)) return std::string_view("");
    if (const char* translated = TranslationOf(CurrentLanguage(), id)) return translated;
    return kProgramTexts[index].text;
}

std::string FormatArgs(TextId id, std::span<const std::string_view> args) {
    const std::string_view pattern = Text(id);
    std::string out;
    out.reserve(pattern.size() + 16);
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '{' && i + 1 < pattern.size() && pattern[i + 1] == '}') {
            if (next != args.end()) out.append(*next++);
            ++i;
            continue;
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace morvi
