#include "document/PlacementDraft.h"

#include <cctype>

#include "data/server/ServerPath.h"
#include "data/text/GbkCodec.h"

namespace morvi {
namespace {

constexpr int kMaxOffset = 255;
constexpr int kRandomOffsetRange = 255;   // a random offset runs from 0 to 254
constexpr size_t kMaxNameBytes = kNameFieldSize - 1;
constexpr int kMaxCode = 255;

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string Trimmed(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

Unexpected<DocumentError> Refused(DocumentErrorCode code, PlacementField field) {
    DocumentError error;
    error.code = code;
    error.field = field;
    return MakeUnexpected(std::move(error));
}

uint16_t Low16(int v) { return static_cast<uint16_t>(static_cast<uint32_t>(v)); }

}  // namespace

Expected<CheckedDraft, DocumentError> CheckDraft(const PlacementDraft& draft, const RandomSource& random) {
    CheckedDraft out;
    if (draft.templateIndex) out.templateIndex = Low16(*draft.templateIndex);
    if (draft.posX) out.posX = Low16(*draft.posX);
    if (draft.posY) out.posYDoubled = static_cast<uint16_t>(static_cast<uint32_t>(*draft.posY) * 2u);

    // Both offsets are drawn before either is checked, x first.
    auto resolve = [&](const OffsetChoice& choice) -> std::optional<int> {
        switch (choice.kind) {
            case OffsetChoice::Kind::Unset: return std::nullopt;
            case OffsetChoice::Kind::Value: return choice.value;
            case OffsetChoice::Kind::Random: return random() % kRandomOffsetRange;
        }
        return std::nullopt;
    };
    const std::optional<int> offsetX = resolve(draft.offsetX);
    const std::optional<int> offsetY = resolve(draft.offsetY);
    if (offsetX && (*offsetX < 0 || *offsetX > kMaxOffset))
        return Refused(DocumentErrorCode::OffsetOutOfRange, PlacementField::OffsetX);
    if (offsetY && (*offsetY < 0 || *offsetY > kMaxOffset))
        return Refused(DocumentErrorCode::OffsetOutOfRange, PlacementField::OffsetY);
    if (offsetX) out.offsetX = static_cast<uint8_t>(*offsetX);
    if (offsetY) out.offsetY = static_cast<uint8_t>(*offsetY);

    out.drop = draft.drop;
    if (draft.drop.kind == DropChoice::Kind::Value) {
        if (draft.drop.value > kMaxDropCount) return Refused(DocumentErrorCode::DropTooHigh, PlacementField::Drop);
        // A negative count would be stored as a byte above 24 and turn the record into a script
        // record of that length.
        if (draft.drop.value < 0) return Refused(DocumentErrorCode::DropNegative, PlacementField::Drop);
    }

    if (draft.name) {
        const std::optional<std::string> name = Utf8ToGbk(*draft.name);
        if (!name) return Refused(DocumentErrorCode::NameNotEncodable, PlacementField::Name);
        if (name->size() > kMaxNameBytes) return Refused(DocumentErrorCode::NameTooLong, PlacementField::Name);
        out.name = *name;
    }

    if (draft.script) {
        // Stored script paths use '\' and begin with one; a path given without it gets one.
        std::string script = ToBackslashes(Trimmed(*draft.script));
        if (!script.empty() && script[0] != '\\') script.insert(script.begin(), '\\');
        const std::optional<std::string> stored = Utf8ToGbk(script);
        if (!stored) return Refused(DocumentErrorCode::ScriptNotEncodable, PlacementField::Script);
        if (stored->size() > kMaxScriptLength) return Refused(DocumentErrorCode::ScriptTooLong, PlacementField::Script);
        // A path of 24 bytes or fewer cannot be told from a drop count: no script is stored.
        out.script = stored->size() > static_cast<size_t>(kMaxDropCount) ? *stored : std::string();
    }

    if (draft.storedScript) {
        if (draft.storedScript->size() > kMaxScriptLength)
            return Refused(DocumentErrorCode::ScriptTooLong, PlacementField::Script);
        out.script = draft.storedScript->size() > static_cast<size_t>(kMaxDropCount) ? *draft.storedScript
                                                                                     : std::string();
    }

    auto code = [](const std::optional<int>& value, std::optional<uint8_t>& to) {
        if (!value) return true;
        if (*value < 0 || *value > kMaxCode) return false;
        to = static_cast<uint8_t>(*value);
        return true;
    };
    if (!code(draft.type, out.type)) return Refused(DocumentErrorCode::CodeOutOfRange, PlacementField::Type);
    if (!code(draft.group, out.group)) return Refused(DocumentErrorCode::CodeOutOfRange, PlacementField::Group);
    if (!code(draft.series, out.series)) return Refused(DocumentErrorCode::CodeOutOfRange, PlacementField::Series);
    return out;
}

void ApplyDraft(PlacementRecord& record, const CheckedDraft& in) {
    NpcPlacement& p = record.block;
    if (in.templateIndex) p.SetTemplateIndex(*in.templateIndex);
    if (in.offsetX) p.offsetX = *in.offsetX;
    if (in.posX) p.SetPosX(*in.posX);
    if (in.offsetY) p.offsetY = *in.offsetY;
    if (in.posYDoubled) p.SetPosYDoubled(*in.posYDoubled);
    if (in.name) p.SetName(*in.name);
    p.marker = 1;
    if (in.type) p.npcType = *in.type;
    if (in.group) p.npcGroup = *in.group;
    if (in.series) p.npcSeries = *in.series;

    const bool hadScript = p.HasScript();
    if (in.script && !in.script->empty()) {
        p.dropCountOrScriptLength = static_cast<uint8_t>(in.script->size());
        p.variable = static_cast<uint8_t>((*in.script)[0]);
        record.script = *in.script;
        return;
    }
    // No script asked for: a script record keeps its path (a drop count has no place in it),
    // a record without script keeps its drop count unless one is asked for.
    if (!in.script && (hadScript || !in.drop.IsSet())) return;

    const int typeDefault = p.npcType == 0 ? 1 : 0;
    int drop = 0;
    switch (in.drop.kind) {
        case DropChoice::Kind::Value: drop = in.drop.value; break;
        case DropChoice::Kind::TypeDefault: drop = typeDefault; break;
        // The script was taken away and no count given: a script length is no drop count.
        case DropChoice::Kind::Unset: drop = hadScript ? typeDefault : p.dropCountOrScriptLength; break;
    }
    p.dropCountOrScriptLength = static_cast<uint8_t>(drop);
    record.script.clear();
}

}  // namespace morvi
