#pragma once
// Checks a shown Windows dialog as a reader sees it: every text of a label, button, check box,
// frame and list heading fits its control in the control's own font (GetTextExtentPoint32
// against the client rectangle), and no two controls overlap. Usable from a thread that drives
// the window. Each problem is one line naming the control and the sizes.

#include <string>
#include <vector>

#include <windows.h>

namespace morvi::win32::test {

struct FitCheckOptions {
    // Controls whose texts change at run time (status lines): their texts are not measured.
    std::vector<int> changingTextIds;
    // The DPI the window is laid out for (0: the one the system gives it).
    UINT dpi = 0;
};

std::vector<std::string> CutTexts(HWND dialog, const FitCheckOptions& options = {});
std::vector<std::string> OverlappingControls(HWND dialog);

}  // namespace morvi::win32::test
