#include "texts/ProgramTexts.h"

#include <atomic>

#include "texts/Language.h"

namespace morvi {

namespace {
std::atomic<Language> g_language{Language::Original};
}  // namespace

void SetLanguage(Language language) { g_language.store(language, std::memory_order_relaxed); }
Language CurrentLanguage() { return g_language.load(std::memory_order_relaxed); }

std::string_view Text(TextId id) {
    const size_t index = static_cast<size_t>(id);
    // Beyond the table: the empty text, still a C string (front ends pass data() on).
    return index < std::size(kProgramTexts) ? kProgramTexts[index].text : std::string_view("");
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
