#pragma once
// The dialog tests set up and observe the window's state directly (a search position, a mode,
// the remembered key) where no user action leads there quickly.

#include <string>

#include "data/text/GbkCodec.h"
#include "dialog/CPlacementDlg.h"
#include "data/text/IntegerText.h"
#include "document/NameTables.h"

namespace morvi {

struct PlacementDlgTestAccess {
#define MORVI_STATE(name, member) \
    static auto& name(CPlacementDlg& d) { return d.member; }
    MORVI_STATE(m_serverPath, m_serverPath)
    MORVI_STATE(m_debugMode, m_debugMode)
    MORVI_STATE(m_mapPaths, m_mapPaths)
    MORVI_STATE(m_editMode, m_session.mode)
    MORVI_STATE(m_curTemplate, m_session.templateIndex)
    MORVI_STATE(m_origTemplate, m_session.key.templateIndex)
    MORVI_STATE(m_origPosX, m_session.key.posX)
    MORVI_STATE(m_origPosY, m_session.key.posY)
    MORVI_STATE(m_origOffsetX, m_session.key.offsetX)
    MORVI_STATE(m_origOffsetY, m_session.key.offsetY)
    MORVI_STATE(m_editFile, m_session.file)
    MORVI_STATE(m_searchPos, m_searchPos)
    MORVI_STATE(m_editRow, m_session.row)
    MORVI_STATE(m_addTargetFile, m_addTargetFile)
#undef MORVI_STATE
};

using St = PlacementDlgTestAccess;

// Puts a placement that shows these texts at the top of the list, as a load would: numbers from
// the number columns (Y doubled), codes from the names, the drop count or the script path.
inline void InsertTopRowFromTexts(CPlacementDlg& dlg, const RowTexts& t) {
    PlacementRecord r;
    NpcPlacement& p = r.block;
    p.SetName(*Utf8ToGbk(t[COL_NAME]));
    p.SetPosX(static_cast<uint16_t>(LeadingNumberToInt(t[COL_POS_X])));
    p.offsetX = static_cast<uint8_t>(LeadingNumberToInt(t[COL_OFFSET_X]));
    p.SetPosYDoubled(static_cast<uint16_t>(LeadingNumberToInt(t[COL_POS_Y]) * 2));
    p.offsetY = static_cast<uint8_t>(LeadingNumberToInt(t[COL_OFFSET_Y]));
    p.npcType = static_cast<uint8_t>(CodeOfName(NpcTypeNames(), t[COL_TYPE]));
    p.npcGroup = static_cast<uint8_t>(CodeOfName(NpcGroupNames(), t[COL_GROUP]));
    p.npcSeries = static_cast<uint8_t>(CodeOfName(NpcSeriesNames(), t[COL_SERIES]));
    p.SetTemplateIndex(static_cast<uint16_t>(LeadingNumberToInt(t[COL_TEMPLATE])));
    p.marker = 1;
    const std::string script = *Utf8ToGbk(t[COL_SCRIPT]);
    if (script.size() > static_cast<size_t>(kMaxDropCount)) {
        p.dropCountOrScriptLength = static_cast<uint8_t>(script.size());
        p.variable = static_cast<uint8_t>(script[0]);
        r.script = script;
    } else {
        p.dropCountOrScriptLength = static_cast<uint8_t>(LeadingNumberToInt(t[COL_DROP]));
    }
    dlg.ShowPlacementRow(-1, p, r.script, t[COL_FILE]);
}

}  // namespace morvi
