#include "dialog/BulkEditForm.h"

#include <charconv>

namespace morvi {
namespace {

// A whole decimal number, a sign allowed; blanks around it are ignored.
std::optional<int> WholeNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::vector<std::pair<int, std::string>> BulkEditChoices(std::span<const std::string_view> names) {
    std::vector<std::pair<int, std::string>> choices;
    for (size_t code = 0; code < names.size(); ++code)
        choices.emplace_back(static_cast<int>(code), names[code].empty() ? std::to_string(code) : std::string(names[code]));
    return choices;
}

Expected<BulkEdit, BulkFormField> BulkEditOfForm(const BulkEditForm& form) {
    BulkEdit edit;
    edit.type = form.type;
    edit.group = form.group;
    edit.series = form.series;
    // The empty path is the record without script; an empty field is "leave as is".
    edit.script = form.clearScript ? std::optional<std::string>(std::string()) : form.script;
    if (form.drop) {
        const std::optional<int> drop = WholeNumber(*form.drop);
        if (!drop) return MakeUnexpected(BulkFormField::Drop);
        edit.drop = DropChoice::Of(*drop);
    }
    const std::pair<const std::optional<std::string>*, std::pair<OffsetChoice*, BulkFormField>> offsets[] = {
        {&form.offsetX, {&edit.offsetX, BulkFormField::OffsetX}},
        {&form.offsetY, {&edit.offsetY, BulkFormField::OffsetY}},
    };
    for (const auto& [text, target] : offsets) {
        if (!*text) continue;
        const std::optional<int> value = WholeNumber(**text);
        if (!value) return MakeUnexpected(target.second);
        *target.first = OffsetChoice::Of(*value);
    }
    const std::pair<const std::string*, std::pair<int*, BulkFormField>> moves[] = {
        {&form.moveX, {&edit.moveX, BulkFormField::MoveX}},
        {&form.moveY, {&edit.moveY, BulkFormField::MoveY}},
    };
    for (const auto& [text, target] : moves) {
        if (text->find_first_not_of(' ') == std::string::npos) continue;
        const std::optional<int> value = WholeNumber(*text);
        if (!value) return MakeUnexpected(target.second);
        *target.first = *value;
    }
    return edit;
}

bool BulkFormSetsAnything(const BulkEditForm& form) {
    const Expected<BulkEdit, BulkFormField> edit = BulkEditOfForm(form);
    if (!edit) return true;   // a bad number is something the user set
    return edit->type || edit->group || edit->series || edit->script || edit->drop.IsSet() ||
           edit->offsetX.IsSet() || edit->offsetY.IsSet() || edit->moveX != 0 || edit->moveY != 0;
}

}  // namespace morvi
