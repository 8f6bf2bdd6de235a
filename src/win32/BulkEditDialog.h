#pragma once
// "批量修改…" on Windows: a small modal dialog, built in memory, with the fields a bulk edit can
// set: type, group, series (each starting at "leave as is"), drop count, script path (or
// "clear script"), X and Y offsets (empty: leave as is) and a move by dX / dY. It only fills a
// BulkEditForm; the window logic decides what the form does.

#include <optional>

#include <windows.h>

#include "dialog/BulkEditForm.h"

namespace morvi::win32 {

class BulkEditDialog {
public:
    // Control ids, for the tests that fill the dialog as a user would.
    enum ControlId : int {
        kSelectedLabel = 200,
        kType,
        kGroup,
        kSeries,
        kDrop,
        kScript,
        kClearScript,
        kOffsetX,
        kOffsetY,
        kMoveX,
        kMoveY,
    };

    // Shows the dialog over `owner`; the form when the user pressed OK, nullopt otherwise.
    static std::optional<BulkEditForm> Run(HWND owner, int selectedRows);

    // The form as the dialog's controls hold it now.
    static BulkEditForm FormOf(HWND dialog);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace morvi::win32
