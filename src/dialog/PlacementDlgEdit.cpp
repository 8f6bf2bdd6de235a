// The editing workflow of the main window: what the edit area holds (nothing, an existing
// placement being modified, or a new placement being composed) and what the save button does.
// No control is ever disabled; the state only decides what each handler does.

#include <string>

#include "dialog/CPlacementDlg.h"
#include "dialog/ComboHelpers.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

// Edit fields filled from the row's columns by BeginEdit and emptied by ResetEditArea.
struct FieldColumn {
    int field;
    int column;
};
constexpr FieldColumn kEditFields[] = {
    {IDC_NAME, COL_NAME},         {IDC_POS_X, COL_POS_X},   {IDC_OFFSET_X, COL_OFFSET_X},
    {IDC_POS_Y, COL_POS_Y},       {IDC_OFFSET_Y, COL_OFFSET_Y}, {IDC_DROP, COL_DROP},
    {IDC_SCRIPT, COL_SCRIPT},
};
constexpr FieldColumn kCodeCombos[] = {
    {IDC_TYPE, COL_TYPE}, {IDC_GROUP, COL_GROUP}, {IDC_SERIES, COL_SERIES},
};

std::string T(TextId id) { return std::string(Text(id)); }

}  // namespace

void CPlacementDlg::ResetEditArea() {
    // The key's file stays; the template numbers are zeroed.
    m_session.key.templateIndex = 0;
    m_session.templateIndex = 0;
    m_session.mode = EDIT_IDLE;
    m_session.row = -1;
    m_session.baseline = EditBaseline{};
    m_session.clone.reset();
    for (const FieldColumn& f : kEditFields) m_host.SetItemText(f.field, std::string());
    for (const FieldColumn& c : kCodeCombos) m_host.ComboSetSelection(c.field, -1);
}

void CPlacementDlg::BeginEdit() {
    PlacementListHost& list = m_host.Placements();
    // After a search the row to edit is the one the last search found, even when earlier hits
    // are still selected; otherwise the first selected row from the top.
    const int start = m_searchPos < 0 ? 0 : m_searchPos;
    int shown = list.NextSelectedRow(start - 1);
    if (shown < 0) shown = list.NextSelectedRow(-1);
    // The list row leads to its placement, wherever a sort put it.
    const int row = m_view.StoreRow(shown);
    if (row < 0) {
        // Loading nothing would leave an empty key and a save that can never find its record.
        m_host.SetItemText(IDC_HINT, T(TextId::SelectRowFirst));
        return;
    }

    if (!MayDiscardNewPlacement()) return;

    m_session.mode = EDIT_MODIFY;
    if (m_searchPos == -1) m_searchPos = 0;
    m_session.clone.reset();
    LoadRowIntoEditArea(row);
}

