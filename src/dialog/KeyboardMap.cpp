#include "dialog/KeyboardMap.h"

#include <array>

#include "dialog/ControlIds.h"

namespace morvi {

std::span<const KeyBinding> KeyboardMap() {
    static const std::array table{
        KeyBinding{WindowCommand::Save, "Ctrl+S", IDC_SAVE, false, "Luu"},
        KeyBinding{WindowCommand::Delete, "Del", IDC_DELETE, true, "Xoa"},
        KeyBinding{WindowCommand::Add, "Ctrl+N", IDC_ADD, false, "Them"},
        KeyBinding{WindowCommand::FocusSearchName, "Ctrl+F", IDC_FIND_NAME, false, "Ten NPC"},
        KeyBinding{WindowCommand::FindNext, "F3", IDC_FIND_NEXT, false, "Chi tim mot"},
        KeyBinding{WindowCommand::ReloadMap, "F5", IDC_MAP_LIST, false, "重新读取地图"},
        KeyBinding{WindowCommand::Clone, "Ctrl+D", 0, false, "复制为新NPC"},
        KeyBinding{WindowCommand::MapView, "F4", 0, false, "在地图上显示"},
        // Only from the list: in a text field the keys keep undoing the typing.
        KeyBinding{WindowCommand::Undo, "Ctrl+Z", 0, true, "撤销上一次修改"},
        KeyBinding{WindowCommand::Redo, "Ctrl+Y", 0, true, "重做撤销的修改"},
    };
    return table;
}

const KeyBinding* BindingOf(WindowCommand command) {
    for (const KeyBinding& binding : KeyboardMap())
        if (binding.command == command) return &binding;
    return nullptr;
}

const KeyBinding* BindingOfKeys(std::string_view keys) {
    for (const KeyBinding& binding : KeyboardMap())
        if (keys == binding.keys) return &binding;
    return nullptr;
}

std::string TooltipWithKey(std::string_view label, const KeyBinding& binding) {
    std::string text(label);
    text += " (";
    text += binding.keys;
    text += ')';
    return text;
}

}  // namespace morvi
