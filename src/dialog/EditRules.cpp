#include "dialog/EditRules.h"

#include <cctype>
#include <climits>

#include "data/text/GbkCodec.h"
#include "data/text/IntegerText.h"
#include "data/server/ServerPath.h"
#include "dialog/CPlacementDlg.h"
#include "dialog/ControlIds.h"
#include "dialog/NameTables.h"

namespace morvi {
namespace {

constexpr int kMaxOffset = 255;
constexpr int kRandomOffsetRange = 255;   // a random offset runs from 0 to 254
constexpr size_t kMaxNameBytes = kNameFieldSize - 1;

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string Trimmed(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

EditRefusal Refusal(const char* hint, int focus) { return EditRefusal{hint, focus}; }

}  // namespace

std::variant<EditValues, EditRefusal> CheckEditFields(const EditFields& fields,
                                                      const RandomSource& nextRandom) {
    EditValues in;
    const int x = CoordinateTextToInt(fields.posX);
    const int y = CoordinateTextToInt(fields.posY);
    // Coordinates keep their low 16 bits; Y is stored doubled.
    in.posX = static_cast<uint16_t>(static_cast<uint32_t>(x));
    in.posYDoubled = static_cast<uint16_t>(static_cast<uint32_t>(y) * 2u);

    auto offset = [&](const std::string& text) {
        return text.empty() ? nextRandom() % kRandomOffsetRange : LeadingNumberToInt(text);
    };
    const int offsetX = offset(fields.offsetX);
    const int offsetY = offset(fields.offsetY);
    if (offsetX < 0 || offsetX > kMaxOffset || offsetY < 0 || offsetY > kMaxOffset)
        return Refusal("偏移坐标不能大于255或者小于0!", IDC_POS_X);
    in.offsetX = static_cast<uint8_t>(offsetX);
    in.offsetY = static_cast<uint8_t>(offsetY);

    in.dropEmpty = fields.drop.empty();
    in.drop = LeadingNumberToInt(fields.drop);
    if (!in.dropEmpty && in.drop > kMaxDropCount) return Refusal("掉宝数不能大于24!", IDC_DROP);
    // A negative count would be stored as a byte above 24 and turn the record into a script
    // record of that length.
    if (in.drop < 0) return Refusal("掉宝数不能小于0!", IDC_DROP);

    const std::optional<std::string> name = Utf8ToGbk(fields.name);
    if (!name) return Refusal("NPC名称含有无法保存的字符!", IDC_NAME);
    if (name->size() > kMaxNameBytes) return Refusal("NPC名称不能超过33个字节!", IDC_NAME);
    in.name = *name;

    in.keepScript = fields.keepScript;
    if (!fields.keepScript) {
        // Stored script paths use '\' and begin with one; a path typed without it gets one.
        std::string script = ToBackslashes(Trimmed(fields.script));
        if (!script.empty() && script[0] != '\\') script.insert(script.begin(), '\\');
        const std::optional<std::string> stored = Utf8ToGbk(script);
        if (!stored) return Refusal("脚本路径含有无法保存的字符!", IDC_SCRIPT);
        if (stored->size() > kMaxScriptLength) return Refusal("脚本路径不能超过255个字节!", IDC_SCRIPT);
        // A path of 24 bytes or fewer cannot be told from a drop count, so it is not stored.
        if (stored->size() > static_cast<size_t>(kMaxDropCount)) in.script = *stored;
    }

    in.keepType = fields.keepType;
    in.keepGroup = fields.keepGroup;
    in.keepSeries = fields.keepSeries;
    in.type = static_cast<uint8_t>(CodeOfName(NpcTypeNames(), fields.type));
    in.group = static_cast<uint8_t>(CodeOfName(NpcGroupNames(), fields.group));
    in.series = static_cast<uint8_t>(CodeOfName(NpcSeriesNames(), fields.series));
    return in;
}

void ApplyEditValues(PlacementRecord& record, const EditValues& in, int templateIndex,
                     EditPurpose purpose) {
    NpcPlacement& p = record.block;
    p.SetTemplateIndex(static_cast<uint16_t>(static_cast<uint32_t>(templateIndex)));
    p.offsetX = in.offsetX;
    p.SetPosX(in.posX);
    p.offsetY = in.offsetY;
    p.SetPosYDoubled(in.posYDoubled);
    p.SetName(in.name);
    p.marker = 1;
    if (!in.keepType) p.npcType = in.type;
    if (!in.keepGroup) p.npcGroup = in.group;
    if (!in.keepSeries) p.npcSeries = in.series;

    // A script left as it was keeps its stored bytes, whatever they are.
    if (in.keepScript && p.HasScript()) return;
    if (!in.script.empty()) {
        p.dropCountOrScriptLength = static_cast<uint8_t>(in.script.size());
        p.variable = static_cast<uint8_t>(in.script[0]);
        record.script = in.script;
        return;
    }
    // Modifying: an empty drop count gives 1 to an enemy (type 0) and 0 to every other type.
    const int drop = purpose == EditPurpose::Modify && in.dropEmpty ? (p.npcType == 0 ? 1 : 0) : in.drop;
    p.dropCountOrScriptLength = static_cast<uint8_t>(drop);
    record.script.clear();
}

std::optional<EditRefusal> BuildRecordFromFields(PlacementRecord& record, const EditFields& fields,
                                                 int templateIndex, EditPurpose purpose,
                                                 const RandomSource& nextRandom) {
    std::variant<EditValues, EditRefusal> checked = CheckEditFields(fields, nextRandom);
    if (EditRefusal* refusal = std::get_if<EditRefusal>(&checked)) return std::move(*refusal);
    ApplyEditValues(record, std::get<EditValues>(checked), templateIndex, purpose);
    return std::nullopt;
}

}  // namespace morvi
