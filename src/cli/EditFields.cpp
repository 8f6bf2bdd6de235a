#include "cli/EditFields.h"

namespace morvi::cli {

std::optional<std::string> ComboItemFor(const MemoryHost& host, int id, const char* what, const std::string& text,
                                        std::string* error) {
    if (text.empty()) return std::string();
    const int index = host.FindComboText(id, text);
    if (index < 0) {
        std::string choices;
        for (int i = 0; i < host.ComboCount(id); ++i) choices += (i ? ", " : "") + host.ComboItemText(id, i);
        *error = std::string(what) + " \"" + text + "\" is not one of: " + choices;
        return std::nullopt;
    }
    return host.ComboItemText(id, index);
}

namespace {

bool SelectCombo(MemoryHost& host, int id, const char* what, const std::string& text, std::string* error) {
    if (text.empty()) {
        host.ComboSetSelection(id, -1);
        return true;
    }
    if (!ComboItemFor(host, id, what, text, error)) return false;
    host.ComboSetSelection(id, host.FindComboText(id, text));
    return true;
}

}  // namespace

bool FillEditArea(MemoryHost& host, const FieldOptions& f, std::string* error) {
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

}  // namespace morvi::cli
