#include "dialog/DocumentTexts.h"

#include "dialog/ControlIds.h"

namespace morvi {

std::optional<DraftRefusal> DraftRefusalOf(const DocumentError& error) {
    switch (error.code) {
        case DocumentErrorCode::OffsetOutOfRange: return DraftRefusal{"偏移坐标不能大于255或者小于0!", IDC_POS_X};
        case DocumentErrorCode::DropTooHigh: return DraftRefusal{"掉宝数不能大于24!", IDC_DROP};
        case DocumentErrorCode::DropNegative: return DraftRefusal{"掉宝数不能小于0!", IDC_DROP};
        case DocumentErrorCode::NameNotEncodable: return DraftRefusal{"NPC名称含有无法保存的字符!", IDC_NAME};
        case DocumentErrorCode::NameTooLong: return DraftRefusal{"NPC名称不能超过33个字节!", IDC_NAME};
        case DocumentErrorCode::ScriptNotEncodable: return DraftRefusal{"脚本路径含有无法保存的字符!", IDC_SCRIPT};
        case DocumentErrorCode::ScriptTooLong: return DraftRefusal{"脚本路径不能超过255个字节!", IDC_SCRIPT};
        default: return std::nullopt;
    }
}

}  // namespace morvi
