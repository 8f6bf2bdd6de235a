#include "dialog/KeyboardMap.h"

#include <array>

#include "dialog/ControlIds.h"
#include "texts/ProgramTexts.h"

namespace morvi {

std::span<const KeyBinding> KeyboardMap() {
    static const std::array table{
        KeyBinding{WindowCommand::Save, "Ctrl+S", IDC_SAVE, false, Text(TextId::KeySave).data()},
        KeyBinding{WindowCommand::Delete, "Del", IDC_DELETE, true, Text(TextId::KeyDelete).data()},
        KeyBinding{WindowCommand::Add, "Ctrl+N", IDC_ADD, false, Text(TextId::KeyAdd).data()},
        KeyBinding{WindowCommand::FocusSearchName, "Ctrl+F", IDC_FIND_NAME, false, Text(TextId::KeyFindName).data()},
        KeyBinding{WindowCommand::FindNext, "F3", IDC_FIND_NEXT, false, Text(TextId::KeyFindNext).data()},
        KeyBinding{WindowCommand::ReloadMap, "F5", IDC_MAP_LIST, false, Text(TextId::KeyReloadMap).data()},
        KeyBinding{WindowCommand::Clone, "Ctrl+D", 0, false, Text(TextId::MenuClone).data()},
        KeyBinding{WindowCommand::MapView, "F4", 0, false, Text(TextId::MenuMapView).data()},
        // Only from the list: in a text field the keys keep undoing the typing.
        KeyBinding{WindowCommand::Undo, "Ctrl+Z", 0, true, Text(TextId::MenuUndo).data()},
        KeyBinding{WindowCommand::Redo, "Ctrl+Y", 0, true, Text(TextId::MenuRedo).data()},
        KeyBinding{WindowCommand::FindAll, "Ctrl+Shift+F", 0, false, Text(TextId::FindAllMenu).data()},
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
