#include "cli/EditFields.h"

namespace morvi::cli {
namespace {

bool SelectCombo(HeadlessHost& host, int id, const char* what, const std::string& text, std::string* error) {
    if (text.empty()) {
        host.ComboSetSelection(id, -1);
        return true;
    }
    const int index = host.FindComboText(id, text);
    if (index < 0) {
        std::string choices;
        for (int i = 0; i < host.ComboCount(id); ++i) choices += (i ? ", " : "") + host.ComboItemText(id, i);
        *error = std::string(what) + " \"" + text + "\" is not one of: " + choices;
        return false;
    }
    host.ComboSetSelection(id, index);
    return true;
}

}  // namespace

bool FillEditArea(HeadlessHost& host, const FieldOptions& f, std::string* error) {
    const struct {
        const std::optional<std::string>& value;
        int id;
    } edits[] = {{f.name, IDC_NAME},       {f.x, IDC_POS_X},     {f.y, IDC_POS_Y},
                 {f.offsetX, IDC_OFFSET_X}, {f.offsetY, IDC_OFFSET_Y}, {f.drop, IDC_DROP},
                 {f.script, IDC_SCRIPT}};
    for (const auto& e : edits)
        if (e.value) host.SetText(e.id, *e.value);
    if (f.type && !SelectCombo(host, IDC_TYPE, "type", *f.type, error)) return false;
    if (f.group && !SelectCombo(host, IDC_GROUP, "group", *f.group, error)) return false;
    if (f.series && !SelectCombo(host, IDC_SERIES, "series", *f.series, error)) return false;
    return true;
}

FieldOptions FieldsFromRow(const RowTexts& c) {
    FieldOptions f;
    f.name = c[COL_NAME];
    f.x = c[COL_POS_X];
    f.offsetX = c[COL_OFFSET_X];
    f.y = c[COL_POS_Y];
    f.offsetY = c[COL_OFFSET_Y];
    f.type = c[COL_TYPE];
    f.group = c[COL_GROUP];
    f.series = c[COL_SERIES];
    f.drop = c[COL_DROP];
    f.script = c[COL_SCRIPT];
    return f;
}

std::string HintSince(const HeadlessHost& host, size_t hintsBefore) {
    const auto& hints = host.HintHistory();
    return hints.size() > hintsBefore ? hints.back() : std::string();
}

}  // namespace morvi::cli
