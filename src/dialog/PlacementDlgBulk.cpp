// Bulk edit: one change stored in every selected placement, as one step of the history.

#include <algorithm>
#include <string>
#include <vector>

#include "data/text/GbkCodec.h"
#include "dialog/CPlacementDlg.h"
#include "dialog/DocumentTexts.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

constexpr size_t kNamedRefusals = 5;   // rows the hint names; the rest are counted

std::string FieldLabel(BulkFormField field) {
    switch (field) {
        case BulkFormField::Drop: return std::string(Text(TextId::LabelDrop));
        case BulkFormField::OffsetX: return std::string(Text(TextId::LabelOffsetX));
        case BulkFormField::OffsetY: return std::string(Text(TextId::LabelOffsetY));
        case BulkFormField::MoveX:
        case BulkFormField::MoveY: return std::string(Text(TextId::BulkEditMoveLabel));
    }
    return {};
}

}  // namespace

CPlacementDlg::BulkEditOutcome CPlacementDlg::OnBulkEdit(const BulkEditForm& form) {
    BulkEditOutcome outcome;
    const std::vector<int> selected = SelectedStoreRows();
    outcome.selected = static_cast<int>(selected.size());
    if (selected.empty()) {
        m_host.SetItemText(IDC_HINT, std::string(Text(TextId::BulkEditNoSelection)));
        return outcome;
    }
    const Expected<BulkEdit, BulkFormField> edit = BulkEditOfForm(form);
    if (!edit) {
        m_host.SetItemText(IDC_HINT, Format(TextId::BulkEditBadNumber, {FieldLabel(edit.error())}));
        return outcome;
    }
    if (!BulkFormSetsAnything(form)) {
        m_host.SetItemText(IDC_HINT, std::string(Text(TextId::BulkEditNothingSet)));
        return outcome;
    }
    // Names as the rows show them before the change, for the rows that cannot take it.
    std::vector<std::string> names;
    names.reserve(selected.size());
    for (int row : selected) names.push_back(Rows().CellText(row, COL_NAME));

    const Expected<BulkEditReport, DocumentError> done = [&] {
        // The list takes the changed rows in one step, the selection on its placements.
        RowBatch batch(*this);
        return Document().EditMany(selected, *edit);
    }();
    if (!done) {
        const DocumentError& error = done.error();
        outcome.error = error;
        const std::optional<DraftRefusal> refusal = DraftRefusalOf(error);
        m_host.SetItemText(IDC_HINT, refusal ? std::string(Text(refusal->hint))
                                             : std::string(Text(TextId::SaveFailed)));
        return outcome;
    }
    outcome.changed = done->changed;
    outcome.written = done->changed > 0;
    for (size_t i = 0; i < done->rows.size(); ++i) {
        const EditedRow& row = done->rows[i];
        if (!row.Changed()) {
            outcome.refused.push_back(i < names.size() ? names[i] : std::string());
        } else if (std::find(outcome.files.begin(), outcome.files.end(), row.ref.file) == outcome.files.end()) {
            outcome.files.push_back(row.ref.file);
        }
    }
    std::string hint = Format(TextId::BulkEditDone, {std::to_string(outcome.selected), std::to_string(outcome.changed)});
    if (!outcome.refused.empty()) {
        std::string list;
        for (size_t i = 0; i < std::min(outcome.refused.size(), kNamedRefusals); ++i)
            list += (i ? ", " : "") + outcome.refused[i];
        if (outcome.refused.size() > kNamedRefusals)
            list += Format(TextId::BulkEditMore, {std::to_string(outcome.refused.size() - kNamedRefusals)});
        hint += " " + Format(TextId::BulkEditRowsRefused, {std::to_string(outcome.refused.size()), list});
    }
    m_host.SetItemText(IDC_HINT, hint);
    if (outcome.written) ShowChangedSinceLoadHint();
    return outcome;
}

}  // namespace morvi
