#include "texts/Translations.h"

#include <array>
#include <iterator>
#include <vector>

// The generated tables: kTextIdNames and one array of TranslatedText per language (kTables).
#include "texts/TranslationTables.inc"

namespace morvi {
namespace {

constexpr size_t kTextCount = static_cast<size_t>(TextId::Count);
constexpr size_t kLanguageCount = static_cast<size_t>(Language::Chinese) + 1;
static_assert(std::size(translations::kTextIdNames) == kTextCount,
              "the generated id names follow TextId (the build regenerates them)");

using Lookup = std::array<std::array<const char*, kTextCount>, kLanguageCount>;

const Lookup& Translations() {
    static const Lookup lookup = [] {
        Lookup l{};
        for (const LanguageTable& table : translations::kTables) {
            for (size_t i = 0; i < table.count; ++i) {
                const TranslatedText& t = table.entries[i];
                const size_t id = static_cast<size_t>(t.id);
                // Format's compile-time check counts the original's places: a translation
                // with other places would leave arguments out or show a {}.
                if (id < kTextCount && t.text && PlaceCount(t.text) == PlaceCount(kProgramTexts[id].text))
                    l[static_cast<size_t>(table.language)][id] = t.text;
            }
        }
        return l;
    }();
    return lookup;
}

std::string_view TextIn(Language language, size_t id) {
    if (const char* t = TranslationOf(language, static_cast<TextId>(id))) return t;
    return kProgramTexts[id].text;
}

// Splits a pattern at its {} places.
std::vector<std::string_view> Pieces(std::string_view pattern) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (size_t at = pattern.find("{}"); at != std::string_view::npos; at = pattern.find("{}", start)) {
        pieces.push_back(pattern.substr(start, at - start));
        start = at + 2;
    }
    pieces.push_back(pattern.substr(start));
    return pieces;
}

// Matches `text` against the pieces from piece `k` on, at `pos`; the text between two pieces
// is an argument.
bool MatchFrom(const std::vector<std::string_view>& pieces, size_t k, std::string_view text, size_t pos,
               std::vector<std::string_view>& args) {
    if (k + 1 == pieces.size()) {
        // The last piece ends the text.
        const std::string_view last = pieces[k];
        if (text.size() < pos + last.size() || text.substr(text.size() - last.size()) != last) return false;
        args.push_back(text.substr(pos, text.size() - last.size() - pos));
        return true;
    }
    for (size_t at = text.find(pieces[k], pos); at != std::string_view::npos; at = text.find(pieces[k], at + 1)) {
        args.push_back(text.substr(pos, at - pos));
        if (MatchFrom(pieces, k + 1, text, at + pieces[k].size(), args)) return true;
        args.pop_back();
        if (pieces[k].empty()) break;
    }
    return false;
}

bool Matches(std::string_view pattern, std::string_view text, std::vector<std::string_view>& args) {
    const std::vector<std::string_view> pieces = Pieces(pattern);
    args.clear();
    if (pieces.size() == 1) return pattern == text;
    if (text.substr(0, pieces.front().size()) != pieces.front()) return false;
    return MatchFrom(pieces, 1, text, pieces.front().size(), args);
}

size_t LiteralWeight(std::string_view pattern) {
    size_t weight = 0;
    for (std::string_view piece : Pieces(pattern))
        for (char c : piece)
            if (c != ' ') ++weight;
    return weight;
}

std::string Retranslate(std::string_view shown, Language from, Language to, int depth) {
    size_t best = kTextCount, bestWeight = 0;
    std::vector<std::string_view> args, bestArgs;
    for (size_t id = 0; id < kTextCount; ++id) {
        const std::string_view pattern = TextIn(from, id);
        const size_t weight = LiteralWeight(pattern);
        // A pattern of places and blanks alone would explain any text.
        if (weight == 0 || weight <= bestWeight) continue;
        if (Matches(pattern, shown, args)) {
            best = id;
            bestWeight = weight;
            bestArgs = args;
        }
    }
    if (best == kTextCount) return std::string(shown);
    std::string out;
    size_t next = 0;
    const std::string_view pattern = TextIn(to, best);
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 2, "{}") == 0) {
            if (next < bestArgs.size())
                out += depth < 2 ? Retranslate(bestArgs[next], from, to, depth + 1) : std::string(bestArgs[next]);
            ++next;
            ++i;
            continue;
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace

std::span<const LanguageTable> TranslationTables() { return translations::kTables; }

const char* TranslationOf(Language language, TextId id) {
    const size_t index = static_cast<size_t>(id);
    const size_t lang = static_cast<size_t>(language);
    if (language == Language::Original || index >= kTextCount || lang >= kLanguageCount) return nullptr;
    return Translations()[lang][index];
}

std::string_view TextIdName(TextId id) {
    const size_t index = static_cast<size_t>(id);
    return index < kTextCount ? translations::kTextIdNames[index] : std::string_view();
}

TextScope ScopeOf(TextId id) {
    const std::string_view name = TextIdName(id);
    // CliHelpMap is the command line's; ClipboardBusy is the window's.
    const bool cli = name.size() > 3 && name.substr(0, 3) == "Cli" && name[3] >= 'A' && name[3] <= 'Z';
    return cli ? kCliTexts : kWindowTexts;
}

std::string RetranslateShown(std::string_view shown, Language from, Language to) {
    if (from == to || shown.empty()) return std::string(shown);
    return Retranslate(shown, from, to, 0);
}

}  // namespace morvi
