#include "document/PlacementFilter.h"

#include <array>
#include <bitset>
#include <charconv>
#include <cstring>
#include <optional>
#include <vector>

#include "data/text/GbkCodec.h"
#include "document/NameTables.h"
#include "document/PlacementRows.h"

namespace morvi {
namespace {

enum class Field { Bare, Name, Template, X, Y, OffsetX, OffsetY, Type, Group, Series, Drop, Script, File };

struct FieldName {
    std::string_view name;
    Field field;
};
constexpr std::array<FieldName, 12> kFields = {{
    {"name", Field::Name},     {"template", Field::Template}, {"x", Field::X},
    {"y", Field::Y},           {"ox", Field::OffsetX},        {"oy", Field::OffsetY},
    {"type", Field::Type},     {"group", Field::Group},       {"series", Field::Series},
    {"drop", Field::Drop},     {"script", Field::Script},     {"file", Field::File},
}};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCaseAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Code page 936 text folded for a comparison without regard to case: ASCII letters, and the
// double-byte full-width Latin, Greek and Cyrillic capitals, become their small letters; '\'
// becomes '/' so a path matches however its separators are typed. Only whole characters are
// folded (a trail byte that happens to be 'A' or '\' stays), and `starts` marks where each
// character begins, so a match never starts inside a double-byte character.
struct FoldedGbk {
    std::array<char, 320> bytes{};
    std::array<bool, 320> starts{};
    size_t size = 0;
};

void FoldGbk(std::string_view text, FoldedGbk& out) {
    const size_t n = std::min(text.size(), out.bytes.size());
    size_t i = 0;
    out.size = 0;
    while (i < n) {
        const uint8_t lead = static_cast<uint8_t>(text[i]);
        if (lead < 0x81 || lead == 0xFF || i + 1 >= n) {
            char c = LowerAscii(text[i]);
            if (c == '\\') c = '/';
            out.starts[out.size] = true;
            out.bytes[out.size++] = c;
            ++i;
            continue;
        }
        uint8_t trail = static_cast<uint8_t>(text[i + 1]);
        if (lead == 0xA3 && trail >= 0xC1 && trail <= 0xDA) trail = static_cast<uint8_t>(trail + 0x20);        // Ａ..Ｚ
        else if (lead == 0xA6 && trail >= 0xA1 && trail <= 0xB8) trail = static_cast<uint8_t>(trail + 0x20);   // Α..Ω
        else if (lead == 0xA7 && trail >= 0xA1 && trail <= 0xC1) trail = static_cast<uint8_t>(trail + 0x30);   // А..Я
        out.starts[out.size] = true;
        out.bytes[out.size++] = static_cast<char>(lead);
        out.starts[out.size] = false;
        out.bytes[out.size++] = static_cast<char>(trail);
        i += 2;
    }
}

std::string FoldedGbkText(std::string_view text) {
    FoldedGbk folded;
    FoldGbk(text, folded);
    return std::string(folded.bytes.data(), folded.size);
}

bool ContainsFoldedGbk(std::string_view haystack, std::string_view foldedNeedle) {
    if (foldedNeedle.empty()) return true;
    if (haystack.size() < foldedNeedle.size()) return false;
    FoldedGbk folded;
    FoldGbk(haystack, folded);
    if (folded.size < foldedNeedle.size()) return false;
    const char first = foldedNeedle[0];
    for (size_t at = 0; at + foldedNeedle.size() <= folded.size; ++at) {
        if (!folded.starts[at] || folded.bytes[at] != first) continue;
        if (std::memcmp(folded.bytes.data() + at, foldedNeedle.data(), foldedNeedle.size()) == 0) return true;
    }
    return false;
}

// A UTF-8 path folded the same way (ASCII letters, '\' as '/').
std::string FoldedPath(std::string_view path) {
    std::string out(path);
    for (char& c : out) {
        c = LowerAscii(c);
        if (c == '\\') c = '/';
    }
    return out;
}

std::optional<long long> ParseCount(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

struct Range {
    long long low = 0, high = 0;
};

// N or A-B, both non-negative decimals.
Expected<Range, FilterErrorCode> ParseRange(std::string_view value) {
    const size_t dash = value.find('-');
    if (dash == std::string_view::npos) {
        const std::optional<long long> n = ParseCount(value);
        if (!n) return MakeUnexpected(FilterErrorCode::BadNumber);
        return Range{*n, *n};
    }
    const std::optional<long long> a = ParseCount(value.substr(0, dash));
    const std::optional<long long> b = ParseCount(value.substr(dash + 1));
    if (!a || !b) return MakeUnexpected(FilterErrorCode::BadNumber);
    if (*a > *b) return MakeUnexpected(FilterErrorCode::BadRange);
    return Range{*a, *b};
}

struct Term {
    Field field = Field::Bare;
    Range range;                           // number fields
    std::bitset<256> codes;                // type, group, series: the codes that match
    enum class Script { Text, None, Any } script = Script::Text;
    bool empty = false;                    // name, file: "field:" with nothing after it
    std::optional<std::string> gbkNeedle;  // name, script, bare: folded code page 936 (nullopt: unencodable)
    std::string pathNeedle;                // file, bare: folded UTF-8
};

std::bitset<256> CodesNamed(std::span<const std::string_view> table, std::string_view text, bool& named) {
    std::bitset<256> codes;
    named = false;
    for (size_t i = 0; i < table.size(); ++i) {
        if (!EqualNoCaseAscii(table[i], text)) continue;
        named = true;
        // A code past the table's end shows entry 0, so it matches entry 0's text too.
        codes.set(i);
        if (i == 0)
            for (size_t code = table.size(); code < 256; ++code) codes.set(code);
    }
    return codes;
}

Expected<Term, FilterErrorCode> ParseTerm(std::string_view term) {
    Term t;
    const size_t colon = term.find(':');
    bool fieldTerm = colon != std::string_view::npos && colon > 0;
    for (size_t i = 0; fieldTerm && i < colon; ++i) {
        const char c = LowerAscii(term[i]);
        if (c < 'a' || c > 'z') fieldTerm = false;   // "\a:b" or "c:\x" is text, not a field
    }
    std::string_view value = term;
    if (fieldTerm) {
        const std::string_view name = term.substr(0, colon);
        value = term.substr(colon + 1);
        bool known = false;
        for (const FieldName& f : kFields)
            if (EqualNoCaseAscii(f.name, name)) {
                t.field = f.field;
                known = true;
            }
        if (!known) return MakeUnexpected(FilterErrorCode::UnknownField);
    }

    auto textNeedles = [&](bool gbk, bool path) {
        if (gbk) {
            const std::optional<std::string> encoded = Utf8ToGbk(value);
            if (encoded) t.gbkNeedle = FoldedGbkText(*encoded);
        }
        if (path) t.pathNeedle = FoldedPath(value);
    };
    switch (t.field) {
        case Field::Bare: textNeedles(true, true); break;
        case Field::Name:
            t.empty = value.empty();
            textNeedles(true, false);
            break;
        case Field::File:
            t.empty = value.empty();
            textNeedles(false, true);
            break;
        case Field::Script:
            if (value.empty()) t.script = Term::Script::None;
            else if (value == "*") t.script = Term::Script::Any;
            else textNeedles(true, false);
            break;
        case Field::Template:
        case Field::X:
        case Field::Y:
        case Field::OffsetX:
        case Field::OffsetY:
        case Field::Drop: {
            const Expected<Range, FilterErrorCode> range = ParseRange(value);
            if (!range) return MakeUnexpected(range.error());
            t.range = *range;
            break;
        }
        case Field::Type:
        case Field::Group:
        case Field::Series: {
            const std::span<const std::string_view> table = t.field == Field::Type    ? NpcTypeNames()
                                                            : t.field == Field::Group ? NpcGroupNames()
                                                                                      : NpcSeriesNames();
            bool named = false;
            t.codes = CodesNamed(table, value, named);
            if (named) break;
            // Not a shown text: a code, or a range of codes.
            const Expected<Range, FilterErrorCode> range = ParseRange(value);
            if (!range) return MakeUnexpected(range.error() == FilterErrorCode::BadRange ? FilterErrorCode::BadRange
                                                                                        : FilterErrorCode::UnknownName);
            if (range->high > 255) return MakeUnexpected(FilterErrorCode::UnknownName);
            for (long long code = range->low; code <= range->high; ++code) t.codes.set(static_cast<size_t>(code));
            break;
        }
    }
    return t;
}

bool InRange(const Range& r, long long v) { return v >= r.low && v <= r.high; }

// Which terms need what: the file's answer is the same for every row of one file.
bool FileMatches(const Term& t, std::string_view file) {
    if (t.empty) return file.empty();
    return FoldedPath(file).find(t.pathNeedle) != std::string::npos;
}

// `fileMatch`: how the term's file part came out for this row's file (asked only when needed).
template <class FileAnswer>
bool TermMatches(const Term& t, const NpcPlacement& p, std::string_view storedScript, FileAnswer&& fileMatch) {
    switch (t.field) {
        case Field::Template: return InRange(t.range, p.TemplateIndex());
        case Field::X: return InRange(t.range, p.PosX());
        case Field::Y: return InRange(t.range, p.PosY());
        case Field::OffsetX: return InRange(t.range, p.offsetX);
        case Field::OffsetY: return InRange(t.range, p.offsetY);
        case Field::Drop: return !p.HasScript() && InRange(t.range, p.dropCountOrScriptLength);
        case Field::Type: return t.codes.test(p.npcType);
        case Field::Group: return t.codes.test(p.npcGroup);
        case Field::Series: return t.codes.test(p.npcSeries);
        case Field::Name:
            if (t.empty) return p.Name().empty();
            return t.gbkNeedle && ContainsFoldedGbk(p.Name(), *t.gbkNeedle);
        case Field::Script: {
            const bool has = p.HasScript();
            switch (t.script) {
                case Term::Script::None: return !has;
                case Term::Script::Any: return has;
                case Term::Script::Text: break;
            }
            // The shown path ends at a zero byte a damaged path may hold.
            return has && t.gbkNeedle &&
                   ContainsFoldedGbk(storedScript.substr(0, storedScript.find('\0')), *t.gbkNeedle);
        }
        case Field::File: return fileMatch();
        case Field::Bare:
            if (t.gbkNeedle) {
                if (ContainsFoldedGbk(p.Name(), *t.gbkNeedle)) return true;
                if (p.HasScript() &&
                    ContainsFoldedGbk(storedScript.substr(0, storedScript.find('\0')), *t.gbkNeedle))
                    return true;
            }
            return fileMatch();
    }
    return false;
}

}  // namespace

struct PlacementFilter::Terms {
    std::vector<Term> terms;
    // Per region file of the store last asked about (by its interned id): 0 not known yet,
    // 1 no, 2 yes, for each term that looks at the file.
    mutable uint64_t cachedStore = 0;
    mutable std::vector<std::vector<uint8_t>> fileAnswers;   // [term][file id]
};

PlacementFilter::PlacementFilter() = default;
PlacementFilter::~PlacementFilter() = default;
PlacementFilter::PlacementFilter(const PlacementFilter& other)
    : m_terms(other.m_terms ? std::make_unique<Terms>(*other.m_terms) : nullptr) {}
PlacementFilter& PlacementFilter::operator=(const PlacementFilter& other) {
    if (this != &other) m_terms = other.m_terms ? std::make_unique<Terms>(*other.m_terms) : nullptr;
    return *this;
}
PlacementFilter::PlacementFilter(PlacementFilter&&) noexcept = default;
PlacementFilter& PlacementFilter::operator=(PlacementFilter&&) noexcept = default;

Expected<PlacementFilter, FilterError> PlacementFilter::Parse(std::string_view text) {
    PlacementFilter filter;
    auto terms = std::make_unique<Terms>();
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        const size_t begin = i;
        while (i < text.size() && !IsBlank(text[i])) ++i;
        if (begin == i) break;
        const std::string_view written = text.substr(begin, i - begin);
        Expected<Term, FilterErrorCode> term = ParseTerm(written);
        if (!term) return MakeUnexpected(FilterError{term.error(), std::string(written)});
        terms->terms.push_back(std::move(*term));
    }
    if (!terms->terms.empty()) filter.m_terms = std::move(terms);
    return filter;
}

bool PlacementFilter::Empty() const { return !m_terms || m_terms->terms.empty(); }

bool PlacementFilter::Matches(const PlacementRowStore& rows, int row) const {
    if (Empty()) return true;
    if (row < 0 || row >= rows.Count()) return false;
    const Terms& all = *m_terms;
    if (all.cachedStore != rows.Identity()) {
        all.cachedStore = rows.Identity();
        all.fileAnswers.assign(all.terms.size(), {});
    }
    const NpcPlacement p = rows.Block(row);
    const std::string_view script = p.HasScript() ? rows.StoredScript(row) : std::string_view();
    for (size_t k = 0; k < all.terms.size(); ++k) {
        const Term& t = all.terms[k];
        auto fileMatch = [&] {
            std::vector<uint8_t>& answers = all.fileAnswers[k];
            const uint32_t id = rows.FileId(row);
            if (id >= answers.size()) answers.resize(id + 1, 0);
            if (answers[id] == 0) answers[id] = FileMatches(t, rows.File(row)) ? 2 : 1;
            return answers[id] == 2;
        };
        if (!TermMatches(t, p, script, fileMatch)) return false;
    }
    return true;
}

bool PlacementFilter::Matches(const PlacementRecord& record, std::string_view file) const {
    return Matches(record.block, std::string_view(record.script), file);
}

bool PlacementFilter::Matches(const NpcPlacement& block, std::string_view storedScript, std::string_view file) const {
    if (Empty()) return true;
    const std::string_view script = block.HasScript() ? storedScript : std::string_view();
    for (const Term& t : m_terms->terms)
        if (!TermMatches(t, block, script, [&] { return FileMatches(t, file); })) return false;
    return true;
}

}  // namespace morvi
