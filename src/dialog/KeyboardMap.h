#pragma once
// The main window's keyboard shortcuts, as one table both front ends install and show in the
// tooltips of the controls they stand for. Keys are written in the portable form "Ctrl+S".
// Enter and Escape are not in it: they keep their meaning (Enter does nothing, Escape closes).

#include <span>
#include <string>
#include <string_view>

#include "texts/ProgramTexts.h"

namespace morvi {

enum class WindowCommand {
    Save,              // "Luu"
    Delete,            // "Xoa", only while the placement list has the focus
    Add,               // "Them"
    FocusSearchName,   // the search name field
    FindNext,          // "Chi tim mot"
    ReloadMap,         // load the selected map again
    Clone,             // "复制为新NPC"
    MapView,           // "在地图上显示"
    Undo,              // take back the last change made from this window
    Redo,              // make the last undone change again
    FindAll,           // "在所有地图中查找"
};

struct KeyBinding {
    WindowCommand command;
    const char* keys;        // portable key text
    int controlId;           // control whose tooltip names the key; 0 when none
    bool listFocusOnly;      // only while the placement list has the keyboard focus
    TextId text;             // what the key does, for tooltips and menus
    // That text in the language chosen now.
    const char* Description() const;
};

std::span<const KeyBinding> KeyboardMap();
const KeyBinding* BindingOf(WindowCommand command);
// The binding whose key text equals `keys` ("Ctrl+S"), nullptr when none.
const KeyBinding* BindingOfKeys(std::string_view keys);

// Tooltip of a control that has a key: "Luu (Ctrl+S)".
std::string TooltipWithKey(std::string_view label, const KeyBinding& binding);

}  // namespace morvi
