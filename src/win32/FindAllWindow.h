#pragma once
// "在所有地图中查找" on Windows: a window of its own, owned by the main window and not modal,
// with the filter field, "查找" and "停止", an owner-data report list of the results and the
// status line of FindAllView. The search runs on the presenter's worker, which wakes the
// window with a posted message; a double-click (or Enter) on a result shows it in the main
// window.

#include <atomic>
#include <functional>
#include <string>

#include <windows.h>

#include "dialog/FindAllView.h"

namespace morvi::win32 {

class FindAllWindow {
public:
    struct StartArgs {
        std::string serverPath;
        int templateCount = 0;
    };
    using GetStartArgs = std::function<StartArgs()>;
    // Shows a result in the main window.
    using OpenResult = std::function<void(FindAllView& view, int row)>;

    static constexpr const wchar_t* kClassName = L"MorviFindAll";
    // Child ids.
    static constexpr int kFilterId = 1, kSearchId = 2, kStopId = 3, kResultsId = 4, kStatusId = 5;
    // The worker's wake.
    static constexpr UINT kTakeMessage = WM_APP + 30;
    // Test seams, sent to the window: the number of result rows, -1 while the search runs;
    // and the double-click of row wParam.
    static constexpr UINT kResultCountMessage = WM_APP + 31;
    static constexpr UINT kOpenRowMessage = WM_APP + 32;

    FindAllWindow(GetStartArgs args, OpenResult open);
    ~FindAllWindow();
    FindAllWindow(const FindAllWindow&) = delete;
    FindAllWindow& operator=(const FindAllWindow&) = delete;

    // Makes the window the first time (owned by `owner`), shows it and puts the focus on the
    // filter field.
    void Show(HWND owner);
    bool IsOpen() const { return m_hwnd != nullptr; }
    HWND Window() const { return m_hwnd; }
    // After a double-click: the status line says what became of it.
    void ShowStatus();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FilterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnSize(int width, int height);
    void Search();
    void TakeResults();
    bool OnNotify(NMHDR* header);

    GetStartArgs m_args;
    OpenResult m_open;
    std::atomic<HWND> m_wakeTarget{nullptr};   // read by the worker's wake (outlives m_view)
    FindAllView m_view;
    HWND m_hwnd = nullptr;
    HWND m_filter = nullptr, m_search = nullptr, m_stop = nullptr, m_results = nullptr, m_status = nullptr;
    HFONT m_font = nullptr;
    bool m_statusWarning = false;
    std::string m_cell;
    std::wstring m_wideCell;
};

}  // namespace morvi::win32
