#pragma once
// Dialog template 102: the main window's controls, in tab order, with their rectangles in
// dialog units.

#include <span>

#include "controls/DialogTemplate.h"

namespace morvi {

inline constexpr int kMainWidthDu = 479;
inline constexpr int kMainHeightDu = 324;

std::span<const DialogItem> MainWindowTemplate();

// Fixed texts of the main window that are ours to choose.
inline constexpr const char* kMainWindowTitle = "MorviNpc";
inline constexpr const char* kServerFrameCaption = "Thu muc Server";
inline constexpr const char* kContactText = "MorviNpc 1.0\nLien he qua\ntrang du an:";
inline constexpr const char* kHintPlaceholder = "Chon ban do o danh sach ben trai";
// Text of the About entry of the system menu (and of the context menu elsewhere).
inline constexpr const char* kAboutMenuText = "关于 MorviNpc(&A)...";

}  // namespace morvi
