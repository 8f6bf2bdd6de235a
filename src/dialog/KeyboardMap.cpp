#include "dialog/KeyboardMap.h"

#include <array>

#include "dialog/ControlIds.h"
#include "texts/ProgramTexts.h"

namespace morvi {

std::span<const KeyBinding> KeyboardMap() {
    static const std::array table{
        KeyBinding{WindowCommand::Save, "Ctrl+S", IDC_SAVE, false, TextId::KeySave},
        KeyBinding{WindowCommand::Delete, "Del", IDC_DELETE, true, TextId::KeyDelete},
        KeyBinding{WindowCommand::Add, "Ctrl+N", IDC_ADD, false, TextId::KeyAdd},
        KeyBinding{WindowCommand::FocusSearchName, "Ctrl+F", IDC_FIND_NAME, false, TextId::KeyFindName},
        KeyBinding{WindowCommand::FindNext, "F3", IDC_FIND_NEXT, false, TextId::KeyFindNext},
        KeyBinding{WindowCommand::ReloadMap, "F5", IDC_MAP_LIST, false, TextId::KeyReloadMap},
        KeyBinding{WindowCommand::Clone, "Ctrl+D", 0, false, TextId::MenuClone},
        KeyBinding{WindowCommand::MapView, "F4", 0, false, TextId::MenuMapView},
        // Only from the list: in a text field the keys keep undoing the typing.
        KeyBinding{WindowCommand::Undo, "Ctrl+Z", 0, true, TextId::MenuUndo},
        KeyBinding{WindowCommand::Redo, "Ctrl+Y", 0, true, TextId::MenuRedo},
        KeyBinding{WindowCommand::FindAll, "Ctrl+Shift+F", 0, false, TextId::FindAllMenu},
    };
    return table;
}

const char* KeyBinding::Description() const { return Text(text).data(); }

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
