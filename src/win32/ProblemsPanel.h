#pragma once
// The problems panel on Windows: a tool window owned by the main window, docked along its
// right edge (its left edge, or below it, where the screen has no room there). It follows the
// main window while it stays docked; dragged away it floats, and dragged back within a few
// pixels of an edge it docks again. It shows ProblemsView's lines
// and forwards clicks and buttons; a timer takes in the worker's progress.

#include <memory>
#include <string>

#include <windows.h>

#include "dialog/ProblemsView.h"

namespace morvi {
class CPlacementDlg;
class DialogHost;
}

namespace morvi::win32 {

class ProblemsPanel {
public:
    static constexpr const wchar_t* kClassName = L"MorviProblems";
    // Child ids, for tests.
    enum : int { kCheckMapId = 1, kCheckAllId, kCancelId, kFixId, kLinesId, kStatusId, kProgressId };
    // Test seam: sent to the panel, answers the lines shown; with wParam = line + 1 it
    // activates that line (a click) and answers 1 when the row was selected.
    static constexpr UINT kLineCountMessage = WM_APP + 30;
    static constexpr UINT kActivateMessage = WM_APP + 31;

    ProblemsPanel(CPlacementDlg& dlg, DialogHost& host);
    ~ProblemsPanel();
    ProblemsPanel(const ProblemsPanel&) = delete;
    ProblemsPanel& operator=(const ProblemsPanel&) = delete;

    // Makes the window the first time (docked beside `owner`, the loaded map checked), shows it.
    void Show(HWND owner);
    // Shown or hidden: the system menu, the row menu and Ctrl+Shift+M toggle it.
    void Toggle(HWND owner);
    bool IsOpen() const { return m_hwnd != nullptr; }
    bool IsVisible() const { return m_hwnd && IsWindowVisible(m_hwnd); }
    HWND Window() const { return m_hwnd; }
    ProblemsView& View() { return *m_view; }
    // The owner moved or changed size: a docked panel moves with it.
    void FollowOwner();
    // Takes in what the view has new.
    void Refresh();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnSize(int width, int height);
    void OnCommand(int id);
    void Fill();
    void UpdateButtons();
    int CurrentLine() const;
    void Activate(int line);
    void Dock();

    std::unique_ptr<ProblemsView> m_view;
    HWND m_hwnd = nullptr;
    HWND m_owner = nullptr;
    HWND m_lines = nullptr;
    HWND m_status = nullptr;
    HWND m_progress = nullptr;
    HWND m_buttons[4] = {};
    HFONT m_font = nullptr;
    bool m_docked = true;
    DWORD m_lastFill = 0;   // tick of the last fill of the lines
};

}  // namespace morvi::win32