void CPlacementDlg::LoadRowIntoEditArea(int row) {
    // The key by which the save finds the record again, from the row's own placement.
    const PlacementRowStore& rows = Rows();
    const NpcPlacement p = rows.Block(row);
    m_session.key = PlacementKey{p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
    m_session.templateIndex = m_session.key.templateIndex;

    for (const FieldColumn& f : kEditFields) m_host.SetItemText(f.field, rows.CellText(row, f.column));
    m_session.file = rows.File(row);
    m_session.row = row;
    for (const FieldColumn& c : kCodeCombos) ComboSelectPrefix(m_host, c.field, rows.CellText(row, c.column));

    // What the fields hold now; a save keeps the record's own value where they still do.
    EditBaseline& base = m_session.baseline;
    base.valid = true;
    base.typeSelection = m_host.ComboSelection(IDC_TYPE);
    base.groupSelection = m_host.ComboSelection(IDC_GROUP);
    base.seriesSelection = m_host.ComboSelection(IDC_SERIES);
    base.script = m_host.ItemText(IDC_SCRIPT);
    base.storedScript = std::string(rows.StoredScript(row));
    base.type = p.npcType;
    base.group = p.npcGroup;
    base.series = p.npcSeries;
}

bool CPlacementDlg::MayDiscardNewPlacement() {
    return m_session.mode != EDIT_ADD ||
           m_host.ShowMessage(T(TextId::DropNewPlacementQuestion), T(TextId::NoticeCaption), MessageButtons::YesNo,
                              MessageIcon::Question) ==
               MessageAnswer::Yes;
}

void CPlacementDlg::ShowNewPlacementHint() { m_host.SetItemText(IDC_HINT, T(TextId::TemplateTaken)); }

void CPlacementDlg::OnListDblClk() { BeginEdit(); }

void CPlacementDlg::OnModify() { BeginEdit(); }

void CPlacementDlg::OnAdd() {
    if (m_session.mode == EDIT_MODIFY) {
        m_host.SetItemText(IDC_HINT, T(TextId::PreviousEditOpen));
        return;
    }
    // "Them" starts a placement of the template list's own: a clone begun before it no longer
    // decides the file or the kept codes.
    if (m_session.clone) {
        m_session.clone.reset();
        m_session.baseline = EditBaseline{};
    }
    const int p = m_host.ListBoxSelection(IDC_TEMPLATE_LIST);
    if (p < 0) {
        m_host.SetItemText(IDC_HINT, T(TextId::ChooseTemplate));
        m_session.templateIndex = 0;
        m_session.key.templateIndex = 0;
        return;
    }
    m_host.SetItemText(IDC_NAME, m_host.ListBoxText(IDC_TEMPLATE_LIST, p));
    // Entry p is line p + 1 of the template table (line 0 is its header); the button stores
    // the line number, a double click the entry's position.
    m_session.templateIndex = p + 1;
    m_host.SetItemText(IDC_HINT, T(TextId::TemplateTaken));
    m_session.mode = EDIT_ADD;
}

void CPlacementDlg::OnTemplateDblClk() {
    const int p = m_host.ListBoxSelection(IDC_TEMPLATE_LIST);
    if (m_session.mode == EDIT_MODIFY) {
        if (p < 0) {
            // Zeroing the template here would rewrite the placement being modified with
            // template 0 on the next save; the hint alone is enough.
            m_host.SetItemText(IDC_HINT, T(TextId::ChooseTemplate));
            return;
        }
        m_host.SetItemText(IDC_NAME, m_host.ListBoxText(IDC_TEMPLATE_LIST, p));
        m_session.templateIndex = p;
        return;
    }
    if (p < 0) {
        m_host.SetItemText(IDC_HINT, T(TextId::ChooseTemplate));
        m_session.templateIndex = 0;
        return;
    }
    m_host.SetItemText(IDC_NAME, m_host.ListBoxText(IDC_TEMPLATE_LIST, p));
    m_session.templateIndex = p;
    m_host.SetItemText(IDC_HINT, T(TextId::TemplateTaken));
    m_session.mode = EDIT_ADD;
}

void CPlacementDlg::OnExchange() {
    if (m_session.mode != EDIT_MODIFY) return;
    const int p = m_host.ListBoxSelection(IDC_TEMPLATE_LIST);
    if (p < 0) return;
    m_host.SetItemText(IDC_NAME, m_host.ListBoxText(IDC_TEMPLATE_LIST, p));
    m_session.templateIndex = p;
}

void CPlacementDlg::OnCancelEdit() { ResetEditArea(); }

SaveOutcome CPlacementDlg::OnSave() {
    if (m_session.mode == EDIT_MODIFY) return ModifyPlacement();
    if (m_session.mode == EDIT_ADD) return AddPlacement();
    SaveOutcome idle;
    idle.why = SaveOutcome::Why::Idle;
    return idle;
}

void CPlacementDlg::OnListClick() {
    if (!m_debugMode) return;
    const int row = m_view.StoreRow(m_host.Placements().NextSelectedRow(-1));
    m_host.SetItemText(IDC_FRAME, Format(TextId::DebugModeCaption, {row < 0 ? std::string() : Rows().File(row)}));
}

void CPlacementDlg::OnTemplateSetFocus() {
    m_host.SetItemText(IDC_HINT, T(TextId::TemplateListHint));
}

void CPlacementDlg::OnListSetFocus() { m_host.SetItemText(IDC_HINT, T(TextId::PlacementListHint)); }

void CPlacementDlg::OnGroupSetFocus() {
    m_host.SetItemText(IDC_HINT, T(TextId::GroupHint));
}

}  // namespace morvi
